// Job validation of the name rules that read media files: rule 5, date naming, and rule 6,
// naming by ID3 tags.

#include <string>
#include <string_view>

#include "core/user_interface.h"
#include "engine/validation_checks.h"

namespace morva::validation_internal {
namespace {

bool RefuseForbidden(ValidationContext& ctx, int page, const char* key, const char* subject) {
  return RefuseUtf8(ctx, page, key, std::string(subject) + "に以下の文字は指定できません。\n" + std::string(kForbiddenCharsText));
}

}  // namespace

bool CheckDateRule(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const int page = kPageNameRuleBase + 5;

  if (s.fnm_hdk0 == 2 && HasForbiddenChar(s.fnm_hdk1.view())) {
    return RefuseForbidden(ctx, page, "FNM_HDK1", "接頭文字");
  }
  // A drive root has no parent directory whose name could be taken.
  if (s.fnm_hdk0 == 1 && ctx.directory_mode() && ctx.target_path().size() == 3) {
    return RefuseUtf8(ctx, page, "FNM_HDK0",
                      "接頭文字を親ディレクトリ名にする場合、ルートディレクトリを指定しての変換はできません。");
  }
  // The separator stands before the weekday as well as before the time, so it is checked for either.
  if ((s.fnm_hdk_atw & (ConversionSettings::kDateAddTime | ConversionSettings::kDateAddWeekday)) &&
      HasForbiddenChar(s.fnm_hdka.view())) {
    return RefuseForbidden(ctx, page, "FNM_HDKA", "区切り文字");
  }
  if ((s.fnm_hdk_rnb & ConversionSettings::kDateSerial) && HasForbiddenChar(s.fnm_hdkb.view())) {
    return RefuseForbidden(ctx, page, "FNM_HDKB", "区切り文字");
  }
  // Changing the very time the names are made of would make the preview's names a guess.
  const int source = s.fnm_hdk_udt & ConversionSettings::kDateSourceMask;
  const int changed = source == 1 ? s.sw_dtt[0] : source == 2 ? s.sw_dtt[1] : 0;
  if (changed > 0) {
    return RefuseUtf8(ctx, page, "FNM_HDK_UDT",
                      "日時による名称変換を行う場合、使用する日時の日時変換は同時に実行できません。");
  }
  return true;
}

bool CheckId3Rule(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const int page = kPageNameRuleBase + 6;

  if (s.fnm_id31[0] == 0) return RefuseUtf8(ctx, page, FlagKey("FNM_ID31", 0), "ID3情報要素が１つも指定されていません。");
  if (HasForbiddenChar(s.fnm_id32.view())) return RefuseForbidden(ctx, page, "FNM_ID32", "指定文字列");
  if (s.fnm_id32.empty()) {
    for (const std::int16_t element : s.fnm_id31) {
      if (element == 7) {
        return RefuseUtf8(ctx, page, "FNM_ID32",
                          "要素として「指定文字列」を指定した場合、指定文字列に空白は指定できません。");
      }
    }
  }
  if (HasForbiddenChar(s.fnm_id33.view())) return RefuseForbidden(ctx, page, "FNM_ID33", "区切り文字");
  return true;
}

}  // namespace morva::validation_internal
