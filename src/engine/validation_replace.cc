// Job validation of name rule 3, string replacement: the target string or pattern, the
// position and length of a replacement by position, and the replacement text.

#include <string>
#include <string_view>

#include "core/user_interface.h"
#include "engine/validation_checks.h"
#include "platform/decimal_text.h"
#include "platform/regex_service.h"
#include "rename/replace_rule.h"

namespace morva::validation_internal {
namespace {

// The value of a text of decimal digits, or -1 when it is not one (any other byte, or more digits than
// the range checks below could accept).
int NumberOf(std::string_view text) { return DigitsOnly(text, 6).value_or(-1); }

// A pattern is refused when the quick screen finds a slip or the service would not take it: every
// target would fail with it otherwise, one by one.
bool PatternUsable(Host& host, std::string_view pattern, bool ignore_case) {
  return CheckPattern(pattern) && host.regex != nullptr && host.regex->Compiles(pattern, ignore_case);
}

}  // namespace

bool CheckReplaceRule(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const int page = kPageNameRuleBase + 3;

  if (s.fnm_ckn0 != 2) {
    if (s.fnm_ckn1.empty()) return RefuseUtf8(ctx, page, "FNM_CKN1", "置換対象文字列が指定されていません。");
    const bool regex = s.fnm_ckn_tgb & ConversionSettings::kReplaceRegex;
    const bool ignore_case = !(s.fnm_ckn_tgb & ConversionSettings::kReplaceCaseSensitive);
    if (regex && !PatternUsable(ctx.host, s.fnm_ckn1.view(), ignore_case)) {
      return RefuseUtf8(ctx, page, "FNM_CKN1", "正規表現に誤りがあります。");
    }
  } else {
    if (s.fnm_ckn5) {
      if (s.fnm_ckn6.empty()) {
        return RefuseUtf8(ctx, page, "FNM_CKN6", "置換対象の指定バイト目が指定されていません。");
      }
      const int position = NumberOf(s.fnm_ckn6.view());
      if (position < 1 || position > 200) {
        return RefuseUtf8(ctx, page, "FNM_CKN6", "置換対象の指定バイト目は1～200の範囲で指定してください。");
      }
    }
    if (s.fnm_ckn8 == 2) {
      if (s.fnm_ckn9.empty()) {
        return RefuseUtf8(ctx, page, "FNM_CKN9", "置換対象の指定バイト分が指定されていません。");
      }
      const int count = NumberOf(s.fnm_ckn9.view());
      if (count < 0 || count > 200) {
        return RefuseUtf8(ctx, page, "FNM_CKN9", "置換対象の指定バイト分は0～200の範囲で指定してください。");
      }
    }
  }
  if (HasForbiddenChar(s.fnm_ckn3.view())) {
    return RefuseUtf8(ctx, page, "FNM_CKN3",
                      "置換文字列に以下の文字は指定できません。\n" + std::string(kForbiddenCharsText));
  }
  return true;
}

}  // namespace morva::validation_internal
