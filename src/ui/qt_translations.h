#ifndef MORVA_UI_QT_TRANSLATIONS_H_
#define MORVA_UI_QT_TRANSLATIONS_H_

#include <QTranslator>
#include <memory>

#include "platform/interface_language.h"

namespace morva {

// The translators of one language, installed in the running application while this lives.
class InstalledTranslations {
 public:
  InstalledTranslations() = default;
  InstalledTranslations(InstalledTranslations&&) = default;
  InstalledTranslations& operator=(InstalledTranslations&&) = default;
  ~InstalledTranslations();

  // Whether Qt's own texts of the language were found and installed.
  bool has_qt() const { return qt_ != nullptr; }
  // Whether the program's own translation was found and installed (never for Japanese, the language its
  // texts are written in).
  bool has_program() const { return program_ != nullptr; }

 private:
  friend InstalledTranslations InstallTranslations(UiLanguage language);
  std::unique_ptr<QTranslator> qt_;
  std::unique_ptr<QTranslator> program_;
};

// Makes the window speak `language`. The program's texts are Japanese in the source; for English its
// translation (morva_en.qm, built into the program's resources) is installed. Qt's own texts of the
// same language (qtbase_ja.qm or qtbase_en.qm from Qt's translations directory, Debian's
// qt6-translations-l10n) name the buttons of message boxes ("はい", "いいえ") and the file and folder
// choosers in that language whatever Qt makes of the system's locale. A file that is not there is left
// out: the window then shows the text as written.
InstalledTranslations InstallTranslations(UiLanguage language);

}  // namespace morva

#endif  // MORVA_UI_QT_TRANSLATIONS_H_
