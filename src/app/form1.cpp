#include "app/form1.hpp"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <filesystem>
#include <system_error>

#include "app/folder_list.hpp"
#include "app/path_edit.hpp"
#include "app/search_window.hpp"
#include "app/window_text.hpp"
#include "platform/files.hpp"
#include "platform/radudi_search.hpp"
#include "run/paths.hpp"

namespace k2v {

namespace {

// The window was laid out in twips, 15 to a pixel.
int Px(int twips) { return (twips + 7) / 15; }
QRect Twips(int left, int top, int width, int height) { return QRect(Px(left), Px(top), Px(width), Px(height)); }

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

std::string CurrentFolder() {
  std::error_code ec;
  std::string cwd = std::filesystem::current_path(ec).string();
  return ec ? std::string() : cwd;
}

// The light grey of the window's background.
const QColor kBackground(192, 192, 192);

// Where the window shows more than this many warnings at once, the rest
// are under the message box's details.
constexpr int kWarningsShown = 15;

}  // namespace

Form1::Form1(WindowSetup setup, QWidget* parent)
    : QWidget(parent), setup_(std::move(setup)), run_(*this, NativePathRules(), setup_.runOptions) {
  if (setup_.volumes.empty()) setup_.volumes.push_back(Volume{"/", "", ""});
  CreateControls();
  ConnectHandlers();

  // The lists start on the current drive and folder; the path boxes empty.
  const QString cwd = Q(CurrentFolder());
  Dir1->ShowPath(cwd);
  Dir2->ShowPath(cwd);
  ShowDriveOf(Drive1, cwd);
  ShowDriveOf(Drive2, cwd);
}

Form1::~Form1() { SetBusy(false); }

void Form1::CreateControls() {
  setObjectName("Form1");
  setWindowTitle(Q(window_text::kCaption));
  setFixedSize(Px(9090), Px(6495));
  QPalette grey = palette();
  grey.setColor(QPalette::Window, kBackground);
  grey.setColor(QPalette::Button, kBackground);
  setPalette(grey);
  setAutoFillBackground(true);

  Picture1 = new QWidget(this);
  Picture1->setObjectName("Picture1");
  Picture1->setGeometry(Twips(0, 0, 9075, 6495));
  Picture1->setAutoFillBackground(true);
  Picture1->setMouseTracking(true);

  auto label = [](QWidget* parent, const char* name, const char* caption, QRect where) {
    auto* l = new QLabel(Q(caption), parent);
    l->setObjectName(name);
    l->setGeometry(where);
    return l;
  };
  auto frame = [](QWidget* parent, const char* name, const char* caption, QRect where) {
    auto* f = new QGroupBox(Q(caption), parent);
    f->setObjectName(name);
    f->setGeometry(where);
    return f;
  };
  auto pathEdit = [](QWidget* parent, const char* name, QRect where) {
    auto* t = new PathEdit(parent);
    t->setObjectName(name);
    t->setGeometry(where);
    return t;
  };
  auto folderList = [](QWidget* parent, const char* name, QRect where) {
    auto* d = new FolderList(parent);
    d->setObjectName(name);
    d->setGeometry(where);
    return d;
  };
  auto button = [](QWidget* parent, const char* name, const char* caption, QRect where) {
    auto* b = new QPushButton(Q(caption), parent);
    b->setObjectName(name);
    b->setGeometry(where);
    return b;
  };

  Label2 = label(Picture1, "Label2", window_text::kSourceLabel, Twips(240, 300, 2085, 315));
  Text2 = pathEdit(Picture1, "Text2", Twips(2400, 240, 6255, 405));
  Label1 = label(Picture1, "Label1", window_text::kDestinationLabel, Twips(240, 900, 2055, 315));
  Text1 = pathEdit(Picture1, "Text1", Twips(2400, 840, 6255, 405));
  Label2->setBuddy(Text2);
  Label1->setBuddy(Text1);

  Frame2 = frame(Picture1, "Frame2", window_text::kSourceFrame, Twips(1200, 1620, 3135, 2895));
  Dir2 = folderList(Frame2, "Dir2", Twips(240, 420, 2595, 1530));
  Drive2 = new QComboBox(Frame2);
  Drive2->setObjectName("Drive2");
  Drive2->setGeometry(Twips(240, 2220, 2595, 390));

  Frame1 = frame(Picture1, "Frame1", window_text::kDestinationFrame, Twips(4980, 1620, 2895, 2895));
  Dir1 = folderList(Frame1, "Dir1", Twips(240, 420, 2415, 1530));
  Drive1 = new QComboBox(Frame1);
  Drive1->setObjectName("Drive1");
  Drive1->setGeometry(Twips(240, 2220, 2415, 390));

  Frame3 = frame(Picture1, "Frame3", window_text::kMessageFrame, Twips(240, 4740, 8475, 675));
  Label3 = label(Frame3, "Label3", "", Twips(180, 240, 8175, 315));

  Command1 = button(Picture1, "Command1", window_text::kExecute, Twips(2520, 5580, 1935, 555));
  Command2 = button(Picture1, "Command2", window_text::kExit, Twips(5160, 5580, 2055, 555));

  for (QComboBox* drive : {Drive1, Drive2}) {
    for (const Volume& v : setup_.volumes) {
      drive->addItem(Q(v.root), Q(v.root));
      if (!v.type.empty()) drive->setItemData(drive->count() - 1, Q(v.source + " (" + v.type + ")"), Qt::ToolTipRole);
    }
  }

  // Source, then destination, then the lists of each, then the buttons.
  setTabOrder(Text2, Text1);
  setTabOrder(Text1, Dir2);
  setTabOrder(Dir2, Drive2);
  setTabOrder(Drive2, Dir1);
  setTabOrder(Dir1, Drive1);
  setTabOrder(Drive1, Command1);
  setTabOrder(Command1, Command2);
}

void Form1::ConnectHandlers() {
  connect(Dir1, &FolderList::Change, this, &Form1::Dir1_Change);
  connect(Dir2, &FolderList::Change, this, &Form1::Dir2_Change);
  connect(Drive1, &QComboBox::currentIndexChanged, this, &Form1::Drive1_Change);
  connect(Drive2, &QComboBox::currentIndexChanged, this, &Form1::Drive2_Change);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  // A folder dropped on a path box moves its list there too.
  connect(Text1, &PathEdit::FolderDropped, this, [this](const QString& folder) { Dir1->SetPath(folder); });
  connect(Text2, &PathEdit::FolderDropped, this, [this](const QString& folder) { Dir2->SetPath(folder); });
  Picture1->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Picture1 && event->type() == QEvent::MouseMove) Picture1_MouseMove();
  return QWidget::eventFilter(watched, event);
}

