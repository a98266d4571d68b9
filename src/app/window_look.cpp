#include "app/window_look.hpp"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace k2v {

void UseWindowLook() {
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
  QFont font;
  font.setFamilies({"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "Sans Serif"});
  font.setPixelSize(12);
  QApplication::setFont(font);
}

}  // namespace k2v
