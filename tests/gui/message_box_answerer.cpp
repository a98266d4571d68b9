#include "message_box_answerer.hpp"

#include <QAbstractButton>
#include <QApplication>

namespace k2v::test {

MessageBoxAnswerer::MessageBoxAnswerer() {
  connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::AnswerOpenBoxes);
  timer_.start(5);
}

void MessageBoxAnswerer::AnswerOpenBoxes() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box || !box->isVisible() || box->property("answered").toBool()) continue;
    box->setProperty("answered", true);
    QStringList buttonTexts;
    for (QAbstractButton* button : box->buttons()) buttonTexts << button->text();
    seen.push_back(SeenMessage{box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
                               box->informativeText(), buttonTexts});
    QMessageBox::StandardButton answer = box->standardButtons() & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    if (QAbstractButton* button = box->button(answer)) {
      button->click();
    } else {
      box->reject();
    }
  }
}

}  // namespace k2v::test
