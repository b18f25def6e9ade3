#ifndef MORVA_ENGINE_RUN_JOURNAL_H_
#define MORVA_ENGINE_RUN_JOURNAL_H_

#include <string_view>

#include "engine/session.h"
#include "engine/target_work.h"

namespace morva {

// The one place where a run writes its log lines. The conversion run calls it at every point where a
// line belongs; the log file itself (its format, the write failures, the trimming to the kept number of
// runs) is the log writer's business and arrives with it, so for now the lines go nowhere.
class RunJournal {
 public:
  explicit RunJournal(Session& session) : session_(session) {}
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  // The header of a run, written once it is confirmed and before its targets are enumerated.
  void WriteHeader();

  // One finished target of a run: its change and failure words, the ID3 writer's result, and the names,
  // attributes and times in session.target and `work`.
  void WriteTarget(const TargetWork& work);

  // A line of its own: "指定された変換対象は存在しません。", the cancel notices.
  void WriteMessage(std::string_view text);

  // The closing sentence and the count text of a run, then the end of the run's block.
  void WriteSummary(std::string_view sentence, std::string_view counts);

 private:
  [[maybe_unused]] Session& session_;
};

}  // namespace morva

#endif  // MORVA_ENGINE_RUN_JOURNAL_H_
