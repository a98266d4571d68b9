// For scripts/screenshot.sh: opens the Qt batch window, converts SITE into
// DESTINATION through its 実行 button (answering the folder question with
// Yes), and saves the window's picture once the batch has ended.
//   gui_batch_shot SITE DESTINATION PICTURE

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "app/application.hpp"
#include "app/batch_widget.hpp"
#include "app/path_edit.hpp"

namespace {

class ShotWidget : public k2v::BatchWidget {
 public:
  using BatchWidget::BatchWidget;
  k2v::MessageAnswer ShowMessage(const k2v::MessageBoxContent&) override { return k2v::MessageAnswer::Yes; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) return 2;
  k2v::SetUpApplication(app);
  ShotWidget batch(k2v::BatchWindowSetup{});
  batch.show();
  batch.SourceRoot->setText(QString::fromLocal8Bit(argv[1]));
  batch.DestinationRoot->setText(QString::fromLocal8Bit(argv[2]));
  batch.Execute->click();
  const QString picture = QString::fromLocal8Bit(argv[3]);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (batch.Model().Running()) return;
    poll.stop();
    // The last rows drawn, then the picture.
    QTimer::singleShot(500, [&] { QApplication::exit(batch.grab().save(picture) ? 0 : 1); });
  });
  poll.start(100);
  return QApplication::exec();
}
