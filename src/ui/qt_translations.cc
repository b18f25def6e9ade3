#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace morva {

std::unique_ptr<QTranslator> InstallQtJapanese() {
  auto translator = std::make_unique<QTranslator>();
  // The window is Japanese on every locale, so Qt's texts are too: the language is fixed, not the
  // system's.
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator.get())) {
    return nullptr;
  }
  return translator;
}

}  // namespace morva
