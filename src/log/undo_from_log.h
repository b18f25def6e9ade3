#ifndef MORVA_LOG_UNDO_FROM_LOG_H_
#define MORVA_LOG_UNDO_FROM_LOG_H_

#include <string>
#include <string_view>

#include "engine/session.h"
#include "log/log_scan.h"

namespace morva {

// The question asked before `run` is undone from the log, with its notes: the run was undone before;
// the undo records of the last run (session.undo) would be lost.
std::string UndoFromLogQuestion(Session& session, const LoggedRun& run);

// True when the block of `run` in `log` holds, after its first directory line and before its counts,
// a target line with a success tag: something an extraction could undo.
bool RunHasUndoableTargets(TextCodec& codec, std::string_view log, const LoggedRun& run);

// The counts of one extraction.
struct ExtractionCounts {
  int success = 0;     // an undo record was built
  int not_needed = 0;  // the line holds nothing to undo
  int failure = 0;     // the line cannot be read back
  int total = 0;
};

// Rebuilds session.undo from the target lines of `run` in `log` (the log text the run was scanned
// from). Only lines with a success tag under a directory line are read, up to the run's counts line
// (or the next block header of a log cut short). A line whose name, attributes or times cannot be read
// back - or whose names would lead out of its directory - builds no record and is logged as a read error
// ("[▲戻しログ読取エラー（...）] ..."); the other lines are still read. The extraction block goes to the
// log. After read errors the person is asked whether to undo the rest (No empties the list); a run
// without anything to undo is reported. Returns true when the undo is to run.
bool ExtractRun(Session& session, std::string_view log, const LoggedRun& run, ExtractionCounts* counts);

// How an undo from the log ended.
enum class LogUndoOutcome {
  kNoLog,          // the log cannot be read ("ログが見つかりませんでした。")
  kNoRuns,         // the log holds no run ("ログには変換実行結果がありませんでした。")
  kUnknownRun,     // no run has the identifier asked for, or none is left to undo
  kNotUndoable,    // "指定のログからは元に戻すことができません。"
  kDeclined,       // the question was answered No
  kNothingToUndo,  // "ログには元に戻すものが存在しませんでした。", or the extraction found nothing
  kUndone,         // the undo ran; see UndoRun's result and session.cancelled
};

// Undoes one run of the log `log_path` (an engine path): the run whose identifier is `run_id`, or, when
// it is empty, the newest run that can be undone and has not been. Asks the confirmation, extracts and
// runs the undo in its from-log mode, showing the messages of each step. *undo_ok is UndoRun's result
// when the undo ran.
LogUndoOutcome UndoFromLog(Session& session, std::string_view log_path, std::string_view run_id, bool* undo_ok);

}  // namespace morva

#endif  // MORVA_LOG_UNDO_FROM_LOG_H_
