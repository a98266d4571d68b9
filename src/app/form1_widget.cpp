#include "app/form1_widget.hpp"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>

#include "app/folder_drop.hpp"
#include "app/folder_list_widget.hpp"
#include "app/path_edit.hpp"
#include "app/status_label.hpp"
#include "window/window_text.hpp"

namespace k2v {

namespace {

// The window was laid out in twips, 15 to a pixel.
int Px(int twips) { return (twips + 7) / 15; }
QRect Twips(int left, int top, int width, int height) { return QRect(Px(left), Px(top), Px(width), Px(height)); }

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// The light grey of the window's background.
const QColor kBackground(192, 192, 192);

constexpr int kSearchFolderWidth = 420;

}  // namespace

Form1Widget::Form1Widget(WindowSetup setup, QWidget* parent) : QWidget(parent) {
  CreateControls();
  model_ = std::make_unique<Form1>(*this, std::move(setup));
  ConnectEvents();
}

Form1Widget::~Form1Widget() { SetBusy(false); }

void Form1Widget::CreateControls() {
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

  auto place = [](QWidget* control, const char* name, QRect where) {
    control->setObjectName(name);
    control->setGeometry(where);
  };
  auto label = [&](QWidget* parent, const char* name, const char* caption, QRect where) {
    auto* l = new QLabel(Q(caption), parent);
    place(l, name, where);
    return l;
  };
  auto frame = [&](QWidget* parent, const char* name, const char* caption, QRect where) {
    auto* f = new QGroupBox(Q(caption), parent);
    place(f, name, where);
    return f;
  };

  Label2 = label(Picture1, "Label2", window_text::kSourceLabel, Twips(240, 300, 2085, 315));
  Text2 = new PathEdit(Picture1);
  place(Text2, "Text2", Twips(2400, 240, 6255, 405));
  Label1 = label(Picture1, "Label1", window_text::kDestinationLabel, Twips(240, 900, 2055, 315));
  Text1 = new PathEdit(Picture1);
  place(Text1, "Text1", Twips(2400, 840, 6255, 405));
  Label2->setBuddy(Text2);
  Label1->setBuddy(Text1);

  Frame2 = frame(Picture1, "Frame2", window_text::kSourceFrame, Twips(1200, 1620, 3135, 2895));
  Dir2 = new FolderListWidget(Frame2);
  place(Dir2, "Dir2", Twips(240, 420, 2595, 1530));
  Drive2 = new QComboBox(Frame2);
  place(Drive2, "Drive2", Twips(240, 2220, 2595, 390));

  Frame1 = frame(Picture1, "Frame1", window_text::kDestinationFrame, Twips(4980, 1620, 2895, 2895));
  Dir1 = new FolderListWidget(Frame1);
  place(Dir1, "Dir1", Twips(240, 420, 2415, 1530));
  Drive1 = new QComboBox(Frame1);
  place(Drive1, "Drive1", Twips(240, 2220, 2415, 390));

  Frame3 = frame(Picture1, "Frame3", window_text::kMessageFrame, Twips(240, 4740, 8475, 675));
  Label3 = new StatusLabel(Frame3);
  place(Label3, "Label3", Twips(180, 240, 8175, 315));

  Command1 = new QPushButton(Q(window_text::kExecute), Picture1);
  place(Command1, "Command1", Twips(2520, 5580, 1935, 555));
  Command2 = new QPushButton(Q(window_text::kExit), Picture1);
  place(Command2, "Command2", Twips(5160, 5580, 2055, 555));

  // Source, then destination, then the lists of each, then the buttons.
  setTabOrder(Text2, Text1);
  setTabOrder(Text1, Dir2);
  setTabOrder(Dir2, Drive2);
  setTabOrder(Drive2, Dir1);
  setTabOrder(Dir1, Drive1);
  setTabOrder(Drive1, Command1);
  setTabOrder(Command1, Command2);
}

void Form1Widget::ConnectEvents() {
  Form1* m = model_.get();
  for (Side side : {Side::Source, Side::Destination}) {
    connect(DirOf(side), &FolderListWidget::RowOpened, this, [m, side](int row) { m->FolderRowOpened(side, row); });
    connect(DirOf(side), &FolderListWidget::UpPressed, this, [m, side] { m->FolderUp(side); });
    for (QWidget* target : {static_cast<QWidget*>(TextOf(side)), static_cast<QWidget*>(DirOf(side))}) {
      connect(new FolderDrop(target), &FolderDrop::Dropped, this,
              [m, side](const QString& path) { m->PathDropped(side, path.toStdString()); });
    }
    // Every pick of a drive, the one shown included.
    connect(DriveOf(side), &QComboBox::activated, this, [m, side](int index) { m->DriveChosen(side, index); });
  }
  connect(Command1, &QPushButton::clicked, this, [m] { m->Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [m] { m->Command2_Click(); });
  Picture1->installEventFilter(this);
}

bool Form1Widget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Picture1 && event->type() == QEvent::MouseMove) model_->Picture1_MouseMove();
  return QWidget::eventFilter(watched, event);
}