bool Form1::Form_Load() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }

  // The message without RADUDI goes on to say where the program looked.
  std::string looked;
  if (!setup_.givenRadudi.empty()) {
    if (IsRadudiFolder(setup_.givenRadudi)) {
      radudiFolder_ = setup_.givenRadudi;
      if (radudiFolder_.back() != NativePathRules().Separator()) radudiFolder_ += NativePathRules().Separator();
    }
    looked = setup_.givenRadudiBy + " のフォルダ" + window_text::kGivenNotRadudi + setup_.givenRadudi + "\n";
  } else {
    std::vector<std::string> roots;
    for (const Volume& v : setup_.volumes) roots.push_back(v.root);
    bool cancelled = false;
    {
      SearchWindow search(setup_.searchWindowDelayMs);
      radudiFolder_ = FindRadudiFolder(setup_.programFolder, roots, [&](const std::string& folder) {
        cancelled = !search.Visit(folder);
        return !cancelled;
      });
    }
    looked = std::string(window_text::kLookedIn) + "\n  " + JoinPath(setup_.programFolder, "RADUDI") +
             window_text::kBesideProgram + "\n";
    for (const std::string& root : roots) looked += "  " + root + window_text::kEveryFolderBelow + "\n";
    if (cancelled) looked += std::string(window_text::kSearchCancelled) + "\n";
  }
  if (radudiFolder_.empty()) {
    const std::string text = std::string(window_text::kNoRadudi) + "\n\n" + looked + "\n" + window_text::kHowToNameRadudi;
    Message(Q(text), {}, QMessageBox::NoIcon, QMessageBox::Ok);
    return false;
  }

  run_.StatusPending = 0;
  SetStatus(window_text::kRadudiInUse + radudiFolder_);

  // The source list opens on the ganban folder of the source drive.
  const std::string ganban = ResolveCase(JoinPath(DriveRoot(Drive2), window_text::kGanbanFolder));
  std::error_code ec;
  if (std::filesystem::exists(ganban, ec)) Dir2->SetPath(Q(ganban));
  return true;
}

void Form1::Dir1_Change() {
  Text1->setText(Dir1->Path());
  std::error_code ec;
  std::filesystem::current_path(Dir1->Path().toStdString(), ec);
  ShowDriveOf(Drive1, Dir1->Path());
}

