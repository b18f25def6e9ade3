#ifndef MORVA_UNDO_UNDO_FROM_LOG_H_
#define MORVA_UNDO_UNDO_FROM_LOG_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/undo_list.h"
#include "log/log_scan.h"
#include "log/log_state.h"
#include "undo/undo_run.h"

namespace morva {

// The question asked before `run` is undone from the log, with its notes: the run was undone before;
// the undo records of the last run (`undo`) would be lost.
std::string UndoFromLogQuestion(TextCodec& codec, const UndoList& undo, const LoggedRun& run);

// True when the block of `run` in `log` holds, after its first directory line and before its counts,
// a target line with a success tag: something an extraction could undo.
bool RunHasUndoableTargets(TextCodec& codec, ReadableFile& log, const LoggedRun& run);

// The counts of one extraction.
struct ExtractionCounts {
  int success = 0;     // an undo record was built
  int not_needed = 0;  // the line holds nothing to undo
  int failure = 0;     // the line cannot be read back
  int total = 0;
};

// Rebuilds *undo from the target lines of `run` in `log` (the log the run was scanned from,
// read from the run's header on). Only lines with a success tag under a directory line are read, up to the run's counts line
// (or the next block header of a log cut short). A line whose name, attributes or times cannot be read
// back - or whose names would lead out of its directory, or whose directory lies outside the logged tree
// (below the directory the run's header names, or a directory reached through a link put there since:
// "ディレクトリ") - builds no record and is logged as a read error ("[▲戻しログ読取エラー（...）] ...");
// the other lines are still read. The undo's roots (UndoList::roots) are set to the tree's. The extraction block goes to the
// log. After read errors the person is asked whether to undo the rest (No empties the list); a run
// without anything to undo is reported. Returns true when the undo is to run.
bool ExtractRun(const LogContext& log_context, UndoList* undo, ReadableFile& log, const LoggedRun& run,
                ExtractionCounts* counts);

// The lines of `run` in `log` as the person reads them: from its header up to and including its counts
// line (or up to the next block of a log cut short), each without its time stamp. False when the log
// could not be read to the end of the run.
bool RunLogLines(TextCodec& codec, ReadableFile& log, const LoggedRun& run, std::vector<std::string>* lines);

// How an undo from the log ended.
enum class LogUndoOutcome {
  kNoLog,            // the log cannot be read ("ログが見つかりませんでした。")
  kNoRuns,           // the log holds no run ("ログには変換実行結果がありませんでした。")
  kUnknownRun,       // no run has the identifier asked for
  kAllUndone,        // no identifier asked for, and every run that can be undone has been
  kNoUndoableRun,    // no identifier asked for, and no run in the log can be undone
  kNotUndoable,      // "指定のログからは元に戻すことができません。"
  kDeclined,         // the question was answered No
  kNothingToUndo,    // "ログには元に戻すものが存在しませんでした。", or the extraction found nothing
  kUndone,           // the undo ran; see LogUndoResult::undo
};

// What an undo from the log leaves besides its outcome.
struct LogUndoResult {
  UndoResult undo;  // kUndone: what the undo did
};

// Undoes one run of the log `log_path` (an engine path), holding the log throughout: the run whose
// identifier is `run_id`, or, when it is empty, the newest run that can be undone and has not been
// completely (an undo killed or cancelled part way is gone on with: the entries whose names are back
// already are passed over). No run starts without its header in the log, so the newest run of the log
// is the newest run there is. Asks the confirmation, extracts and runs the undo in its from-log mode, showing
// the messages of each step.
LogUndoOutcome UndoFromLog(const LogContext& log_context, UndoList* undo, std::string_view log_path,
                           std::string_view run_id, LogUndoResult* result);

// As UndoFromLog for the run `run_id` that the person has already chosen and confirmed (the desktop's
// run selection asks the question while its list is in front of the person): the question is not asked
// again. The log is scanned afresh under the hold, so a run another process trimmed away meanwhile ends
// in kUnknownRun rather than in an undo of whatever now stands at its place.
LogUndoOutcome UndoConfirmedRunFromLog(const LogContext& log_context, UndoList* undo, std::string_view log_path,
                                       std::string_view run_id, LogUndoResult* result);

}  // namespace morva

#endif  // MORVA_UNDO_UNDO_FROM_LOG_H_
