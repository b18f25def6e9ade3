// Job validation of name rule 2, full-width / half-width conversion: a class set that
// converts nothing, and a full-width kana conversion that could not tell katakana from hiragana.

#include "core/user_interface.h"
#include "engine/validation_checks.h"

namespace morva::validation_internal {
bool CheckWidthRule(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const int page = kPageNameRuleBase + 2;
  const unsigned classes = s.fnm_znk_ctc;

  if (classes == 0) {
    return RefuseUtf8(ctx, page, "FNM_ZNK_CTC", "全角／半角変換の変換対象文字が１つも指定されていません。");
  }
  // A half-width kana letter has both a katakana and a hiragana full-width form.
  if (s.fnm_znk0 == 1 && (classes & ConversionSettings::kWidthKatakana) &&
      (classes & ConversionSettings::kWidthHiragana)) {
    return RefuseUtf8(ctx, page, "FNM_ZNK_CTC",
                      "全角変換時、変換対象に「カタカナ」と「ひらがな」の両方を同時に指定できません。");
  }
  return true;
}

}  // namespace morva::validation_internal
