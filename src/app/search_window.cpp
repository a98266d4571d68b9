#include "app/search_window.hpp"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressDialog>

#include "app/window_text.hpp"

namespace k2v {

namespace {

// Events are let through this often; once per folder would slow the walk
// down without making the desktop any smoother.
constexpr qint64 kEventIntervalMs = 20;
constexpr int kFolderTextWidth = 420;

}  // namespace

SearchWindow::SearchWindow(int delayMs) : delayMs_(delayMs) { started_.start(); }

SearchWindow::~SearchWindow() = default;

void SearchWindow::Show() {
  window_ = std::make_unique<QProgressDialog>();
  window_->setWindowTitle(QString::fromUtf8(window_text::kCaption));
  window_->setCancelButtonText(QString::fromUtf8(window_text::kCancel));
  window_->setRange(0, 0);
  window_->setMinimumDuration(0);
  window_->setMinimumWidth(kFolderTextWidth + 60);
  window_->setAutoClose(false);
  window_->setAutoReset(false);
  window_->show();
}

bool SearchWindow::Visit(const std::string& folder) {
  const bool cancelled = window_ && window_->wasCanceled();
  if (cancelled) return false;
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs) return true;
  sinceEvents_.start();
  if (!window_ && started_.elapsed() >= delayMs_) Show();
  if (window_) {
    const QString path = QString::fromStdString(folder);
    const QString shown = QFontMetrics(window_->font()).elidedText(path, Qt::ElideMiddle, kFolderTextWidth);
    window_->setLabelText(QString::fromUtf8(window_text::kSearching) + "\n" + shown);
  }
  QCoreApplication::processEvents();
  return !(window_ && window_->wasCanceled());
}

}  // namespace k2v
