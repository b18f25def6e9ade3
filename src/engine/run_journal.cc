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
    host_.ui.ShowWarning(Cp932Text(host_.codec, kLogWriteFailure));
  }
}

void RunJournal::WaitForNewSecond() {
  const std::string last = log_.journal->LastLineStamp();
  while (true) {
    const FileTime now = CurrentFileTime();
    if (LogStampOf(now) != last) return;
    const FileTime into_second = now % kTicksPerSecond;
    std::this_thread::sleep_for(std::chrono::microseconds((kTicksPerSecond - into_second) / 10 + 1000));
  }
}

void RunJournal::WriteHeader() {
  log_.run_logged = false;
  if (run_.mode != RunMode::kRun || job_.app.sw_opt[AppSettings::kOptNoLog]) return;
  hold_.emplace(LogContext{host_, job_.app, log_});
  LogJournal* journal = log_.journal.get();
  if (Active()) {
    if (journal != nullptr) WaitForNewSecond();
    const std::vector<std::string> lines = RunHeaderLines(host_, job_, run_.copy_conversion);
    Line(lines.front(), true);
    // After a failed first line the log is unusable and the rest of the header goes nowhere.
    for (std::size_t i = 1; i < lines.size(); ++i) Line(lines[i]);
    // The header is in the file before anything is touched, so that the run can be undone from the log
    // whatever happens to the process.
    if (Active() && journal != nullptr && !journal->Flush()) {
      log_.usable = false;
      host_.ui.ShowWarning(Cp932Text(host_.codec, kLogWriteFailure));
    }
    log_.run_logged = Active();
  }
  if (journal != nullptr) {
    journal->SetUnloggedRun(log_.run_logged ? std::string_view() : LogStampOf(CurrentFileTime()));
  }
}

void RunJournal::NoteMove(std::string_view from, std::string_view to, std::string_view new_name) {
  // Only a logged success can be undone from the log, so only then is the move worth noting.
  if (!Active() || !job_.app.sw_opt[AppSettings::kOptLogAll] || log_.journal == nullptr) return;
  log_.journal->NoteMove(from, to, run_.target.directory, new_name);
}

void RunJournal::WriteTarget(const TargetWork& work) { WriteTarget(run_.target.path, run_.target.directory, work); }

void RunJournal::WriteTarget(std::string_view path, std::string_view directory, const TargetWork& work) {
  if (!Active()) return;
  if (!composer_) {
    const bool copy_only = run_.copy_conversion && NameRuleOf(job_.settings.sw_fnm) == NameRule::kNone;
    composer_ =
        std::make_unique<TargetLineComposer>(host_.codec, job_.app.sw_opt[AppSettings::kOptLogAll], copy_only);
  }
  if (!directory_logged_ || directory != last_directory_) {
    Line(DirectoryLine(host_.codec, directory));
    directory_logged_ = true;
    last_directory_ = directory;
  }
  if (composer_->Compose(path, work, &line_)) Line(line_);
  if (log_.journal != nullptr) log_.journal->MoveLogged();
}

void RunJournal::WriteMessage(std::string_view text) { Line(text); }

void RunJournal::WriteSummary(std::string_view sentence, std::string_view counts) {
  Line(sentence);
  Line(counts);
}

void RunJournal::Finish() {
  if (run_.mode == RunMode::kRun) TrimLog(LogContext{host_, job_.app, log_});
  hold_.reset();
}

}  // namespace morva
