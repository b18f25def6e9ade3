#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace morva {
namespace {

// Where the build puts the program's compiled translations among its resources.
constexpr char kProgramTranslations[] = ":/morva/translations";

std::unique_ptr<QTranslator> Install(const QLocale& locale, const QString& name, const QString& directory) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, name, QStringLiteral("_"), directory) ||
      !QCoreApplication::installTranslator(translator.get())) {
    return nullptr;
  }
  return translator;
}

}  // namespace

InstalledTranslations::~InstalledTranslations() {
  // Removed before they are deleted: the application would otherwise keep asking a dead translator.
  if (program_ != nullptr) QCoreApplication::removeTranslator(program_.get());
  if (qt_ != nullptr) QCoreApplication::removeTranslator(qt_.get());
}

InstalledTranslations InstallTranslations(UiLanguage language) {
  InstalledTranslations installed;
  // The language is the program's choice, not what Qt makes of the locale: fixed here.
  const QLocale locale = language == UiLanguage::kJapanese ? QLocale(QLocale::Japanese, QLocale::Japan)
                                                           : QLocale(QLocale::English, QLocale::UnitedStates);
  installed.qt_ = Install(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (language == UiLanguage::kEnglish) {
    installed.program_ = Install(locale, QStringLiteral("morva"), QString::fromLatin1(kProgramTranslations));
  }
  return installed;
}

}  // namespace morva
