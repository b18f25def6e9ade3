// Job validation: extension handling and directories for the name job, and the sort
// parameters the enumeration takes from the name rule.

#include <optional>
#include <string>

#include "core/user_interface.h"
#include "engine/validation_checks.h"

namespace morva::validation_internal {
namespace {

// What the later checks call the conversion ("…を行う場合、"), or empty for a conversion that works
// the same on any target: only numbering, dates, tags, statements, patterns, zero padding and
// replacement by position depend on the extension being apart and on what the targets are.
std::string Subject(const ConversionSettings& s) {
  const std::optional<NameRule> rule = NameRuleOf(s.sw_fnm);
  if (!rule) return "";
  switch (*rule) {
    case NameRule::kGeneral:
      return (s.fnm_ipn_sel & ConversionSettings::kGeneralPadding) ? "名称一般変換の半角数字の0埋め桁揃え" : "";
    case NameRule::kReplace:
      return s.fnm_ckn0 == 2 ? "名称文字列置換の位置指定" : "";
    case NameRule::kSerial:
      return "連番による名称変換";
    case NameRule::kDate:
      return "日時による名称変換";
    case NameRule::kId3:
      return "ID3情報による名称変換";
    case NameRule::kControl:
      return "変換制御文による名称変換";
    case NameRule::kCsv:
      return "置換パターンCSVによる名称変換";
    case NameRule::kNone:
    case NameRule::kWidth:
      return "";
  }
  return "";
}

}  // namespace

bool CheckNameTargets(ValidationContext& ctx) {
  const ConversionSettings& s = ctx.job.settings;
  const auto& sw_set = ctx.job.app.sw_set;
  const std::optional<NameRule> rule = NameRuleOf(s.sw_fnm);

  if (s.fnm_01 && s.fnm_02 == 2) {
    if (ctx.directory_mode() && sw_set[AppSettings::kSetDirectories]) {
      return RefuseUtf8(ctx, kPageNameSelector, "FNM_02",
                        "名称変換を行う場合、「拡張子のみ変換」で「ディレクトリも対象」指定はできません。");
    }
    if (!ctx.directory_mode() && ctx.kinds.directories) {
      return RefuseUtf8(ctx, kPageNameSelector, "FNM_02",
                        "名称変換を行う場合、「拡張子のみ変換」でディレクトリの指定はできません。");
    }
  }

  const std::string subject = Subject(s);
  if (subject.empty()) return true;
  const std::string lead = subject + "を行う場合、";

  // A control statement decides for itself whether it reads the extension.
  if (rule != NameRule::kControl && !s.fnm_01)
    return RefuseUtf8(ctx, kPageNameSelector, "FNM_01", lead + "拡張子処理の指定が必須です。");
  if (ctx.job_only) return true;

  if (rule == NameRule::kSerial) {
    if (ctx.directory_mode() && sw_set[AppSettings::kSetDirectories] &&
        (sw_set[AppSettings::kSetItself] || !sw_set[AppSettings::kSetDirectoriesOnly])) {
      return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetDirectories),
                        lead + "「ディレクトリのみを対象」以外でのディレクトリの変換指定はできません。");
    }
    if (!ctx.directory_mode() && ctx.kinds.files && ctx.kinds.directories) {
      return RefuseUtf8(ctx, kPageTargets, kListKey,
                        lead + "変換対象ファイルにディレクトリとファイルを混在させて指定できません。");
    }
  }
  if (rule == NameRule::kDate || rule == NameRule::kId3) {
    if (ctx.directory_mode() && sw_set[AppSettings::kSetDirectories]) {
      // The job stays as it is until the person agrees; "No" refuses it without a further message,
      // since the question said what is wrong.
      const std::string question =
          lead + "「ディレクトリも対象」指定はできません。\n「ディレクトリも対象」指定を外しますか？";
      return Ask(ctx, Cp932(ctx.host, question), ProposedChange::kDropDirectoryTargets);
    }
    if (!ctx.directory_mode() && ctx.kinds.directories) {
      return RefuseUtf8(ctx, kPageTargets, kListKey, lead + "変換対象ファイルにディレクトリは指定できません。");
    }
  }

  if (rule == NameRule::kSerial) {
    ctx.run.sort.on = s.fnm_rnb_opt & ConversionSettings::kSerialOrdered;
    ctx.run.sort.ascending = s.fnm_rnb_opt & ConversionSettings::kSerialAscending;
    ctx.run.sort.key = s.fnm_rnb7;
  } else if (rule == NameRule::kDate) {
    ctx.run.sort.on = s.fnm_hdk_rnb & ConversionSettings::kDateOrdered;
    ctx.run.sort.ascending = s.fnm_hdk_rnb & ConversionSettings::kDateAscending;
    ctx.run.sort.key = s.fnm_hdkg;
  }
  return true;
}

}  // namespace morva::validation_internal

namespace morva {

void ApplyProposedChange(Job& job, ProposedChange change) {
  switch (change) {
    case ProposedChange::kNone:
      return;
    case ProposedChange::kDropDirectoryTargets:
      // "指定ディレクトリ自身も対象" and "ディレクトリのみを対象" mean nothing without the first.
      job.app.sw_set[AppSettings::kSetDirectories] = false;
      job.app.sw_set[AppSettings::kSetItself] = false;
      job.app.sw_set[AppSettings::kSetDirectoriesOnly] = false;
      return;
  }
}

}  // namespace morva
