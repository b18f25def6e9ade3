#ifndef MORVA_ENGINE_RUN_JOURNAL_H_
#define MORVA_ENGINE_RUN_JOURNAL_H_

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
// in or trims the log in between, and the journal keeps the lines of a killed run.
//
// The first line that cannot be written makes the log unusable for the rest of the program's life
// (the log state's `usable`) and shows "ログの書き込みに失敗しました。処理は継続します。" once; the run goes
// on without a log.
class RunJournal {
 public:
  RunJournal(Host& host, const Job& job, LogState& log, const RunState& run)
      : host_(host), job_(job), log_(log), run_(run), writer_(LogContext{host, job.app, log}) {}
  explicit RunJournal(Session& session) : RunJournal(session.host, session.job, session.log, session.run) {}
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  // Takes the log and writes the header of a run, once it is confirmed and before its targets are
  // enumerated. Its first line's time stamp becomes the log state's `run_id`; a run never shares it with the
  // run before it in the log (it waits for the next second when it would). Its `run_logged` tells
  // whether the header reached the log; when it did not, the journal remembers the run as unlogged.
  void WriteHeader();

  // The rename of the current target from `from` to `to` is about to be made: the journal notes it, so
  // that it reaches the log even when the process is killed before WriteTarget.
  void NoteMove(std::string_view from, std::string_view to, std::string_view new_name);

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

  // Waits until the time stamp of now differs from that of the log's last line.
  void WaitForNewSecond();

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
};

}  // namespace morva

#endif  // MORVA_ENGINE_RUN_JOURNAL_H_
