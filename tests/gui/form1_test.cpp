// The window's controls and handlers, driven directly on the offscreen
// platform, with real message boxes answered by the test.

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

#include "app/folder_list.hpp"
#include "app/form1.hpp"
#include "app/japanese_texts.hpp"
#include "app/path_edit.hpp"
#include "app/search_window.hpp"
#include "message_box_answerer.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace fs = std::filesystem;

namespace k2v {
namespace {

const QString kCaption = QString::fromUtf8("Kolbrix -> Vantor 変換プログラム");
const QString kGanbanMissing = QString::fromUtf8(" Ｖａｎｔｏｒのﾌｫﾙﾀﾞ（/GANBAN）がありません.");

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private:
  fs::path root_;
  std::unique_ptr<QTemporaryDir> temp_;
  fs::path savedCwd_;

  fs::path At(const std::string& relative) const { return root_ / relative; }

  // Two drives (volA, volB) and a program folder with RADUDI beside it.
  WindowSetup Setup() const {
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

  void controlsHaveTheirNamesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, const char* caption) { QTest::newRow(name) << name << QString::fromUtf8(caption); };
    row("Picture1", "");
    row("Label2", "変換元ﾌｫﾙﾀﾞ名 ：");
    row("Text2", "");
    row("Label1", "変換先ﾌｫﾙﾀﾞ名 ：");
    row("Text1", "");
    row("Frame2", "変換元ﾌｫﾙﾀﾞ名選択");
    row("Dir2", "");
    row("Drive2", "");
    row("Frame1", "変換先ﾌｫﾙﾀﾞ名選択");
    row("Dir1", "");
    row("Drive1", "");
    row("Frame3", "メッセージ");
    row("Label3", "");
    row("Command1", "実  行");
    row("Command2", "終  了");
  }

