#ifndef MORVA_ENGINE_CONVERSION_RUN_H_
#define MORVA_ENGINE_CONVERSION_RUN_H_

#include <string>
#include <vector>

#include "engine/plan.h"
#include "engine/run_journal.h"
#include "engine/session.h"
#include "engine/validation_verdict.h"

namespace morva {

// How a preview or run ended.
enum class ConversionOutcome {
  kRefused,        // validation refused the job: the verdict says why, for the front end to show
  kQuestion,       // validation asks to change the job (the verdict's question); nothing was started
  kDeclined,       // the person did not confirm the run
  kLogUnwritable,  // the log or its journal cannot be written: the run did not start; the person was told
  kNoTargets,      // the target directory does not exist; the person was told
  kCancelled,      // the person cancelled the enumeration or the preview's walk; nothing changed
  kPreviewClosed,  // the preview was shown and closed without a run
  kRunFinished,    // a run went to its summary (part way only when `cancelled`)
};

// What a preview or a run did, all a front end needs to know of it.
struct ConversionResult {
  ConversionOutcome outcome = ConversionOutcome::kRefused;
  // What validation decided; with kRefused and kQuestion all that happened. Whatever the outcome it
  // tells whether validation put the target path in its usable form.
  ValidationVerdict verdict;
  bool previewed = false;  // a preview walked the targets: `counters` and `preview_failures` hold its prediction
  bool cancelled = false;  // kRunFinished: the person cancelled part way
  RunCounters counters;    // kRunFinished: the run's counters; kPreviewClosed: what the preview predicts
  // The preview's records that predict a failure, included or not.
  std::size_t preview_failures = 0;
  // Host names the enumeration passed over because Windows could not hold them.
  std::size_t invisible_names = 0;
  // Entries the enumeration passed over because they are the program's own: its directory, its
  // settings, presets, log and journal, or a directory holding them.
  std::size_t program_entries = 0;
  // kRunFinished with the log on: whether every line of the run reached the log (its header always
  // does: a run that cannot log does not start). What the log misses cannot be undone from it.
  bool log_complete = false;
  // kRunFinished after a preview: the targets that failed because they were no longer the entries the
  // preview showed (gone, or another file in their place).
  std::vector<std::string> changed_since_preview;
};

// A preview: validates the job, lists the targets and walks them without changing anything on disk
// (with `copy_conversion`, as a copy conversion would convert them). With kPreviewClosed, *plan holds the
// targets, what the preview saw of each and its records, for the front end to show and to hand to Run;
// the session keeps nothing of it.
ConversionResult Preview(Session& session, Plan* plan, bool copy_conversion);

// A run: validates the job, asks for confirmation, writes the log header and converts. With a plan (a
// preview's, its records' states set by the person; used up by the run) it converts exactly the planned
// targets whose state is positive, each only while it is still the entry the preview saw, and gives it
// the name the preview showed; without one it lists the targets itself. Ends with the summary.
ConversionResult Run(Session& session, Plan* plan, bool copy_conversion);

// The walk over walk.run.targets in walk.run.mode: for each target (skipping those excluded by a negative
// selection flag in run mode, and those that vanished), the name step or the copy, then the attribute
// and timestamp steps, the ID3 step or the deletion; then, in preview mode, one record in
// walk.run.preview, in run mode the classification into walk.run.counters, the target's log line and
// its undo record in *undo. The cancel request is polled once per target; a cancel sets
// walk.run.cancelled and leaves the rest of the targets untouched. With a `plan`, a preview records in it
// what it saw of each target, and a run takes each target's planned name and fails a target that is no
// longer the entry the preview saw (listed in walk.run.changed_since_preview).
void RunTargets(const Walk& walk, RunJournal& journal, UndoList* undo, Plan* plan = nullptr);

}  // namespace morva

#endif  // MORVA_ENGINE_CONVERSION_RUN_H_
