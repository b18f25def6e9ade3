#ifndef MORVA_ENGINE_RUN_JOURNAL_H_
#define MORVA_ENGINE_RUN_JOURNAL_H_

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/session.h"
#include "core/target_work.h"
#include "log/log_journal.h"
#include "log/log_writer.h"
#include "log/run_block.h"

namespace morva {

// The one place where a run writes its log lines: the run's block in the conversion log (mvlogs.txt in
// the program directory). The conversion run calls it at every point where a line belongs; lines are
// written only in run mode, never for a preview, and not at all with SW_OPT[1] "ログを出力しない".
// The run holds the log (LogHold) from its header to Finish(): no other process writes, reads positions
// in or trims the log in between, and the journal keeps the lines of a killed run and what it was
// changing on its target.
//
// A run whose header cannot reach the log, or whose journal cannot be had, does not start: a run missing
// from the log could not be undone, and a plain undo would take the run before it instead. A line that
// cannot be written later on makes the log unusable for the rest of the run (the log state's `usable`)
// and shows "ログの書き込みに失敗しました。処理は継続します。" once; the run goes on without a log.
class RunJournal {
 public:
  RunJournal(Host& host, const Job& job, LogState& log, const RunState& run)
      : host_(host), job_(job), log_(log), run_(run), writer_(LogContext{host, job.app, log}) {}
  explicit RunJournal(Session& session) : RunJournal(session.host, session.job, session.log, session.run) {}
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  // Takes the log and writes the header of a run, once it is confirmed and before its targets are
  // enumerated; the header is in the log file when this returns. Its first line's time stamp becomes the
  // log state's `run_id`, and no other run of the log, nor any undo, has it (see FreeRunStamp). Returns
  // false, having shown "ログの書き込みに失敗しました。", when the log or its journal cannot be written (a
  // program directory that is read-only, full or missing): the run must not start. True, writing nothing,
  // for a preview and with the log switched off.
  bool WriteHeader();

  // The changes of the current target, each noted just before it is made, so that a process killed
  // before WriteTarget leaves them for the next holder of the log to log (or, for a rename cut half way,
  // to put back). Only a logged success can be undone from the log, so nothing is noted when successes
  // are not logged (SW_OPT[0] off).
  //
  // The rename of the target from `from` to `to` (whose last component is `new_name`).
  void NoteMove(std::string_view from, std::string_view to, std::string_view new_name);
  // The change of its attributes from `old_attributes` to `new_attributes`.
  void NoteAttributes(std::uint32_t old_attributes, std::uint32_t new_attributes);
  // The change of its times (the old and new texts of the times changed, empty for the others). When the
  // change lifts read-only for the moment, `attributes` are the attributes it has and must keep.
  void NoteTimes(const std::array<std::string, 3>& old_times, const std::array<std::string, 3>& new_times,
                 bool lifts_read_only, std::uint32_t attributes);

  // One finished target of a run: its change and failure words, the ID3 writer's result, and the names,
  // attributes and times in the run's target and `work`. A directory line comes first whenever the
  // target's directory differs from the previous logged target's (even when the target line itself is
  // left out because SW_OPT[0] is off and nothing failed).
  void WriteTarget(const TargetWork& work);
  // The same for a target whose line waited while later targets were converted (the ID3 writes of a
  // batch): the target's path and directory as the run's target had them.
  void WriteTarget(std::string_view path, std::string_view directory, const TargetWork& work);

  // A line of its own: "指定された変換対象は存在しません。", the cancel notices.
  void WriteMessage(std::string_view text);

  // The closing sentence and the count text of a run.
  void WriteSummary(std::string_view sentence, std::string_view counts);

  // After the run's last line: trims the log to the kept number of runs (OPT_1) and lets it go.
  void Finish();

 private:
  // Writes one line when this is a run (not previewing); tells the person about the first
  // failure.
  void Line(std::string_view text, bool remember = false);
  bool Active() const {
    return run_.mode == RunMode::kRun && !job_.app.sw_opt[AppSettings::kOptNoLog] && log_.usable;
  }

  // The identifier of a new run: a time stamp that no run header of the log has and no undo or
  // extraction quotes. See run_journal.cc for how it is chosen.
  std::string FreeRunStamp();
  // Notes in_flight_ in the journal, a new target first when the run's target is another one.
  bool BeginNote();

  Host& host_;
  const Job& job_;
  LogState& log_;
  const RunState& run_;  // read only: the mode, the copy flag, the target
  std::optional<LogHold> hold_;
  LogWriter writer_;
  std::unique_ptr<TargetLineComposer> composer_;
  bool directory_logged_ = false;
  std::string last_directory_;
  std::string line_;
  TargetInFlight in_flight_;  // what is noted for the run's current target
  bool noting_ = false;       // in_flight_ is the current target's
};

}  // namespace morva

#endif  // MORVA_ENGINE_RUN_JOURNAL_H_
