#include "engine/run_journal.h"

#include <vector>

#include "engine/engine_text.h"
#include "engine/user_interface.h"
#include "log/log_trim.h"

namespace morva {

void RunJournal::Line(std::string_view text, bool remember) {
  if (!Active()) return;
  if (!writer_.AppendLine(text, remember)) {
    // The log is unusable from now on, so this is the only time the person hears of it.
    session_.ui.ShowWarning(Cp932Text(session_.codec, "ログの書き込みに失敗しました。処理は継続します。"));
  }
}

void RunJournal::WriteHeader() {
  if (!Active()) return;
  const std::vector<std::string> lines = RunHeaderLines(session_);
  Line(lines.front(), true);
  // After a failed first line the log is unusable and the rest of the header goes nowhere.
  for (std::size_t i = 1; i < lines.size(); ++i) Line(lines[i]);
}

void RunJournal::WriteTarget(const TargetWork& work) {
  if (!Active()) return;
  if (!composer_) {
    const bool copy_only = session_.copy_conversion && session_.settings.sw_fnm == 0;
    composer_ = std::make_unique<TargetLineComposer>(session_.codec, session_.app.sw_opt[0], copy_only);
  }
  const TargetContext& target = session_.target;
  if (!directory_logged_ || target.directory != last_directory_) {
    Line(DirectoryLine(session_.codec, target.directory));
    directory_logged_ = true;
    last_directory_ = target.directory;
  }
  if (composer_->Compose(target.path, work, &line_)) Line(line_);
}

void RunJournal::WriteMessage(std::string_view text) { Line(text); }

void RunJournal::WriteSummary(std::string_view sentence, std::string_view counts) {
  Line(sentence);
  Line(counts);
}

void RunJournal::Finish() {
  writer_.Close();
  if (session_.mode == RunMode::kRun) TrimLog(session_);
}

}  // namespace morva
