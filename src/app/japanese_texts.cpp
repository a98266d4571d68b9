#include "app/japanese_texts.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace k2v {

bool InstallJapaneseQtTexts(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace k2v
