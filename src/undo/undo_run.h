#ifndef MORVA_UNDO_UNDO_RUN_H_
#define MORVA_UNDO_UNDO_RUN_H_

#include <string_view>

#include "core/run_counters.h"
#include "core/undo_list.h"
#include "log/log_state.h"

namespace morva {

// What an undo did.
struct UndoResult {
  bool ok = false;         // nothing failed
  bool cancelled = false;  // the person cancelled part way
  // Complete success (counting the records with nothing to restore), partial success, complete failure
  // and the total processed.
  RunCounters counters;
};

// Undoes the records of *undo, newest first: for each record the old times (a read-only target
// loses its read-only attribute for the moment and gets it back), then the old attributes, then the old
// name. The name comes back by a move that never replaces an existing entry, so a target whose old name
// has been taken meanwhile fails and stays under its current name.
//
// `from_log` says the records were read back from the log: their attributes then replace only the
// read-only, hidden, system and archive bits of the target's present attributes, a recorded empty set
// clearing all four; from memory the recorded value is set as it is. `run_id` is the identifier of the
// run being undone, quoted by the undo block's header.
//
// Every record processed leaves the list; a cancel seen at the progress dialog stops before the next
// record and leaves it and all older ones for a later undo. The undo block goes to the log, and the
// verdict with the counts is shown as an information message.
UndoResult UndoRun(const LogContext& log, UndoList* undo, bool from_log, std::string_view run_id);

}  // namespace morva

#endif  // MORVA_UNDO_UNDO_RUN_H_
