// For scripts/screenshot.sh: opens the window as kolbrix2vantor-gui does,
// converts a source folder into a destination folder through its controls,
// and saves the picture of each message box the run shows into the next of
// the PNG files given, answering it with Yes (or OK). Ends after the last one.
//   gui_message_box_shot SOURCE DESTINATION RADUDI SYSTEM-DIR PICTURE.png...

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>

#include "app/application.hpp"
#include "app/form1_widget.hpp"
#include "app/path_edit.hpp"
#include "platform/arguments.hpp"
#include "window/window_options.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  if (args.size() < 5) return 2;
  QApplication app(argc, argv);
  k2v::SetUpApplication(app);

  // As kolbrix2vantor-gui --radudi RADUDI --system-dir SYSTEM-DIR opens it.
  k2v::Form1Widget window(k2v::ReadWindowCommand({"--radudi", args[2], "--system-dir", args[3]}).setup);
  if (!window.Model().Form_Load()) return 1;
  window.show();

  std::deque<QString> pictures;
  for (size_t i = 4; i < args.size(); ++i) pictures.push_back(QString::fromStdString(args[i]));
  // A box is pictured once it has been drawn, then answered.
  QTimer boxes;
  QObject::connect(&boxes, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box || !box->isVisible() || box->property("pictured").toBool() || pictures.empty()) continue;
      box->setProperty("pictured", true);
      QTimer::singleShot(500, box, [&, box] {
        box->grab().save(pictures.front());
        pictures.pop_front();
        QAbstractButton* answer = box->button(QMessageBox::Yes);
        (answer ? answer : box->button(QMessageBox::Ok))->click();
        if (pictures.empty()) QTimer::singleShot(200, &app, &QApplication::quit);
      });
    }
  });
  boxes.start(50);
  QTimer::singleShot(500, &window, [&] {
    window.Text2->setText(QString::fromStdString(args[0]));
    window.Text1->setText(QString::fromStdString(args[1]));
    window.Command1->click();
  });
  return QApplication::exec();
}