void Form1::Dir2_Change() {
  Text2->setText(Dir2->Path());
  std::error_code ec;
  std::filesystem::current_path(Dir2->Path().toStdString(), ec);
  ShowDriveOf(Drive2, Dir2->Path());
}

void Form1::Drive1_Change() {
  const std::string root = DriveRoot(Drive1);
  const QString missing = Q(NativePathRules().GanbanMissingMessage());
  const std::string ganban = ResolveCase(JoinPath(root, window_text::kGanbanFolder));
  if (!Dir1->SetPath(Q(ganban))) Message(missing, {}, QMessageBox::NoIcon, QMessageBox::Ok);
  if (!MakeDriveCurrent(root)) Message(missing, {}, QMessageBox::NoIcon, QMessageBox::Ok);
}

void Form1::Drive2_Change() {
  const std::string root = DriveRoot(Drive2);
  const std::string cwd = CurrentFolder();
  const int here = VolumeIndexOf(setup_.volumes, cwd);
  const bool cwdOnDrive = here >= 0 && setup_.volumes[static_cast<size_t>(here)].root == root;
  Dir2->SetPath(Q(cwdOnDrive ? cwd : root));
  MakeDriveCurrent(root);
}

void Form1::Command1_Click() {
  RunResult result = run_.Run(Text2->text().toStdString(), Text1->text().toStdString());
  SetBusy(false);
  if (result.warnings.empty()) return;
  QStringList lines;
  for (const std::string& w : result.warnings) lines << Q(w);
  QMessageBox box(QMessageBox::Information, windowTitle(), lines.mid(0, kWarningsShown).join('\n'), QMessageBox::Ok,
                  this);
  if (lines.size() > kWarningsShown) {
    box.setText(box.text() + "\n…");
    box.setDetailedText(lines.join('\n'));
  }
  box.exec();
}

void Form1::Command2_Click() { close(); }

void Form1::Picture1_MouseMove() {
  if (run_.StatusPending == 1) {
    Label3->clear();
    run_.StatusPending = 0;
  }
}

void Form1::SetStatus(const std::string& text) { Label3->setText(Q(text)); }

void Form1::ProcessPendingEvents() { QCoreApplication::processEvents(); }

MessageAnswer Form1::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                 MessageButtons buttons) {
  QMessageBox::Icon qIcon = QMessageBox::Information;
  switch (icon) {
    case MessageIcon::Information:
      qIcon = QMessageBox::Information;
      break;
    case MessageIcon::Exclamation:
      qIcon = QMessageBox::Warning;
      break;
    case MessageIcon::Question:
      qIcon = QMessageBox::Question;
      break;
    case MessageIcon::Critical:
      qIcon = QMessageBox::Critical;
      break;
  }
  if (buttons == MessageButtons::Ok) {
    Message(Q(text), Q(title), qIcon, QMessageBox::Ok);
    return MessageAnswer::Ok;
  }
  QMessageBox::StandardButton answer = Message(Q(text), Q(title), qIcon, QMessageBox::Yes | QMessageBox::No);
  return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void Form1::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void Form1::FocusAndSelect(PathBox box) {
  PathEdit* edit = box == PathBox::Source ? Text2 : Text1;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

QMessageBox::StandardButton Form1::Message(const QString& text, const QString& title, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, title.isEmpty() ? windowTitle() : title, text, buttons, this);
  // A title is a path, which the title bar may cut short or not show: it is
  // repeated in full under the message.
  if (!title.isEmpty()) box.setInformativeText(title);
  // A busy pointer would hide that the box waits for an answer.
  const bool wasBusy = busy_;
  if (wasBusy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
  if (wasBusy) QApplication::restoreOverrideCursor();
  return answer;
}

std::string Form1::DriveRoot(const QComboBox* drive) const {
  return drive->currentData().toString().toStdString();
}

void Form1::ShowDriveOf(QComboBox* drive, const QString& path) {
  const int index = VolumeIndexOf(setup_.volumes, path.toStdString());
  if (index < 0 || index == drive->currentIndex()) return;
  const QSignalBlocker quiet(drive);
  drive->setCurrentIndex(index);
}

bool Form1::MakeDriveCurrent(const std::string& root) {
  const int here = VolumeIndexOf(setup_.volumes, CurrentFolder());
  if (here >= 0 && setup_.volumes[static_cast<size_t>(here)].root == root) return true;
  std::error_code ec;
  std::filesystem::current_path(root, ec);
  return !ec;
}

}  // namespace k2v
