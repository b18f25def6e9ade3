// Job validation: which jobs go together, and the settings of the jobs other than the name
// job that cannot work as they stand.

#include <string>

#include "core/user_interface.h"
#include "engine/validation_checks.h"
#include "fileops/date_time_text.h"

namespace morva::validation_internal {
namespace {

// The direct date and time of each time that is set directly must be a real moment; the focus goes to
// the last one that is not, on its date when the date is at fault, else on its time.
bool CheckDirectTimes(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  std::string focus;
  for (int i = 0; i < 3; ++i) {
    if (s.sw_dtt[i] != 1) continue;
    const std::string_view date = s.dtt_date[i].view();
    if (validate_date_time(date, s.dtt_time[i].view(), false)) continue;
    const bool date_ok = !date.empty() && validate_date_time(date, "", true);
    focus = "DTT_" + std::to_string(i + 1) + (date_ok ? "2" : "1");
  }
  if (focus.empty()) return true;
  return RefuseUtf8(ctx, kPageTimes, focus, "日時直接指定の形式が不正です。");
}

// The direct strings and the file-name elements must give each converted ID3 item a value, and the
// separator must be usable; at least one tag version must be handled.
bool CheckId3Sources(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  for (int i = 0; i < 7; ++i) {
    const int source = s.sw_id3[i];
    if (source == 10 && (!s.id3_str[i] || s.id3_str[i]->empty())) {
      return RefuseUtf8(ctx, kPageId3, "ID3_STR" + std::to_string(i),
                        "「文字列直接指定」での文字列が指定されていません。");
    }
    if (source >= 2 && source <= 5 && s.id3_spr.empty()) {
      return RefuseUtf8(ctx, kPageId3, "ID3_SPR", "ファイル名要素の区切り文字が指定されていません。");
    }
  }
  if (HasForbiddenChar(s.id3_spr.view())) {
    return Refuse(ctx, kPageId3, "ID3_SPR",
                  Cp932(ctx.host, "ファイル名要素の区切り文字に以下の文字は指定できません。\n") +
                      std::string(kForbiddenCharsText));
  }
  if (s.id3_cts == 0) return RefuseUtf8(ctx, kPageId3, "ID3_CTS", "変更対象ID3バージョンの指定が１つもありません。");
  return true;
}

}  // namespace

bool CheckJobCombination(ValidationContext& ctx) {
  const JobSwitches& jobs = ctx.jobs;
  const auto& sw_set = ctx.job.app.sw_set;
  const auto& sw_del = ctx.job.settings.sw_del;

  if (!jobs.any()) return RefuseUtf8(ctx, kPageNameSelector, "SW_FNM", "変換機能が指定されていません。");
  if (jobs.deletion && (jobs.name || jobs.attributes || jobs.times || jobs.id3)) {
    return RefuseUtf8(ctx, kPageDeletion, FlagKey("SW_DEL", 0), "ファイル削除と他の変換機能は同時に指定できません。");
  }
  if (jobs.id3 && (jobs.name || jobs.attributes || jobs.times)) {
    return RefuseUtf8(ctx, kPageId3, "SW_ID3", "ID3情報変換と他の変換機能は同時に指定できません。");
  }
  if (jobs.times && !CheckDirectTimes(ctx)) return false;
  if (jobs.deletion && ctx.directory_mode()) {
    if (sw_set[AppSettings::kSetDirectories] && sw_set[AppSettings::kSetDirectoriesOnly]) {
      return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetDirectoriesOnly),
                        "ファイル削除の場合、「ディレクトリのみを対象」の指定はできません。");
    }
    if (sw_del[0] && sw_del[1] && sw_del[2] && sw_set[AppSettings::kSetDirectories] &&
        !sw_set[AppSettings::kSetRecurse]) {
      return RefuseUtf8(
          ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetRecurse),
          "「ディレクトリも対象」指定での復元不可削除の場合、「サブディレクトリ内も対象にする」の指定が必須です。");
    }
  }
  if (jobs.id3) {
    if (!CheckId3Sources(ctx)) return false;
    if (ctx.directory_mode() && sw_set[AppSettings::kSetDirectories]) {
      return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetDirectories),
                        "ID3情報変換の場合、「ディレクトリも対象」の指定はできません。");
    }
    if (ctx.directory_mode() && sw_set[AppSettings::kSetExifOnly]) {
      return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetExifOnly),
                        "ID3情報変換の場合、「Exif情報があるファイルのみを対象」の指定はできません。");
    }
  }
  return true;
}

}  // namespace morva::validation_internal
