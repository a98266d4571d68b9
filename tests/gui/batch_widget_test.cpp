// The Qt view of the batch window on the offscreen platform: its controls at
// their places, and a batch started with 実行 that fills the table, the
// progress bar and the summary. The behaviour itself is tested against a
// fake view (tests/batch_window_test.cpp).

#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/batch_widget.hpp"
#include "app/path_edit.hpp"
#include "app/status_label.hpp"
#include "message_box_answerer.hpp"
#include "text/cp932.hpp"
#include "window/window_layout.hpp"
#include "window/window_text.hpp"

namespace fs = std::filesystem;

namespace k2v {

class BatchWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsStandAtTheirPlacesFromTheLayout() {
    BatchWidget batch(BatchWindowSetup{});
    QCOMPARE(batch.windowTitle(), QString::fromUtf8(kBatchLayout.caption));
    QCOMPARE(batch.size(), QSize(kBatchLayout.clientWidth / 15, kBatchLayout.clientHeight / 15));
    for (const ControlPlace& c : kBatchLayout.controls) {
      QWidget* control = batch.findChild<QWidget*>(c.name);
      QVERIFY2(control, c.name);
      QCOMPARE(control->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
    }
    QCOMPARE(batch.Borings->columnCount(), 5);
    QCOMPARE(batch.Borings->horizontalHeaderItem(0)->text(), QString::fromUtf8(batch_text::kBoringHeading));
    QVERIFY(batch.Execute->isEnabled());
    QVERIFY(!batch.Cancel->isEnabled());
    QVERIFY(!batch.OpenReport->isEnabled());
  }

  void aSiteConvertsFromTheExecuteButton() {
    QTemporaryDir temp;
    const fs::path root(temp.path().toStdString());
    std::string x1;
    EncodeCp932Append("1,3.50,0,砂混りシルト\r\n", x1);
    for (const char* boring : {"K1", "K2"}) {
      fs::create_directories(root / "site" / boring);
      std::ofstream(root / "site" / boring / "X1.TXT", std::ios::binary) << x1;
    }
    test::MessageBoxAnswerer answerer;
    answerer.answers = {QMessageBox::Yes};
    BatchWidget batch(BatchWindowSetup{});
    batch.show();
    batch.SourceRoot->setText(QString::fromStdString((root / "site").string()));
    batch.DestinationRoot->setText(QString::fromStdString((root / "out").string()));
    QTest::mouseClick(batch.Execute, Qt::LeftButton);
    QCOMPARE(answerer.seen.size(), size_t{1});
    QTRY_VERIFY_WITH_TIMEOUT(!batch.Model().Running(), 30000);
    QCOMPARE(batch.Borings->rowCount(), 2);
    QCOMPARE(batch.Borings->item(1, 0)->text(), QString("K2"));
    QCOMPARE(batch.Borings->item(1, 1)->text(), QString::fromUtf8(ReportResultWord(BoringOutcome::Converted)));
    QCOMPARE(batch.Borings->item(1, 2)->text(), QString("1"));
    QCOMPARE(batch.Progress->value(), 2);
    QVERIFY(batch.OpenReport->isEnabled());
    QVERIFY(batch.Execute->isEnabled());
    QVERIFY(fs::is_regular_file(root / "out" / "kolbrix2vantor-report.csv"));
  }
};

}  // namespace k2v

QTEST_MAIN(k2v::BatchWidgetTest)
#include "batch_widget_test.moc"
