#pragma once
// Answers the window's message boxes while a test waits in them: records
// each box (text, title, icon, buttons) and presses the next queued answer,
// or OK / No when the queue is empty.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <vector>

namespace k2v::test {

struct SeenMessage {
  QString text;
  QString title;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QString informativeText;
  // The buttons' texts, in the box's order.
  QStringList buttonTexts;
};

class MessageBoxAnswerer : public QObject {
  Q_OBJECT

 public:
  MessageBoxAnswerer();

  std::deque<QMessageBox::StandardButton> answers;
  std::vector<SeenMessage> seen;

 private:
  void AnswerOpenBoxes();

  QTimer timer_;
};

}  // namespace k2v::test
