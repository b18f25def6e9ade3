#include "platform/interface_language.h"

#include <cstdlib>
#include <optional>

namespace morva {
namespace {

// The language part of a locale name: "ja" of "ja_JP.UTF-8@x".
std::string_view LanguagePart(std::string_view locale) {
  const std::size_t end = locale.find_first_of("_.@");
  return end == std::string_view::npos ? locale : locale.substr(0, end);
}

// The locale that gettext treats as no translation at all.
bool IsPlainLocale(std::string_view locale) {
  return locale.empty() || LanguagePart(locale) == "C" || locale == "POSIX";
}

std::optional<UiLanguage> SpokenLanguage(std::string_view locale) {
  const std::string_view language = LanguagePart(locale);
  if (language == "ja") return UiLanguage::kJapanese;
  if (language == "en") return UiLanguage::kEnglish;
  return std::nullopt;
}

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

UiLanguage ChooseUiLanguage(const LocaleVariables& variables) {
  std::string_view locale = variables.lc_all;
  if (locale.empty()) locale = variables.lc_messages;
  if (locale.empty()) locale = variables.lang;
  if (IsPlainLocale(locale)) return UiLanguage::kEnglish;
  std::string_view preferences = variables.language;
  while (!preferences.empty()) {
    const std::size_t colon = preferences.find(':');
    const std::string_view entry = preferences.substr(0, colon);
    if (const std::optional<UiLanguage> spoken = SpokenLanguage(entry)) return *spoken;
    if (colon == std::string_view::npos) break;
    preferences.remove_prefix(colon + 1);
  }
  return SpokenLanguage(locale).value_or(UiLanguage::kEnglish);
}

UiLanguage UiLanguageOfEnvironment() {
  return ChooseUiLanguage({Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")});
}

}  // namespace morva
