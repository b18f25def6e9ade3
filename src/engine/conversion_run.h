#ifndef MORVA_ENGINE_CONVERSION_RUN_H_
#define MORVA_ENGINE_CONVERSION_RUN_H_

#include "engine/run_journal.h"
#include "engine/session.h"

namespace morva {

// Validates the job, enumerates the targets and walks them, in preview mode (nothing on disk changes;
// the preview dialog shows what would happen and may start the run) or in run mode (asks for
// confirmation, converts, shows the summary). The current settings in `session` are used as they
// stand (the front end collects them first). Returns true after a preview was shown (or the
// directory-mode target was missing), false when the person declined, validation failed, or a run
// finished; `session.run.counters` and `session.run.cancelled` tell how the last walk went.
bool StartConversion(Session& session, RunMode mode, bool copy_conversion);

// The walk over session.run.targets in session.run.mode: for each target (skipping those excluded by a negative
// selection flag in run mode, and those that vanished), the name step or the copy, then the attribute
// and timestamp steps, the ID3 step or the deletion; then, in preview mode, one record in
// session.run.preview, in run mode the classification into session.run.counters and the target's log line.
// The cancel request is polled once per target; a cancel sets session.run.cancelled and leaves the rest of
// the targets untouched.
void RunTargets(Session& session, RunJournal& journal);

}  // namespace morva

#endif  // MORVA_ENGINE_CONVERSION_RUN_H_
