#ifndef MORVA_ENGINE_NAME_STEP_H_
#define MORVA_ENGINE_NAME_STEP_H_

#include <string_view>

#include "engine/directory_cache.h"
#include "core/job_switches.h"
#include "engine/plan.h"
#include "engine/run_state.h"
#include "rename/name_rule.h"
#include "core/target_work.h"

namespace morva {

class RunJournal;

// The name step of the target in walk.run.target, whose work->current_path is its path. Chooses the
// rule text by the extension handling (FNM_01, FNM_02), applies the name rule and recombines the new
// name (work->new_name; the old name when the rule failed). The destination is the target's own
// directory, or CPDIR in copy conversion; a destination path over kMaxPath bytes sets kFailPathTooLong.
// In preview mode nothing more happens. In run mode the target is copied (copy conversion; overwriting
// only with CPOVW) or moved (never replacing an existing entry; a case-only change is a real move) to
// the new path: success sets change kStepName and makes the new path current with the old one as
// previous path; failure sets failure kStepName, and a failed copy empties
// both paths. A failure leaves the file where it was. `journal` (null in preview mode) notes each move
// just before it is made. With `planned`, a preview records there what the rule gave, and a run takes
// that instead of applying the rule.
void RunNameStep(const Walk& walk, TargetWork* work, RunJournal* journal, PlannedName* planned = nullptr);

// What the name rules read of the walk, for the target in walk.run.target.
NameRuleInputs NameRuleInputsOf(const Walk& walk);

// Copy conversion without a name change (run mode): copies the target into CPDIR (overwriting only with
// CPOVW). In directory mode with recursion the target's place below DIRFIL is recreated in CPDIR, so
// equal names of different directories never meet. A failed copy sets failure kStepName and
// kStepName and empties both paths; a successful one makes the copy current (the source the
// previous path) unless deletion is on, which then deletes the source.
void RunPlainCopyStep(const Walk& walk, const JobSwitches& jobs, TargetWork* work);

// The destination directory of the name step, with its trailing '\': CPDIR in copy conversion, else
// the directory part of `path`.
std::string DestinationDirectory(const Job& job, const RunState& run, std::string_view path);

// The names of `directory` as this walk has left them: loaded once per walk (from the enumeration's
// listing when it has one) and kept up to date with every rename the preview accepts or the run makes,
// so that going back to a directory after its subdirectories still sees the earlier renames.
DirectoryCache& DirectoryNames(FileSystem& fs, RunState& run, const std::string& directory);

}  // namespace morva

#endif  // MORVA_ENGINE_NAME_STEP_H_
