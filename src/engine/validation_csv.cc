// Job validation of name rule 8, replacement patterns from a CSV file: the file's path, and
// the file itself, which is loaded here for the preview or run that follows.

#include <string>

#include "platform/path_utils.h"
#include "core/user_interface.h"
#include "engine/validation_checks.h"
#include "rename/csv_patterns.h"

namespace morva::validation_internal {

bool CheckCsvRule(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const int page = kPageNameRuleBase + 8;
  constexpr const char* kKey = "FNM_CSV_PTH";

  if (s.fnm_csv_pth.empty()) return RefuseUtf8(ctx, page, kKey, "置換パターンCSVファイルパスが指定されていません。");
  const PathClass path_class = ClassifyPath(ctx.host.fs, s.fnm_csv_pth.view());
  if (path_class == kPathInvalid || path_class == kPathMissing) {
    return RefuseUtf8(ctx, page, kKey, "置換パターンCSVファイルパスが不正です。");
  }

  const int result = LoadCsvPatterns(ctx.host.fs, ctx.host.codec, s.fnm_csv_pth.view(), ctx.host.regex,
                                     (s.fnm_csv_opt & ConversionSettings::kCsvCaseSensitive) != 0,
                                     (s.fnm_csv_opt & ConversionSettings::kCsvRegex) != 0, &ctx.run.csv_patterns);
  if (result == kCsvLoaded) return true;
  if (result == kCsvNoMemory) return RefuseUtf8(ctx, page, kKey, "メモリ不足により失敗しました。");
  if (result < 0) return RefuseUtf8(ctx, page, kKey, "置換パターンCSVファイルのオープンに失敗しました。");
  return RefuseUtf8(ctx, page, kKey, "置換パターンCSVファイルの内容が不正です。（" + std::to_string(result) + "行目）");
}

}  // namespace morva::validation_internal
