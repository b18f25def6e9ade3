#ifndef MORVA_ENGINE_VALIDATION_CHECKS_H_
#define MORVA_ENGINE_VALIDATION_CHECKS_H_

// The checks of job validation, shared by the validation units and their tests. ValidateJob
// (validation.h) runs them in order; each returns false after it has put its refusal or question in
// the context's verdict.

#include <string>
#include <string_view>

#include "core/job_switches.h"
#include "engine/session.h"
#include "engine/validation_verdict.h"

namespace morva::validation_internal {

// The kinds of entries the file list held, gathered by the list checks for the directory checks of
// the name job.
struct TargetKinds {
  bool files = false;
  bool directories = false;
};

// The state one validation carries from check to check.
struct ValidationContext {
  ValidationContext(Host& host_in, Job& job_in, RunState& run_in, bool job_only_in);
  // The parts of a session validation reads.
  ValidationContext(Session& session, bool job_only_in)
      : ValidationContext(session.host, session.job, session.run, job_only_in) {}

  Host& host;
  Job& job;       // the target path check puts the path in the form enumeration uses
  RunState& run;  // the sort parameters and the replacement patterns of the walk to come
  bool job_only;
  JobSwitches jobs;
  TargetKinds kinds;
  ValidationVerdict verdict;  // accepted until a check refuses or asks

  // Directory mode ("指定ディレクトリ下の変換"); anything else than the file-list mode counts as it, as
  // enumeration treats it.
  bool directory_mode() const { return job.app.set_0 != 2; }
  // The target path of directory mode; empty when none is given.
  std::string_view target_path() const;
};

// Focus keys of controls that are not a whole configuration key: a position inside a multi-flag key is
// named "KEY[i]" (0-based, as the keys are documented), the list box of file-list mode "LIST".
std::string FlagKey(std::string_view key, int index);
inline constexpr std::string_view kListKey = "LIST";

// The code page 932 form of a UTF-8 text of this program. Every text passed here has that form.
std::string Cp932(Host& host, std::string_view utf8);

// Makes the verdict a refusal with `text` (code page 932) and the setting of `key` on page `page` to
// change, and returns false, so that a check can end with `return Refuse(...)`.
bool Refuse(ValidationContext& ctx, int page, std::string_view key, std::string_view text);

// Makes the verdict the question `text` (code page 932), whether `change` may be made to the job, and
// returns false: the job is refused as it stands.
bool Ask(ValidationContext& ctx, std::string_view text, ProposedChange change);

// As Refuse, for a message of this program given in UTF-8.
bool RefuseUtf8(ValidationContext& ctx, int page, std::string_view key, std::string_view utf8);

// True when `text` holds a single-byte character that a file name cannot hold (IsFileNameChar, not
// relaxed); double-byte characters always pass.
bool HasForbiddenChar(std::string_view text);

// The list of forbidden characters that the refusals of such texts show.
inline constexpr std::string_view kForbiddenCharsText = "\\ / : * ? \" < > | \\n \\r \\t";

// The target path of directory mode. Trims trailing '\' and spaces from the path (writing
// the result back to the settings, and telling the verdict) once the path has been found usable.
bool CheckDirectoryTargets(ValidationContext& ctx);

// The items of the file list; fills ctx.kinds.
bool CheckFileList(ValidationContext& ctx);

// The combination of jobs and the settings of the jobs other than the name job.
bool CheckJobCombination(ValidationContext& ctx);

// The options of name rule 1 (general conversion).
bool CheckGeneralRule(ValidationContext& ctx);

// The options of name rule 2 (full-width / half-width conversion).
bool CheckWidthRule(ValidationContext& ctx);

// The options of name rule 3 (string replacement). A regular expression must pass the quick screen and
// compile in the host's service.
bool CheckReplaceRule(ValidationContext& ctx);

// The options of name rule 4 (serial numbering): prefix and suffix, first number and increment.
bool CheckSerialRule(ValidationContext& ctx);

// The options of name rule 5 (date naming): prefix, separators, and a date the timestamp job also changes.
bool CheckDateRule(ValidationContext& ctx);

// The options of name rule 6 (ID3 naming): the elements, the fixed string and the separator.
bool CheckId3Rule(ValidationContext& ctx);

// The statement of name rule 7 (control statement), through the interpreter's checking pass. Sets the
// sort parameters its serial variable asks for.
bool CheckControlRule(ValidationContext& ctx);

// The options of name rule 8 (replacement patterns from a CSV file). Loads the patterns into the run.
bool CheckCsvRule(ValidationContext& ctx);

// Extension handling and directories of the name job, then the sort parameters of the
// enumeration. Needs ctx.kinds from the file-list check. May ask to drop directories from the targets
// (ProposedChange::kDropDirectoryTargets).
bool CheckNameTargets(ValidationContext& ctx);

}  // namespace morva::validation_internal

#endif  // MORVA_ENGINE_VALIDATION_CHECKS_H_
