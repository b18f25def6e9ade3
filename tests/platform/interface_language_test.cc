#include "platform/interface_language.h"

#include <gtest/gtest.h>

namespace morva {
namespace {

constexpr UiLanguage kJa = UiLanguage::kJapanese;
constexpr UiLanguage kEn = UiLanguage::kEnglish;

TEST(UiLanguageTest, ChosenAsGettextChoosesTheLanguageOfMessages) {
  struct Case {
    LocaleVariables variables;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
    UiLanguage expected;
  };
  const Case cases[] = {
      // Nothing set, C, POSIX, C with a codeset: English, and LANGUAGE is ignored there.
      {{"", "", "", ""}, kEn},
      {{"ja", "", "", ""}, kEn},
      {{"", "", "", "C"}, kEn},
      {{"ja", "", "", "C"}, kEn},
      {{"ja", "POSIX", "", ""}, kEn},
      {{"ja:en", "", "", "C.UTF-8"}, kEn},
      // The locale alone.
      {{"", "", "", "ja"}, kJa},
      {{"", "", "", "ja_JP.UTF-8"}, kJa},
      {{"", "", "", "ja_JP.eucJP@x"}, kJa},
      {{"", "", "", "en_US.UTF-8"}, kEn},
      {{"", "", "", "de_DE.UTF-8"}, kEn},
      {{"", "", "", "jan"}, kEn},
      // LC_ALL over LC_MESSAGES over LANG, each only when set.
      {{"", "en_GB.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8"}, kEn},
      {{"", "", "ja_JP.UTF-8", "en_US.UTF-8"}, kJa},
      {{"", "", "en_US.UTF-8", "ja_JP.UTF-8"}, kEn},
      {{"", "ja_JP.UTF-8", "C", "C"}, kJa},
      {{"", "C", "ja_JP.UTF-8", "ja_JP.UTF-8"}, kEn},
      // LANGUAGE over the locale when the locale is not C: its first entry the program speaks decides.
      {{"ja", "", "", "en_US.UTF-8"}, kJa},
      {{"ja:en", "", "", "de_DE.UTF-8"}, kJa},
      {{"en:ja", "", "", "ja_JP.UTF-8"}, kEn},
      {{"fr:de:ja_JP", "", "", "en_US.UTF-8"}, kJa},
      {{"fr", "", "", "ja_JP.UTF-8"}, kJa},
      {{"fr:de", "", "", "de_DE.UTF-8"}, kEn},
      {{":ja:", "", "", "en_US.UTF-8"}, kJa},
      {{"en", "", "", "ja_JP.UTF-8"}, kEn},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseUiLanguage(c.variables), c.expected)
        << "LANGUAGE=" << c.variables.language << " LC_ALL=" << c.variables.lc_all
        << " LC_MESSAGES=" << c.variables.lc_messages << " LANG=" << c.variables.lang;
  }
}

}  // namespace
}  // namespace morva
