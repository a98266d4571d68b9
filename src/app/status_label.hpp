#pragma once
// The status line (Label3): a text too long for it is shortened in the
// middle with "…", and the whole text shows on hover.

#include <QLabel>
#include <QString>

namespace k2v {

class StatusLabel : public QLabel {
  Q_OBJECT

 public:
  explicit StatusLabel(QWidget* parent = nullptr);

  void SetFullText(const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString fullText_;
};

}  // namespace k2v
