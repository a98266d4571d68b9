#include "app/status_label.hpp"

#include <QFontMetrics>

namespace k2v {

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {}

void StatusLabel::SetFullText(const QString& text) {
  fullText_ = text;
  Elide();
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void StatusLabel::Elide() {
  const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideMiddle, contentsRect().width());
  setText(shown);
  setToolTip(shown == fullText_ ? QString() : fullText_);
}

}  // namespace k2v
