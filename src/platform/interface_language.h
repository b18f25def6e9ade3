#ifndef MORVA_PLATFORM_INTERFACE_LANGUAGE_H_
#define MORVA_PLATFORM_INTERFACE_LANGUAGE_H_

#include <string_view>

namespace morva {

// The language the front ends speak. The program's texts are written in Japanese; English is their one
// translation. The files the program writes (log, settings, presets) are Japanese whatever this is.
enum class UiLanguage { kJapanese, kEnglish };

// The locale variables that choose the language of messages, as the environment holds them (empty for
// one that is unset).
struct LocaleVariables {
  std::string_view language;     // LANGUAGE: a colon-separated list of preferences
  std::string_view lc_all;       // LC_ALL
  std::string_view lc_messages;  // LC_MESSAGES
  std::string_view lang;         // LANG
};

// Chooses as gettext chooses the language of messages: the locale of messages is the first non-empty of
// LC_ALL, LC_MESSAGES and LANG. When that locale is C or POSIX (also with a codeset, "C.UTF-8") or
// unset, the language is English and LANGUAGE is ignored. Otherwise the first entry of LANGUAGE whose
// language is one the program speaks decides, and without one the locale itself: Japanese ("ja",
// "ja_JP.UTF-8") for Japanese, English for every other language.
UiLanguage ChooseUiLanguage(const LocaleVariables& variables);

// ChooseUiLanguage over this process's environment.
UiLanguage UiLanguageOfEnvironment();

}  // namespace morva

#endif  // MORVA_PLATFORM_INTERFACE_LANGUAGE_H_
