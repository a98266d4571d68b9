#include "app/form1_widget.hpp"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>

#include "app/folder_drop.hpp"
#include "app/folder_list_widget.hpp"
#include "app/laid_out_window.hpp"
#include "app/message_box.hpp"
#include "app/path_edit.hpp"
#include "app/status_label.hpp"
#include "window/window_text.hpp"

namespace k2v {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

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
  const std::map<std::string, QWidget*> c = LayOutWindow(this, kForm1Layout);
  Picture1 = c.at("Picture1");
  Label1 = ControlNamed<QLabel>(c, "Label1");
  Label2 = ControlNamed<QLabel>(c, "Label2");
  Label3 = ControlNamed<StatusLabel>(c, "Label3");
  Text1 = ControlNamed<PathEdit>(c, "Text1");
  Text2 = ControlNamed<PathEdit>(c, "Text2");
  Frame1 = ControlNamed<QGroupBox>(c, "Frame1");
  Frame2 = ControlNamed<QGroupBox>(c, "Frame2");
  Frame3 = ControlNamed<QGroupBox>(c, "Frame3");
  Dir1 = ControlNamed<FolderListWidget>(c, "Dir1");
  Dir2 = ControlNamed<FolderListWidget>(c, "Dir2");
  Drive1 = ControlNamed<QComboBox>(c, "Drive1");
  Drive2 = ControlNamed<QComboBox>(c, "Drive2");
  Command1 = ControlNamed<QPushButton>(c, "Command1");
  Command2 = ControlNamed<QPushButton>(c, "Command2");
  Label2->setBuddy(Text2);
  Label1->setBuddy(Text1);
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

MessageAnswer Form1Widget::ShowMessage(const MessageBoxContent& box) { return ShowMessageBox(this, box); }

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
