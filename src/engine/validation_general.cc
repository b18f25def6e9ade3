// Job validation of name rule 1, general conversion: combinations of its parts that would
// do nothing or undo each other.

#include <algorithm>

#include "core/user_interface.h"
#include "engine/validation_checks.h"

namespace morva::validation_internal {
namespace {

using Settings = ConversionSettings;
constexpr unsigned kCase = Settings::kGeneralCase, kDeletion = Settings::kGeneralDeletion;
constexpr unsigned kBrackets = Settings::kGeneralBrackets, kPadding = Settings::kGeneralPadding;
constexpr int kDigits = Settings::kDeletedDigits, kLetters = Settings::kDeletedLetters;
constexpr int kOthers = Settings::kDeletedOthers;
// Other bits of FNM_IPNG name no class and are ignored here as the rule ignores them.
constexpr int kAllClasses = Settings::kDeletedSpaces | kDigits | kLetters | kOthers;
constexpr unsigned kFullWidth = Settings::kGeneralFullWidth, kHalfWidth = Settings::kGeneralHalfWidth;

}  // namespace

bool CheckGeneralRule(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const int page = kPageNameRuleBase + 1;
  const unsigned parts = s.fnm_ipn_sel;
  const int classes = s.fnm_ipng & kAllClasses;
  const bool deletion = parts & kDeletion;

  if ((parts & (kCase | kDeletion | kBrackets | kPadding)) == 0) {
    return RefuseUtf8(ctx, page, "FNM_IPN_SEL", "名称一般変換で変換機能が指定されていません。");
  }
  if ((parts & (kCase | kBrackets)) && s.fnm_ipn_tgc == 0) {
    return RefuseUtf8(ctx, page, "FNM_IPN_TGC", "対象文字（全角／半角）が指定されていません。");
  }
  if (deletion && classes == 0) {
    return RefuseUtf8(ctx, page, "FNM_IPNG", "特定文字の削除の削除対象文字種別が１つも指定されていません。");
  }
  if (deletion && classes == kAllClasses && s.fnm_ipn_tgc == (kFullWidth | kHalfWidth)) {
    return RefuseUtf8(
        ctx, page, "FNM_IPN_TGC",
        "特定文字の削除で削除対象文字種別全てを指定した場合、対象文字に全角と半角両方を指定することはできません。");
  }
  if (deletion && (classes & kDigits) && (parts & kPadding)) {
    return RefuseUtf8(ctx, page, "FNM_IPNG",
                      "特定文字の削除に「数字」を指定して「半角数字の0埋め桁揃え」変換を同時に行うことはできません。");
  }
  if (deletion && (classes & kLetters) && (parts & kCase)) {
    return RefuseUtf8(ctx, page, "FNM_IPNG",
                      "特定文字の削除に「英字」を指定して「大文字／小文字変換」変換を同時に行うことはできません。");
  }
  if (deletion && (classes & kOthers) && (parts & kBrackets)) {
    return RefuseUtf8(ctx, page, "FNM_IPNG",
                      "特定文字の削除に「その他」を指定して「括弧の処理」変換を同時に行うことはできません。");
  }
  if ((parts & kBrackets) && std::none_of(s.sw_kakko.begin(), s.sw_kakko.end(), [](bool on) { return on; })) {
    return RefuseUtf8(ctx, page, "SW_KAKKO", "括弧の処理の対象括弧が１つも指定されていません。");
  }
  if ((parts & kPadding) && !(s.fnm_ipn_tgc & kHalfWidth)) {
    return RefuseUtf8(ctx, page, "FNM_IPN_TGC",
                      "半角数字の0埋め桁揃えを行う場合、対象文字として半角文字の指定が必須です。");
  }
  return true;
}

}  // namespace morva::validation_internal