void Form1Widget::Centre() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

void Form1Widget::Close() { close(); }

void Form1Widget::ProcessPendingEvents() { QCoreApplication::processEvents(); }

std::string Form1Widget::PathText(Side side) const { return TextOf(side)->text().toStdString(); }

void Form1Widget::SetPathText(Side side, const std::string& text) { TextOf(side)->setText(Q(text)); }

void Form1Widget::SetStatusText(const std::string& text) { Label3->SetFullText(Q(text)); }

void Form1Widget::ShowFolderRows(Side side, const std::vector<FolderRow>& rows) { DirOf(side)->ShowRows(rows); }

void Form1Widget::ShowDriveRows(Side side, const std::vector<DriveRow>& rows) {
  QComboBox* drive = DriveOf(side);
  const QSignalBlocker quiet(drive);
  drive->clear();
  for (const DriveRow& row : rows) {
    drive->addItem(Q(row.text));
    if (!row.tip.empty()) drive->setItemData(drive->count() - 1, Q(row.tip), Qt::ToolTipRole);
  }
}

void Form1Widget::ShowDrive(Side side, int index) {
  const QSignalBlocker quiet(DriveOf(side));
  DriveOf(side)->setCurrentIndex(index);
}

MessageAnswer Form1Widget::ShowMessage(const MessageBoxContent& box) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  if (box.icon) {
    switch (*box.icon) {
      case MessageIcon::Information: icon = QMessageBox::Information; break;
      case MessageIcon::Exclamation: icon = QMessageBox::Warning; break;
      case MessageIcon::Question: icon = QMessageBox::Question; break;
      case MessageIcon::Critical: icon = QMessageBox::Critical; break;
    }
  }
  const QMessageBox::StandardButtons buttons = box.buttons == MessageButtons::Ok ? QMessageBox::Ok
                                                                                 : QMessageBox::Yes | QMessageBox::No;
  QMessageBox message(icon, Q(box.title), Q(box.text), buttons, this);
  if (!box.informative.empty()) message.setInformativeText(Q(box.informative));
  if (!box.details.empty()) message.setDetailedText(Q(box.details));
  return message.exec() == QMessageBox::Yes  ? MessageAnswer::Yes
         : box.buttons == MessageButtons::Ok ? MessageAnswer::Ok
                                             : MessageAnswer::No;
}

void Form1Widget::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void Form1Widget::FocusAndSelect(Side side) {
  PathEdit* edit = TextOf(side);
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

void Form1Widget::ShowSearchProgress(const std::string& folder) {
  if (!search_) {
    search_ = std::make_unique<QProgressDialog>();
    search_->setWindowTitle(Q(window_text::kCaption));
    search_->setCancelButtonText(Q(window_text::kCancel));
    search_->setRange(0, 0);
    search_->setMinimumDuration(0);
    search_->setMinimumWidth(kSearchFolderWidth + 60);
    search_->setAutoClose(false);
    search_->setAutoReset(false);
    search_->show();
  }
  const QString shown = QFontMetrics(search_->font()).elidedText(Q(folder), Qt::ElideMiddle, kSearchFolderWidth);
  search_->setLabelText(Q(window_text::kSearching) + "\n" + shown);
}

bool Form1Widget::SearchCancelled() { return search_ && search_->wasCanceled(); }

void Form1Widget::EndSearch() { search_.reset(); }

}  // namespace k2v
