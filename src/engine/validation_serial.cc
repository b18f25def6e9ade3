// Job validation of name rule 4, serial numbering: the prefix and suffix, the first number
// and the increment.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/user_interface.h"
#include "engine/validation_checks.h"
#include "platform/decimal_text.h"

namespace morva::validation_internal {
namespace {

// One side of the number: its label in the messages and its two settings.
struct Affix {
  const char* label;
  std::int16_t source;  // 1 the parent directory's name, 2 the string
  std::string_view text;
  const char* source_key;
  const char* text_key;
};

// The value of a text of at most six decimal digits, or -1 for anything else.
int DigitsValue(std::string_view text) { return DigitsOnly(text, 6).value_or(-1); }

}  // namespace

bool CheckSerialRule(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const int page = kPageNameRuleBase + 4;
  const Affix affixes[] = {
      {"接頭", s.fnm_rnb0, s.fnm_rnb1.view(), "FNM_RNB0", "FNM_RNB1"},
      {"接尾", s.fnm_rnb8, s.fnm_rnb9.view(), "FNM_RNB8", "FNM_RNB9"},
  };

  for (const Affix& a : affixes) {
    if (a.source == 2 && HasForbiddenChar(a.text)) {
      return RefuseUtf8(ctx, page, a.text_key,
                        std::string(a.label) + "文字に以下の文字は指定できません。\n" + std::string(kForbiddenCharsText));
    }
  }
  // A drive root has no parent directory whose name could be taken.
  for (const Affix& a : affixes) {
    if (a.source == 1 && ctx.directory_mode() && ctx.target_path().size() == 3) {
      return RefuseUtf8(ctx, page, a.source_key,
                        std::string(a.label) +
                            "文字を親ディレクトリ名にする場合、ルートディレクトリを指定しての変換はできません。");
    }
  }

  if (s.fnm_rnb2.empty()) return RefuseUtf8(ctx, page, "FNM_RNB2", "連番の初回番号が指定されていません。");
  const int first = DigitsValue(s.fnm_rnb2.view());
  if (first < 0 || first > 99999) {
    return RefuseUtf8(ctx, page, "FNM_RNB2", "連番の初回番号は0～99999の範囲で指定してください。");
  }

  const std::string_view step = s.fnm_rnba.view();
  if (step.empty()) return RefuseUtf8(ctx, page, "FNM_RNBA", "連番の増分値が指定されていません。");
  const bool negative = step[0] == '-';
  const std::string_view digits = step.substr(negative ? 1 : 0);
  for (char c : digits) {
    if (c < '0' || c > '9') return RefuseUtf8(ctx, page, "FNM_RNBA", "連番の増分値の指定が不正です。");
  }
  // "-" alone counts as 0.
  const int magnitude = digits.empty() ? 0 : DigitsValue(digits);
  if (magnitude == 0 || magnitude < 0 || magnitude > 99) {
    return RefuseUtf8(ctx, page, "FNM_RNBA", "連番の増分値は-99～99の範囲で、かつ0以外を指定してください。");
  }
  return true;
}

}  // namespace morva::validation_internal
