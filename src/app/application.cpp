#include "app/application.hpp"

#include <QFont>
#include <QIcon>
#include <QStyleFactory>

#include "app/japanese_texts.hpp"
#include "version.hpp"

namespace k2v {

bool SetUpApplication(QApplication& app) {
  QApplication::setApplicationName("kolbrix2vantor-gui");
  QApplication::setApplicationVersion(K2V_VERSION);
  // The installed desktop entry and icon.
  QGuiApplication::setDesktopFileName("kolbrix2vantor");
  QApplication::setWindowIcon(QIcon::fromTheme("kolbrix2vantor"));
  const bool japanese = InstallJapaneseQtTexts(app);
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
  QFont font;
  font.setFamilies({"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "Sans Serif"});
  font.setPixelSize(12);
  QApplication::setFont(font);
  return japanese;
}

}  // namespace k2v
