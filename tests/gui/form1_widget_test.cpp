// The Qt view of the window on the offscreen platform: its controls at their
// places, and the user's events reaching the window's behaviour, with real
// message boxes answered by the test. The behaviour itself is tested
// against a fake view (tests/window_test.cpp).

#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/folder_list_widget.hpp"
#include "app/form1_widget.hpp"
#include "app/japanese_texts.hpp"
#include "app/path_edit.hpp"
#include "app/status_label.hpp"
#include "message_box_answerer.hpp"
#include "text/cp932.hpp"
#include "window/window_layout.hpp"

namespace fs = std::filesystem;

namespace k2v {
namespace {

const QString kCaption = QString::fromUtf8("Kolbrix -> Vantor 変換プログラム");

// The window of a RADUDI search, while it is shown.
QProgressDialog* SearchWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* dialog = qobject_cast<QProgressDialog*>(w)) return dialog;
  }
  return nullptr;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// The rows of a folder list from the folder it shows (its selected row) down.
QStringList RowTexts(const QListWidget* list) {
  QStringList shown;
  for (int i = std::max(0, list->currentRow()); i < list->count(); ++i) shown << list->item(i)->text();
  return shown;
}

}  // namespace

class Form1WidgetTest : public QObject {
  Q_OBJECT

 private:
  fs::path root_;
  std::unique_ptr<QTemporaryDir> temp_;
  fs::path savedCwd_;

  fs::path At(const std::string& relative) const { return root_ / relative; }

  // Two drives (volA, volB) and a program folder with RADUDI beside it.
  WindowSetup TestSetup() const {
    WindowSetup s;
    s.volumes = {Volume{At("volA").string(), "ext4", "/dev/a"}, Volume{At("volB").string(), "ext4", "/dev/b"}};
    s.programFolder = At("prog").string();
    s.runOptions.systemDir = At("system").string();
    return s;
  }

 private slots:
  // The program loads Qt's Japanese texts at start-up; so does the test.
  void initTestCase() { QVERIFY(InstallJapaneseQtTexts(*QCoreApplication::instance())); }

  void init() {
    savedCwd_ = fs::current_path();
    temp_ = std::make_unique<QTemporaryDir>();
    root_ = fs::path(temp_->path().toStdString());
    fs::create_directories(At("volA/work"));
    fs::create_directories(At("volB/data"));
    fs::create_directories(At("system"));
    WriteFile(At("prog/RADUDI/kishitu.txt"), "pattern");
    fs::current_path(At("volA/work"));
  }

  void cleanup() {
    fs::current_path(savedCwd_);
    temp_.reset();
  }

  void controlsHaveTheirNamesCaptionsAndPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    for (const ControlPlace& c : kForm1Layout.controls) {
      QTest::newRow(c.name) << c.name << QString::fromUtf8(c.caption) << QRect(c.left, c.top, c.width, c.height);
    }
  }

  void controlsHaveTheirNamesCaptionsAndPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    Form1Widget form(TestSetup());
    QWidget* control = form.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QString shown;
    if (auto* l = qobject_cast<QLabel*>(control)) shown = l->text();
    if (auto* g = qobject_cast<QGroupBox*>(control)) shown = g->title();
    if (auto* b = qobject_cast<QPushButton*>(control)) shown = b->text();
    if (auto* t = qobject_cast<QLineEdit*>(control)) shown = t->text();
    QCOMPARE(shown, caption);
    auto px = [](int t) { return (t + 7) / 15; };
    QCOMPARE(control->geometry(), QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
  }

  void windowHasItsCaptionSizeAndGreyBackground() {
    Form1Widget form(TestSetup());
    QCOMPARE(form.objectName(), QString("Form1"));
    QCOMPARE(form.windowTitle(), QString::fromUtf8(kForm1Layout.caption));
    QCOMPARE(form.size(), QSize(kForm1Layout.clientWidth / 15, kForm1Layout.clientHeight / 15));
    const QColor grey(kForm1Layout.background.red, kForm1Layout.background.green, kForm1Layout.background.blue);
    QCOMPARE(form.Picture1->palette().color(QPalette::Window), grey);
    QCOMPARE(form.Frame3->palette().color(QPalette::Window), grey);
    QCOMPARE(form.Label3->palette().color(QPalette::Window), grey);
  }

  void tabGoesThroughBothPathsThenEachSidesListsThenTheButtons() {
    Form1Widget form(TestSetup());
    QStringList order;
    QWidget* w = form.Text2;
    do {
      if (w->focusPolicy() & Qt::TabFocus) order << w->objectName();
      w = w->nextInFocusChain();
    } while (w != form.Text2);
    QCOMPARE(order, (QStringList{"Text2", "Text1", "Dir2", "Drive2", "Dir1", "Drive1", "Command1", "Command2"}));
  }

  void listsShowTheRowsTheWindowGivesThem() {
    fs::create_directories(At("volA/work/sub"));
    Form1Widget form(TestSetup());
    QCOMPARE(RowTexts(form.Dir1), (QStringList{"work", "sub"}));
    QCOMPARE(RowTexts(form.Dir2), (QStringList{"work", "sub"}));
    // The folders that hold it stand above it, the root first.
    QCOMPARE(form.Dir1->item(0)->text(), QString("/"));
    QCOMPARE(form.Dir1->item(form.Dir1->currentRow() - 1)->text(), QString("volA"));
    QCOMPARE(form.Drive1->count(), 2);
    QCOMPARE(form.Drive1->currentText(), Q(At("volA")));
    QCOMPARE(form.Drive2->itemData(1, Qt::ToolTipRole).toString(), QString("/dev/b (ext4)"));
  }

  void folderListOpensARowAndGoesUp() {
    fs::create_directories(At("volA/work/sub"));
    Form1Widget form(TestSetup());
    form.show();
    emit form.Dir1->itemActivated(form.Dir1->item(form.Dir1->currentRow() + 1));
    QCOMPARE(form.Text1->text(), Q(At("volA/work/sub")));
    QCOMPARE(RowTexts(form.Dir1), QStringList{"sub"});
    form.Dir1->setFocus();
    QTest::keyClick(form.Dir1, Qt::Key_Backspace);
    QCOMPARE(form.Text1->text(), Q(At("volA/work")));
  }

  void pickingADriveRunsTheHandlerEvenForTheDriveShown() {
    test::MessageBoxAnswerer answerer;
    Form1Widget form(TestSetup());
    emit form.Drive1->activated(0);
    QCOMPARE(answerer.seen.size(), size_t{1});
    QCOMPARE(answerer.seen[0].text, QString::fromUtf8(" Ｖａｎｔｏｒのﾌｫﾙﾀﾞ（/GANBAN）がありません."));
    QCOMPARE(answerer.seen[0].icon, QMessageBox::NoIcon);
    QCOMPARE(answerer.seen[0].title, kCaption);
    fs::create_directories(At("volB/ganban"));
    form.Drive1->setCurrentIndex(1);
    emit form.Drive1->activated(1);
    QCOMPARE(form.Text1->text(), Q(At("volB/ganban")));
    QCOMPARE(answerer.seen.size(), size_t{1});
  }

  void aLongPathShowsItsEndAndWholeOnHover() {
    Form1Widget form(TestSetup());
    form.show();
    const QString longPath = "/" + QString("very-long-folder-name/").repeated(20) + "B02";
    form.SetPathText(Side::Destination, longPath.toStdString());
    QCOMPARE(form.Text1->cursorPosition(), static_cast<int>(longPath.size()));
    QCOMPARE(form.Text1->toolTip(), longPath);
  }

  void typedPathsLeaveTheListsAlone() {
    Form1Widget form(TestSetup());
    form.show();
    QTest::keyClicks(form.Text1, "/somewhere/else");
    QCOMPARE(form.Model().Dir(Side::Destination).Path(), At("volA/work").string());
    QCOMPARE(form.Text1->text(), QString("/somewhere/else"));
  }

  // A drag that enters the control and is dropped there, as the desktop sends it.
  static void DragAndDrop(QWidget* target, const QString& localPath) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(localPath)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
  }

  void droppedFolderOnABoxOrAListMovesThatSide() {
    Form1Widget form(TestSetup());
    form.show();
    DragAndDrop(form.Text1, Q(At("volB/data")));
    QCOMPARE(form.Text1->text(), Q(At("volB/data")));
    QCOMPARE(form.Drive1->currentText(), Q(At("volB")));
    WriteFile(At("volB/data/X1.TXT"), "x");
    DragAndDrop(form.Dir2->viewport(), Q(At("volB/data/X1.TXT")));
    QCOMPARE(form.Text2->text(), Q(At("volB/data")));
    QCOMPARE(RowTexts(form.Dir2), QStringList{"data"});
  }

  void executeConvertsThroughRealBoxesAndTheMouseClearsTheStatus() {
    std::string x1;
    EncodeCp932Append("1,3.50,0,砂混りシルト\r\n", x1);
    WriteFile(At("export/X1.TXT"), x1);
    test::MessageBoxAnswerer answerer;
    answerer.answers = {QMessageBox::Yes};
    Form1Widget form(TestSetup());
    form.show();
    form.Text2->setText(Q(At("export")));
    form.Text1->setText(Q(At("volA/out/site")));
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QCOMPARE(answerer.seen.size(), size_t{1});
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Question);
    // Qt's Japanese buttons carry their keyboard letter: "はい(&Y)" reads はい(Y).
    QCOMPARE(answerer.seen[0].buttonTexts,
             (QStringList{QString::fromUtf8("はい(&Y)"), QString::fromUtf8("いいえ(&N)")}));
    QCOMPARE(form.Label3->text(), QString::fromUtf8("変換が正常に終了しました。"));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Picture1, &move);
    QVERIFY(form.Label3->text().isEmpty());
  }

  void refusalShowsThePathAsTypedUnderTheMessage() {
    fs::create_directories(At("empty"));
    test::MessageBoxAnswerer answerer;
    Form1Widget form(TestSetup());
    form.Text2->setText(Q(At("empty")));
    form.Text1->setText(Q(At("volA/out")));
    form.Command1->click();
    QCOMPARE(answerer.seen.size(), size_t{1});
    QCOMPARE(answerer.seen[0].text, QString::fromUtf8("データがありません。"));
    QCOMPARE(answerer.seen[0].title, Q(At("empty")) + "/");
    QCOMPARE(answerer.seen[0].informativeText.remove('\n'), Q(At("empty")));
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Warning);
  }

  void longStatusIsElidedInTheMiddleAndWholeOnHover() {
    Form1Widget form(TestSetup());
    const QString longText = "RADUDI: /" + QString("very-long-folder-name/").repeated(30) + "RADUDI/";
    form.SetStatusText(longText.toStdString());
    QVERIFY(form.Label3->text().contains(QChar(0x2026)));
    QVERIFY(form.Label3->text().startsWith("RADUDI: /"));
    QVERIFY(form.Label3->text().endsWith("RADUDI/"));
    QCOMPARE(form.Label3->toolTip(), longText);
    form.SetStatusText("short");
    QCOMPARE(form.Label3->text(), QString("short"));
    QVERIFY(form.Label3->toolTip().isEmpty());
  }

  void searchWindowShowsTheFolderAndItsCancel() {
    Form1Widget form(TestSetup());
    form.ShowSearchProgress("/first");
    QVERIFY(SearchWindow() != nullptr);
    QVERIFY(SearchWindow()->isVisible());
    QVERIFY(SearchWindow()->labelText().contains("/first"));
    QVERIFY(!form.SearchCancelled());
    SearchWindow()->cancel();
    QVERIFY(form.SearchCancelled());
    form.EndSearch();
    QVERIFY(SearchWindow() == nullptr);
  }

  void exitClosesTheWindow() {
    Form1Widget form(TestSetup());
    form.show();
    QVERIFY(form.isVisible());
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    QVERIFY(!form.isVisible());
  }
};

}  // namespace k2v

QTEST_MAIN(k2v::Form1WidgetTest)
#include "form1_widget_test.moc"
