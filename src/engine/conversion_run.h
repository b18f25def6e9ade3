#ifndef MORVA_ENGINE_CONVERSION_RUN_H_
#define MORVA_ENGINE_CONVERSION_RUN_H_

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

// What StartConversion did, all a front end needs to know of it.
struct ConversionResult {
  ConversionOutcome outcome = ConversionOutcome::kRefused;
  // What validation decided; with kRefused and kQuestion all that happened. Whatever the outcome it
  // tells whether validation put the target path in its usable form.
  ValidationVerdict verdict;
  bool previewed = false;  // a preview was shown (and, with kRunFinished, started the run)
  bool cancelled = false;  // kRunFinished: the person cancelled part way
  RunCounters counters;    // kRunFinished: the run's counters
  // The preview's records that predict a failure, included or not (when previewed).
  std::size_t preview_failures = 0;
  // Host names the enumeration passed over because Windows could not hold them.
  std::size_t invisible_names = 0;
  // Entries the enumeration passed over because they are the program's own: its directory, its
  // settings, presets, log and journal, or a directory holding them.
  std::size_t program_entries = 0;
  // kRunFinished with the log on: whether every line of the run reached the log (its header always
  // does: a run that cannot log does not start). What the log misses cannot be undone from it.
  bool log_complete = false;
};

// Validates the job, enumerates the targets and walks them, in preview mode (nothing on disk changes;
// the preview dialog shows what would happen and may start the run) or in run mode (asks for
// confirmation, converts, shows the summary). The current settings in `session` are used as they
// stand (the front end collects them first); the walk's state stays in `session.run` for the front end
// to show. A job validation does not accept goes no further: the front end shows the verdict, and after
// a question answered Yes applies the proposed change and starts again.
ConversionResult StartConversion(Session& session, RunMode mode, bool copy_conversion);

// The walk over walk.run.targets in walk.run.mode: for each target (skipping those excluded by a negative
// selection flag in run mode, and those that vanished), the name step or the copy, then the attribute
// and timestamp steps, the ID3 step or the deletion; then, in preview mode, one record in
// walk.run.preview, in run mode the classification into walk.run.counters, the target's log line and
// its undo record in *undo. The cancel request is polled once per target; a cancel sets
// walk.run.cancelled and leaves the rest of the targets untouched.
void RunTargets(const Walk& walk, RunJournal& journal, UndoList* undo);

}  // namespace morva

#endif  // MORVA_ENGINE_CONVERSION_RUN_H_
