#include "engine/run_journal.h"

#include <chrono>
#include <thread>
#include <vector>

#include "platform/engine_text.h"
#include "core/user_interface.h"
#include "log/log_trim.h"
#include "platform/file_time.h"

namespace morva {

void RunJournal::Line(std::string_view text, bool remember) {
  if (!Active()) return;
  if (!writer_.AppendLine(text, remember)) {
    // The log is unusable from now on, so this is the only time the person hears of it.
    session_.host.ui.ShowWarning(Cp932Text(session_.host.codec, kLogWriteFailure));
  }
}

void RunJournal::WaitForNewSecond() {
  const std::string last = session_.log.journal->LastLineStamp();
  while (true) {
    const FileTime now = CurrentFileTime();
    if (LogStampOf(now) != last) return;
    const FileTime into_second = now % kTicksPerSecond;
    std::this_thread::sleep_for(std::chrono::microseconds((kTicksPerSecond - into_second) / 10 + 1000));
  }
}

void RunJournal::WriteHeader() {
  session_.log.run_logged = false;
  if (session_.run.mode != RunMode::kRun || session_.job.app.sw_opt[AppSettings::kOptNoLog]) return;
  hold_.emplace(session_.log_context());
  LogJournal* journal = session_.log.journal.get();
  if (Active()) {
    if (journal != nullptr) WaitForNewSecond();
    const std::vector<std::string> lines = RunHeaderLines(session_.host, session_.job, session_.run.copy_conversion);
    Line(lines.front(), true);
    // After a failed first line the log is unusable and the rest of the header goes nowhere.
    for (std::size_t i = 1; i < lines.size(); ++i) Line(lines[i]);
    // The header is in the file before anything is touched, so that the run can be undone from the log
    // whatever happens to the process.
    if (Active() && journal != nullptr && !journal->Flush()) {
      session_.log.usable = false;
      session_.host.ui.ShowWarning(Cp932Text(session_.host.codec, kLogWriteFailure));
    }
    session_.log.run_logged = Active();
  }
  if (journal != nullptr) {
    journal->SetUnloggedRun(session_.log.run_logged ? std::string_view() : LogStampOf(CurrentFileTime()));
  }
}

void RunJournal::NoteMove(std::string_view from, std::string_view to, std::string_view new_name) {
  // Only a logged success can be undone from the log, so only then is the move worth noting.
  if (!Active() || !session_.job.app.sw_opt[AppSettings::kOptLogAll] || session_.log.journal == nullptr) return;
  session_.log.journal->NoteMove(from, to, session_.run.target.directory, new_name);
}

void RunJournal::WriteTarget(const TargetWork& work) {
  if (!Active()) return;
  if (!composer_) {
    const bool copy_only = session_.run.copy_conversion && NameRuleOf(session_.job.settings.sw_fnm) == NameRule::kNone;
    composer_ =
        std::make_unique<TargetLineComposer>(session_.host.codec, session_.job.app.sw_opt[AppSettings::kOptLogAll], copy_only);
  }
  const TargetContext& target = session_.run.target;
  if (!directory_logged_ || target.directory != last_directory_) {
    Line(DirectoryLine(session_.host.codec, target.directory));
    directory_logged_ = true;
    last_directory_ = target.directory;
  }
  if (composer_->Compose(target.path, work, &line_)) Line(line_);
  if (session_.log.journal != nullptr) session_.log.journal->MoveLogged();
}

void RunJournal::WriteMessage(std::string_view text) { Line(text); }

void RunJournal::WriteSummary(std::string_view sentence, std::string_view counts) {
  Line(sentence);
  Line(counts);
}

void RunJournal::Finish() {
  if (session_.run.mode == RunMode::kRun) TrimLog(session_.log_context());
  hold_.reset();
}

}  // namespace morva