  void controlsHaveTheirNamesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Form1 form(Setup());
    QWidget* control = form.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QString shown;
    if (auto* l = qobject_cast<QLabel*>(control)) shown = l->text();
    if (auto* g = qobject_cast<QGroupBox*>(control)) shown = g->title();
    if (auto* b = qobject_cast<QPushButton*>(control)) shown = b->text();
    if (auto* t = qobject_cast<QLineEdit*>(control)) shown = t->text();
    QCOMPARE(shown, caption);
  }

  void windowHasItsCaptionSizeAndGreyBackground() {
    Form1 form(Setup());
    QCOMPARE(form.objectName(), QString("Form1"));
    QCOMPARE(form.windowTitle(), kCaption);
    QCOMPARE(form.size(), QSize(606, 433));
    QCOMPARE(form.Picture1->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(form.Frame3->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(form.Label3->palette().color(QPalette::Window), QColor(192, 192, 192));
  }

  void tabGoesThroughBothPathsThenEachSidesListsThenTheButtons() {
    Form1 form(Setup());
    QStringList order;
    QWidget* w = form.Text2;
    do {
      if (w->focusPolicy() & Qt::TabFocus) order << w->objectName();
      w = w->nextInFocusChain();
    } while (w != form.Text2);
    QCOMPARE(order, (QStringList{"Text2", "Text1", "Dir2", "Drive2", "Dir1", "Drive1", "Command1", "Command2"}));
  }

  void listsStartOnTheCurrentFolderAndDrive() {
    Form1 form(Setup());
    QCOMPARE(form.Dir1->Path(), Q(At("volA/work")));
    QCOMPARE(form.Dir2->Path(), Q(At("volA/work")));
    QCOMPARE(form.Drive1->currentText(), Q(At("volA")));
    QCOMPARE(form.Drive2->count(), 2);
    QVERIFY(form.Text1->text().isEmpty());
    QVERIFY(form.Text2->text().isEmpty());
  }

  void loadFindsRadudiBesideTheProgramAndOpensTheSourceGanban() {
    fs::create_directories(At("volA/ganban"));
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    QVERIFY(form.Form_Load());
    QCOMPARE(form.RadudiFolder(), At("prog/RADUDI/").string());
    QCOMPARE(form.StatusPending(), 0);
    QCOMPARE(form.Dir2->Path(), Q(At("volA/ganban")));
    QCOMPARE(form.Text2->text(), Q(At("volA/ganban")));
    QCOMPARE(fs::current_path(), At("volA/ganban"));
    QVERIFY(answerer.seen.empty());
  }

  void loadWithoutGanbanLeavesTheListsAlone() {
    Form1 form(Setup());
    QVERIFY(form.Form_Load());
    QCOMPARE(form.Dir2->Path(), Q(At("volA/work")));
    QVERIFY(form.Text2->text().isEmpty());
  }

  void loadSearchesTheVolumesWhenNothingIsBesideTheProgram() {
    fs::remove_all(At("prog/RADUDI"));
    WriteFile(At("volB/data/radudi/KISHITU.TXT"), "x");
    Form1 form(Setup());
    QVERIFY(form.Form_Load());
    QCOMPARE(form.RadudiFolder(), At("volB/data/radudi/").string());
  }

  void loadWithoutRadudiTellsTheUserAndEnds() {
    WriteFile(At("prog/RADUDI/kishitu.txt"), "");  // empty: does not count
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    QVERIFY(!form.Form_Load());
    QCOMPARE(answerer.seen.size(), size_t{1});
    // The message goes on to say where the program looked and how to name the folder.
    const QString text = answerer.seen[0].text;
    QVERIFY2(text.startsWith(QString::fromUtf8(" RADUDI の設定がありません.\n\n探した場所:\n  ") + Q(At("prog/RADUDI"))),
             qPrintable(text));
    QVERIFY(text.contains(Q(At("volA")) + QString::fromUtf8(" 以下のすべてのフォルダ\n")));
    QVERIFY(text.contains(Q(At("volB")) + QString::fromUtf8(" 以下のすべてのフォルダ\n")));
    QVERIFY(text.endsWith(QString::fromUtf8("--radudi DIR で起動するか、\n環境変数 KOLBRIX2VANTOR_RADUDI で指定できます。")));
    QCOMPARE(answerer.seen[0].icon, QMessageBox::NoIcon);
    QCOMPARE(answerer.seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(answerer.seen[0].title, kCaption);
  }

  void namedRadudiSkipsTheSearchAndTheStatusLineShowsIt() {
    WriteFile(At("volB/mine/kishitu.txt"), "pattern");
    WindowSetup setup = Setup();
    setup.givenRadudi = At("volB/mine").string();
    setup.givenRadudiBy = "--radudi";
    test::MessageBoxAnswerer answerer;
    {
      Form1 form(setup);
      QVERIFY(form.Form_Load());
      QCOMPARE(form.RadudiFolder(), At("volB/mine/").string());
      QCOMPARE(form.Label3->text(), QString::fromUtf8("RADUDI フォルダ: ") + Q(At("volB/mine/")));
    }
    // A named folder that is no RADUDI folder is not replaced by a search.
    setup.givenRadudi = At("volB/data").string();
    Form1 form(setup);
    QVERIFY(!form.Form_Load());
    QCOMPARE(answerer.seen.size(), size_t{1});
    QVERIFY2(answerer.seen[0].text.contains(QString::fromUtf8("--radudi のフォルダに kishitu.txt がありません: ") +
                                            Q(At("volB/data")) + "\n"),
             qPrintable(answerer.seen[0].text));
  }

  void searchWindowAppearsAfterItsDelayAndCancels() {
    SearchWindow quick(0);
    QVERIFY(quick.Visit("/first"));
    QVERIFY(quick.Window() != nullptr);
    QVERIFY(quick.Window()->isVisible());
    QVERIFY(quick.Window()->labelText().contains("/first"));
    quick.Window()->cancel();
    QVERIFY(!quick.Visit("/second"));

    SearchWindow slow(60000);
    QVERIFY(slow.Visit("/first"));
    QVERIFY(slow.Window() == nullptr);
  }

  void destinationDriveWithGanbanShowsItWithoutMessage() {
    fs::create_directories(At("volB/GANBAN"));
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    form.Drive1->setCurrentIndex(1);  // fires Drive1_Change
    QCOMPARE(form.Dir1->Path(), Q(At("volB/GANBAN")));
    QCOMPARE(form.Text1->text(), Q(At("volB/GANBAN")));
    QCOMPARE(fs::current_path(), At("volB/GANBAN"));
    QVERIFY(answerer.seen.empty());
  }

  void destinationDriveWithoutGanbanTellsOnceAndKeepsTheFolder() {
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    form.Dir1->SetPath(Q(At("volA/work")));
    form.Drive1->setCurrentIndex(1);
    QCOMPARE(answerer.seen.size(), size_t{1});
    QCOMPARE(answerer.seen[0].text, kGanbanMissing);
    QCOMPARE(answerer.seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(form.Dir1->Path(), Q(At("volA/work")));
    QCOMPARE(form.Text1->text(), Q(At("volA/work")));
    QCOMPARE(form.Drive1->currentText(), Q(At("volB")));
    QCOMPARE(fs::current_path(), At("volB"));
  }

  void unreadableDestinationDriveTellsTwice() {
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    fs::remove_all(At("volB"));
    form.Drive1->setCurrentIndex(1);
    QCOMPARE(answerer.seen.size(), size_t{2});
    QCOMPARE(answerer.seen[1].text, kGanbanMissing);
  }

  void sourceDriveSelectsTheCurrentFolderWhenItLiesThere_data() {
    QTest::addColumn<QString>("cwd");
    QTest::addColumn<QString>("expected");
    QTest::newRow("current folder on the drive") << "volB/data" << "volB/data";
    QTest::newRow("current folder elsewhere") << "volA/work" << "volB";
  }

  void sourceDriveSelectsTheCurrentFolderWhenItLiesThere() {
    QFETCH(QString, cwd);
    QFETCH(QString, expected);
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    fs::current_path(At(cwd.toStdString()));
    form.Drive2->setCurrentIndex(1);
    QCOMPARE(form.Dir2->Path(), Q(At(expected.toStdString())));
    QCOMPARE(form.Text2->text(), Q(At(expected.toStdString())));
    QVERIFY(answerer.seen.empty());
  }

  void folderListChangeSetsThePathBoxAndTheCurrentFolder() {
    Form1 form(Setup());
    QVERIFY(form.Dir1->SetPath(Q(At("volB/data"))));
    QCOMPARE(form.Text1->text(), Q(At("volB/data")));
    QCOMPARE(form.Drive1->currentText(), Q(At("volB")));
    QCOMPARE(fs::current_path(), At("volB/data"));
    // ".." leads up, a folder that cannot be opened changes nothing.
    QVERIFY(form.Dir1->SetPath(form.Dir1->Path() + "/.."));
    QCOMPARE(form.Text1->text(), Q(At("volB")));
    QVERIFY(!form.Dir1->SetPath(Q(At("volB/missing"))));
    QCOMPARE(form.Text1->text(), Q(At("volB")));
  }

  void folderListShowsFoldersOnlyWithUpFirst() {
    WriteFile(At("volB/file.txt"), "x");
    fs::create_directories(At("volB/beta"));
    fs::create_directories(At("volB/Alpha"));
    FolderList list;
    QVERIFY(list.ShowPath(Q(At("volB"))));
    QStringList shown;
    for (int i = 0; i < list.count(); ++i) shown << list.item(i)->text();
    QCOMPARE(shown, (QStringList{"..", "Alpha", "beta", "data"}));
    emit list.itemActivated(list.item(1));
    QCOMPARE(list.Path(), Q(At("volB/Alpha")));
  }

  void typedPathsLeaveTheListsAlone() {
    Form1 form(Setup());
    form.show();
    QTest::keyClicks(form.Text1, "/somewhere/else");
    QTest::keyClicks(form.Text2, "/other");
    QCOMPARE(form.Dir1->Path(), Q(At("volA/work")));
    QCOMPARE(form.Dir2->Path(), Q(At("volA/work")));
    QCOMPARE(form.Text1->text(), QString("/somewhere/else"));
  }

  // A drag that enters the box and is dropped there, as the desktop sends it.
  static void DragAndDrop(QWidget* target, const QString& localPath) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(localPath)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
  }

  void droppedFolderSetsThePathBoxAndTheList() {
    Form1 form(Setup());
    form.show();
    DragAndDrop(form.Text1, Q(At("volB/data")));
    QCOMPARE(form.Text1->text(), Q(At("volB/data")));
    QCOMPARE(form.Dir1->Path(), Q(At("volB/data")));
    // A dropped file stands for its folder.
    WriteFile(At("volA/work/X1.TXT"), "x");
    DragAndDrop(form.Text2, Q(At("volA/work/X1.TXT")));
    QCOMPARE(form.Text2->text(), Q(At("volA/work")));
    QCOMPARE(form.Dir2->Path(), Q(At("volA/work")));
  }

  void executeConvertsAndTheStatusStaysUntilTheMouseMoves() {
    WriteFile(At("export/X1.TXT"), EncodeCp932("1,3.50,0,砂混りシルト\r\n"));
    test::MessageBoxAnswerer answerer;
    answerer.answers = {QMessageBox::Yes};
    Form1 form(Setup());
    form.show();
    form.Text2->setText(Q(At("export")));
    form.Text1->setText(Q(At("volA/out/site")));

    // Before any run a mouse movement leaves the status line alone.
    form.Label3->setText("earlier");
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Picture1, &move);
    QCOMPARE(form.Label3->text(), QString("earlier"));

    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QVERIFY(!answerer.seen.empty());
    QCOMPARE(answerer.seen[0].text, QString::fromUtf8("ﾌｫﾙﾀﾞがありません。新規作成しますか？"));
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Question);
    QCOMPARE(answerer.seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    // Qt's Japanese buttons carry their keyboard letter: "はい(&Y)" reads はい(Y).
    QCOMPARE(answerer.seen[0].buttonTexts, (QStringList{QString::fromUtf8("はい(&Y)"), QString::fromUtf8("いいえ(&N)")}));
    QVERIFY(fs::is_regular_file(At("volA/out/site/G10.txt")) || fs::is_regular_file(At("volA/out/site/D10.txt")));
    QCOMPARE(form.Label3->text(), QString::fromUtf8("変換が正常に終了しました。"));
    QCOMPARE(answerer.seen.size(), size_t{1});
    QCOMPARE(form.StatusPending(), 1);
    QVERIFY(QApplication::overrideCursor() == nullptr);

    QCoreApplication::sendEvent(form.Picture1, &move);
    QVERIFY(form.Label3->text().isEmpty());
    QCOMPARE(form.StatusPending(), 0);
    form.Label3->setText("later");
    QCoreApplication::sendEvent(form.Picture1, &move);
    QCOMPARE(form.Label3->text(), QString("later"));
  }

  void executeListsDataThatCouldNotBeConvertedInOneInformationBox() {
    // X6 records cannot be converted without Radudi32.ini in the system folder.
    WriteFile(At("export/X1.TXT"), EncodeCp932("1,3.50,0,砂混りシルト\r\n"));
    WriteFile(At("export/X6.TXT"), EncodeCp932("1,2,3,4,5,6,7,8\r\n"));
    fs::create_directories(At("volA/out"));
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    form.Text2->setText(Q(At("export")));
    form.Text1->setText(Q(At("volA/out")));
    form.Command1_Click();
    QCOMPARE(form.Label3->text(), QString::fromUtf8("変換は終了しましたが、変換できなかったデータがあります。"));
    QCOMPARE(answerer.seen.size(), size_t{1});
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Information);
    QCOMPARE(answerer.seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(answerer.seen[0].title, kCaption);
    QVERIFY(answerer.seen[0].text.contains("Radudi32.ini", Qt::CaseInsensitive));
  }

  void executeRefusals_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("lastTitle");
    QTest::addColumn<int>("lastIcon");
    QTest::addColumn<QString>("focused");
    const QString invalid = QString::fromUtf8("指定されたパスは正しくありません。");
    const QString noSlash =
        QString::fromUtf8("規定値のパスが正しくありません。パスは \"/\" で始まらなければいけません。  例 \"/home\", \"/mnt\"...");
    QTest::newRow("empty source") << "" << "@volA/out" << QStringList{noSlash, invalid} << kCaption
                                  << int(QMessageBox::Warning) << "Text2";
    QTest::newRow("invalid destination") << "@export" << "/a//b" << QStringList{invalid} << "/a//b/"
                                         << int(QMessageBox::Warning) << "Text1";
    QTest::newRow("final separator") << "@export" << "@volA/out/" << QStringList{QString::fromUtf8("最後のﾌｫﾙﾀﾞに「/」は要りません。")}
                                     << "@export/" << int(QMessageBox::Warning) << "";
    QTest::newRow("no data") << "@empty" << "@volA/out" << QStringList{QString::fromUtf8("データがありません。")}
                             << "@empty/" << int(QMessageBox::Warning) << "";
    QTest::newRow("folder question answered No")
        << "@export" << "@volA/new/out" << QStringList{QString::fromUtf8("ﾌｫﾙﾀﾞがありません。新規作成しますか？")}
        << kCaption << int(QMessageBox::Question) << "";
  }

  void executeRefusals() {
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(QStringList, texts);
    QFETCH(QString, lastTitle);
    QFETCH(int, lastIcon);
    QFETCH(QString, focused);
    // "@" stands for the test's temporary folder.
    auto resolve = [this](QString text) { return text.replace("@", Q(root_) + "/"); };
    WriteFile(At("export/X1.TXT"), EncodeCp932("1,3.50,0,砂混りシルト\r\n"));
    fs::create_directories(At("empty"));
    test::MessageBoxAnswerer answerer;
    Form1 form(Setup());
    form.Text2->setText(resolve(source));
    form.Text1->setText(resolve(destination));
    form.Command1_Click();

    QStringList shown;
    for (const auto& m : answerer.seen) shown << m.text;
    QCOMPARE(shown, texts);
    QCOMPARE(answerer.seen.back().title, resolve(lastTitle));
    // A path in the title is shown in full inside the box too.
    QCOMPARE(answerer.seen.back().informativeText, lastTitle == kCaption ? QString() : resolve(lastTitle));
    QCOMPARE(int(answerer.seen.back().icon), lastIcon);
    QVERIFY(form.Label3->text().isEmpty());
    QVERIFY(!fs::exists(At("volA/out")));
    QVERIFY(!fs::exists(At("volA/new")));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    if (!focused.isEmpty()) {
      QCOMPARE(form.focusWidget() ? form.focusWidget()->objectName() : QString(), focused);
      auto* box = form.findChild<QLineEdit*>(focused);
      QCOMPARE(box->selectedText(), box->text());
    }
  }

  void exitClosesTheWindow() {
    Form1 form(Setup());
    form.show();
    QVERIFY(form.isVisible());
    form.Command2_Click();
    QVERIFY(!form.isVisible());
  }
};

}  // namespace k2v

QTEST_MAIN(k2v::Form1Test)
#include "form1_test.moc"
