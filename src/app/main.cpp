// kolbrix2vantor-gui: the converter's window.

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include "app/form1.hpp"
#include "platform/files.hpp"
#include "platform/radudi_search.hpp"
#include "platform/volumes.hpp"

int main(int argc, char** argv) {
  k2v::IgnoreFileSizeSignal();
  QApplication app(argc, argv);
  QApplication::setApplicationName("kolbrix2vantor-gui");
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
  // A Japanese Gothic face at the size the layout was drawn for.
  QFont font;
  font.setFamilies({"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "Sans Serif"});
  font.setPixelSize(12);
  QApplication::setFont(font);

  k2v::WindowSetup setup;
  setup.volumes = k2v::MountedVolumes();
  setup.programFolder = k2v::ProgramFolder();
  setup.runOptions = k2v::RunOptions{k2v::SysDir()};

  k2v::Form1 window(setup);
  if (!window.Form_Load()) return 1;
  window.show();
  return QApplication::exec();
}
