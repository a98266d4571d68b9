#include "app/laid_out_window.hpp"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "app/folder_list_widget.hpp"
#include "app/path_edit.hpp"
#include "app/status_label.hpp"

namespace k2v {

namespace {

// The view draws at 96 dots per inch.
constexpr int kDpi = 96;

QWidget* MakeControl(const ControlPlace& c, QWidget* parent) {
  const QString caption = QString::fromUtf8(c.caption);
  switch (c.kind) {
    case ControlKind::Picture: {
      auto* picture = new QWidget(parent);
      picture->setAutoFillBackground(true);
      picture->setMouseTracking(true);
      return picture;
    }
    case ControlKind::Label: return new QLabel(caption, parent);
    case ControlKind::StatusLine: return new StatusLabel(parent);
    case ControlKind::TextBox: return new PathEdit(parent);
    case ControlKind::Frame: return new QGroupBox(caption, parent);
    case ControlKind::FolderList: return new FolderListWidget(parent);
    case ControlKind::DriveList: return new QComboBox(parent);
    case ControlKind::Button: return new QPushButton(caption, parent);
    case ControlKind::ProgressBar: return new QProgressBar(parent);
    case ControlKind::Table: {
      auto* table = new QTableWidget(parent);
      table->setEditTriggers(QAbstractItemView::NoEditTriggers);
      table->setSelectionBehavior(QAbstractItemView::SelectRows);
      table->verticalHeader()->hide();
      // One line a row: a long message ends in "…" and shows whole on hover.
      table->setWordWrap(false);
      table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
      return table;
    }
  }
  return new QWidget(parent);
}

}  // namespace

QRect PixelRect(const ControlPlace& place) {
  return QRect(TwipsToPixels(place.left, kDpi), TwipsToPixels(place.top, kDpi), TwipsToPixels(place.width, kDpi),
               TwipsToPixels(place.height, kDpi));
}

std::map<std::string, QWidget*> LayOutWindow(QWidget* window, const WindowLayout& layout) {
  window->setWindowTitle(QString::fromUtf8(layout.caption));
  window->setFixedSize(TwipsToPixels(layout.clientWidth, kDpi), TwipsToPixels(layout.clientHeight, kDpi));
  QPalette grey = window->palette();
  const QColor background(layout.background.red, layout.background.green, layout.background.blue);
  grey.setColor(QPalette::Window, background);
  grey.setColor(QPalette::Button, background);
  window->setPalette(grey);
  window->setAutoFillBackground(true);

  std::map<std::string, QWidget*> controls;
  QWidget* previous = nullptr;
  for (const ControlPlace& c : layout.controls) {
    QWidget* parent = c.container.empty() ? window : controls.at(std::string(c.container));
    QWidget* control = MakeControl(c, parent);
    control->setObjectName(c.name);
    control->setGeometry(PixelRect(c));
    controls[c.name] = control;
    if (control->focusPolicy() & Qt::TabFocus) {
      if (previous) QWidget::setTabOrder(previous, control);
      previous = control;
    }
  }
  return controls;
}

}  // namespace k2v
