#ifndef MORVA_ENGINE_RUN_JOURNAL_H_
#define MORVA_ENGINE_RUN_JOURNAL_H_

#include <memory>
#include <string>
#include <string_view>

#include "engine/session.h"
#include "engine/target_work.h"
#include "log/log_writer.h"
#include "log/run_block.h"

namespace morva {

// The one place where a run writes its log lines: the run's block in the conversion log (mvlogs.txt in
// the program directory). The conversion run calls it at every point where a line belongs; lines are
// written only in run mode, never for a preview, and not at all with SW_OPT[1] "ログを出力しない".
// The log stays open from the header to Finish(), one append per line.
//
// The first line that cannot be written makes the log unusable for the rest of the program's life
// (session.log_usable) and shows "ログの書き込みに失敗しました。処理は継続します。" once; the run goes
// on without a log.
class RunJournal {
 public:
  explicit RunJournal(Session& session) : session_(session), writer_(session) {}
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  // The header of a run, written once it is confirmed and before its targets are enumerated. Its first
  // line's time stamp becomes session.log_run_id. When that line fails the rest of the header is
  // skipped.
  void WriteHeader();

  // One finished target of a run: its change and failure words, the ID3 writer's result, and the names,
  // attributes and times in session.target and `work`. A directory line comes first whenever the
  // target's directory differs from the previous logged target's (even when the target line itself is
  // left out because SW_OPT[0] is off and nothing failed).
  void WriteTarget(const TargetWork& work);

  // A line of its own: "指定された変換対象は存在しません。", the cancel notices.
  void WriteMessage(std::string_view text);

  // The closing sentence and the count text of a run.
  void WriteSummary(std::string_view sentence, std::string_view counts);

  // After the run's final message: closes the log and trims it to the kept number of runs (OPT_1).
  void Finish();

 private:
  // Writes one line when the session is running (not previewing); tells the person about the first
  // failure.
  void Line(std::string_view text, bool remember = false);
  bool Active() const { return session_.mode == RunMode::kRun && !session_.app.sw_opt[1] && session_.log_usable; }

  Session& session_;
  LogWriter writer_;
  std::unique_ptr<TargetLineComposer> composer_;
  bool directory_logged_ = false;
  std::string last_directory_;
  std::string line_;
};

}  // namespace morva

#endif  // MORVA_ENGINE_RUN_JOURNAL_H_
