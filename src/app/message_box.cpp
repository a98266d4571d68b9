#include "app/message_box.hpp"

#include <QMessageBox>

namespace k2v {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

MessageAnswer ShowMessageBox(QWidget* parent, const MessageBoxContent& box) {
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
  QMessageBox message(icon, Q(box.title), Q(box.text), buttons, parent);
  if (!box.informative.empty()) message.setInformativeText(Q(box.informative));
  if (!box.details.empty()) message.setDetailedText(Q(box.details));
  return message.exec() == QMessageBox::Yes  ? MessageAnswer::Yes
         : box.buttons == MessageButtons::Ok ? MessageAnswer::Ok
                                             : MessageAnswer::No;
}

}  // namespace k2v
