#include "engine/validation.h"

#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/user_interface.h"
#include "engine/validation_checks.h"

namespace morva {
namespace {

using validation_internal::ValidationContext;

// A name rule as validation sees it: the label under which it is refused while its conversion is not
// built, and the check of its own settings (null while the rule is not available).
struct NameRuleEntry {
  const char* label;
  bool (*check)(ValidationContext& ctx);
};

// Indexed by NameRule.
constexpr NameRuleEntry kNameRules[] = {
    {"", nullptr},  // no name change
    {"名称一般変換", validation_internal::CheckGeneralRule},
    {"名称全角／半角変換", validation_internal::CheckWidthRule},
    {"名称文字列置換", validation_internal::CheckReplaceRule},
    {"連番による名称変換", validation_internal::CheckSerialRule},
    {"日時による名称変換", validation_internal::CheckDateRule},
    {"ID3情報による名称変換", validation_internal::CheckId3Rule},
    {"変換制御文による名称変換", validation_internal::CheckControlRule},
    {"置換パターンCSVによる名称変換", validation_internal::CheckCsvRule},
};
static_assert(std::size(kNameRules) == static_cast<std::size_t>(NameRule::kCsv) + 1);

const NameRuleEntry& EntryOf(NameRule rule) { return kNameRules[static_cast<std::size_t>(rule)]; }

// The jobs other than the name job, and whether the run can carry them out yet.
struct OtherJob {
  bool JobSwitches::*on;
  int page;
  const char* key;
  const char* label;
  bool available;
};

constexpr OtherJob kOtherJobs[] = {
    {&JobSwitches::attributes, kPageAttributes, "SW_ATR", "属性変換", true},
    {&JobSwitches::times, kPageTimes, "SW_DTT", "日時変換", true},
    {&JobSwitches::deletion, kPageDeletion, "SW_DEL", "ファイル削除", true},
    {&JobSwitches::id3, kPageId3, "SW_ID3", "ID3情報変換", true},
};

bool RefuseUnavailable(ValidationContext& ctx, int page, const char* key, std::string_view label) {
  return validation_internal::RefuseUtf8(ctx, page, key,
                                         "この変換機能はまだ使用できません。（" + std::string(label) + "）");
}

// A job whose conversion is not built yet is refused before anything else of it is looked at.
bool CheckAvailable(ValidationContext& ctx) {
  if (ctx.jobs.name) {
    const int stored = ctx.job.settings.sw_fnm;
    const std::optional<NameRule> rule = NameRuleOf(stored);
    if (!rule) {
      // The settings reader never stores such a rule; refuse it rather than index past the table.
      return RefuseUnavailable(ctx, kPageNameSelector, "SW_FNM", std::to_string(stored));
    }
    const NameRuleEntry& entry = EntryOf(*rule);
    if (entry.check == nullptr) return RefuseUnavailable(ctx, kPageNameSelector, "SW_FNM", entry.label);
  }
  for (const OtherJob& job : kOtherJobs) {
    if (ctx.jobs.*job.on && !job.available) return RefuseUnavailable(ctx, job.page, job.key, job.label);
  }
  return true;
}

// The checks in order; false once one has decided the verdict against the job.
bool RunChecks(ValidationContext& ctx) {
  if (!ctx.job_only) {
    const bool targets_ok = ctx.directory_mode() ? validation_internal::CheckDirectoryTargets(ctx)
                                                 : validation_internal::CheckFileList(ctx);
    if (!targets_ok) return false;
  }
  if (!validation_internal::CheckJobCombination(ctx)) return false;

  // Only numbering, date naming and a statement's serial sort the targets; a job validated before must
  // not leave its order.
  ctx.run.sort = SortParameters{};
  if (!CheckAvailable(ctx)) return false;
  if (!ctx.jobs.name) return true;

  // CheckAvailable let only a known rule with a check through.
  if (!EntryOf(*NameRuleOf(ctx.job.settings.sw_fnm)).check(ctx)) return false;
  return validation_internal::CheckNameTargets(ctx);
}

}  // namespace

ValidationVerdict ValidateJob(Host& host, Job& job, RunState& run, bool job_only) {
  ValidationContext ctx(host, job, run, job_only);
  const bool passed = RunChecks(ctx);
  // Every failing check says why; should one not, the job is still not accepted.
  if (!passed && ctx.verdict.accepted()) ctx.verdict.kind = ValidationVerdict::Kind::kRefused;
  return std::move(ctx.verdict);
}

}  // namespace morva
