#ifndef MORVA_UI_QT_TRANSLATIONS_H_
#define MORVA_UI_QT_TRANSLATIONS_H_

#include <memory>

class QTranslator;

namespace morva {

// Qt's own Japanese texts (qtbase_ja.qm from Qt's translations directory, Debian's
// qt6-translations-l10n): the buttons of message boxes ("はい", "いいえ") and the file and folder
// choosers speak the language of the rest of the window, whatever the system's locale. Installed in the
// running application; it stays installed while the returned translator lives. Null when the file is
// not there (the program then runs with Qt's English texts).
std::unique_ptr<QTranslator> InstallQtJapanese();

}  // namespace morva

#endif  // MORVA_UI_QT_TRANSLATIONS_H_
