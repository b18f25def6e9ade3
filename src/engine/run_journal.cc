#include "engine/run_journal.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/engine_text.h"
#include "core/user_interface.h"
#include "log/log_scan.h"
#include "log/log_trim.h"
#include "platform/move_temporary.h"
#include "platform/path_utils.h"
#include "platform/file_time.h"

namespace morva {

void RunJournal::Line(std::string_view text, bool remember) {
  if (!Active()) return;
  if (!writer_.AppendLine(text, remember)) {
    // The log is unusable from now on, so this is the only time the person hears of it.
    host_.ui.ShowWarning(Cp932Text(host_.codec, kLogWriteFailure));
  }
}

std::string RunJournal::FreeRunStamp() {
  // Every identifier the log knows: its run headers and the runs its undo and extraction blocks quote.
  // An identifier met twice would let the undo of one run mark the other undone.
  std::vector<std::string> taken;
  if (log_.journal->Flush()) {
    std::unique_ptr<ReadableFile> file;
    if (host_.fs.OpenRead(LogPath(host_), &file).ok()) CollectRunIds(host_.codec, *file, &taken);
  }
  std::sort(taken.begin(), taken.end());
  auto is_taken = [&taken](const std::string& stamp) { return std::binary_search(taken.begin(), taken.end(), stamp); };

  // The stamp is the local time of the header's second when that is free. Runs started back to back
  // take the seconds one after the other: a run whose second is taken waits (under the hold, so nobody
  // takes the next second meanwhile) for the next free one when it comes within kLongestWaitSeconds,
  // and its stamp stays true to the clock. A longer stretch of taken seconds is another time zone's runs,
  // or runs made before the clock was set back: the run does not wait for it to pass (an hour, for a zone
  // one hour ahead) but takes the free second nearest to now, before or after it - a valid stamp, off
  // by as little as the log allows. Looking back as well as ahead keeps the stamps of many such runs
  // from running ever further ahead of the clock.
  constexpr int kLongestWaitSeconds = 2;
  constexpr int kFarthestSeconds = 7 * 24 * 60 * 60;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const FileTime now = CurrentFileTime();
    const FileTime second = now - now % kTicksPerSecond;
    if (std::string stamp = LogStampOf(now); !is_taken(stamp)) return stamp;
    FileTime wait_for = 0;
    for (int ahead = 1; ahead <= kLongestWaitSeconds && wait_for == 0; ++ahead) {
      const FileTime next = second + static_cast<FileTime>(ahead) * kTicksPerSecond;
      if (!is_taken(LogStampOf(next))) wait_for = next;
    }
    if (wait_for == 0) break;
    while (CurrentFileTime() < wait_for) {
      std::this_thread::sleep_for(std::chrono::microseconds((wait_for - CurrentFileTime()) / 10 + 1000));
    }
    // Checked again: the clock may have been set meanwhile.
  }
  const FileTime now = CurrentFileTime();
  const FileTime second = now - now % kTicksPerSecond;
  for (int distance = 1; distance <= kFarthestSeconds; ++distance) {
    const FileTime offset = static_cast<FileTime>(distance) * kTicksPerSecond;
    if (second > offset) {
      if (std::string stamp = LogStampOf(second - offset); !is_taken(stamp)) return stamp;
    }
    if (std::string stamp = LogStampOf(second + offset); !is_taken(stamp)) return stamp;
  }
  return LogStampOf(now);  // a week of taken seconds: the log holds at most 40 runs and their undos
}

bool RunJournal::WriteHeader() {
  log_.run_logged = false;
  if (run_.mode != RunMode::kRun || job_.app.sw_opt[AppSettings::kOptNoLog]) return true;
  hold_.emplace(LogContext{host_, job_.app, log_});
  LogJournal* journal = log_.journal.get();
  // Every run tries the log afresh: a program directory made writable again serves the next run.
  log_.usable = true;
  bool written = journal != nullptr && journal->durable();
  if (written) {
    const std::vector<std::string> lines = RunHeaderLines(host_, job_, run_.copy_conversion);
    written = writer_.AppendLineAt(FreeRunStamp(), lines.front(), true);
    for (std::size_t i = 1; written && i < lines.size(); ++i) written = writer_.AppendLine(lines[i]);
    // The header is in the file before anything is touched, so that the run can be undone from the log
    // whatever happens to the process.
    written = written && journal->Flush();
  }
  if (!written) {
    log_.usable = false;
    hold_.reset();
    host_.ui.ShowWarning(Cp932Text(host_.codec, kLogRefusal));
    return false;
  }
  log_.run_logged = true;
  return true;
}

bool RunJournal::BeginNote() {
  // A copy conversion changes copies and is never undone: nothing of it is worth noting.
  if (!Active() || !job_.app.sw_opt[AppSettings::kOptLogAll] || run_.copy_conversion || log_.journal == nullptr) {
    return false;
  }
  if (!noting_ || in_flight_.path != run_.target.path) {
    // A target that left the walk without its line (it vanished) is no longer in flight.
    log_.journal->TargetLogged();
    in_flight_ = TargetInFlight();
    in_flight_.directory = run_.target.directory;
    in_flight_.path = run_.target.path;
    noting_ = true;
  }
  return true;
}

void RunJournal::NoteMove(std::string_view from, std::string_view to, std::string_view new_name) {
  if (!BeginNote()) return;
  in_flight_.path = std::string(from);
  in_flight_.new_path = std::string(to);
  in_flight_.new_name = std::string(new_name);
  in_flight_.temporary = MoveTemporaryPath(to);
  log_.journal->NoteTarget(in_flight_);
}

void RunJournal::NoteAttributes(std::uint32_t old_attributes, std::uint32_t new_attributes) {
  if (!BeginNote()) return;
  in_flight_.attributes_noted = true;
  in_flight_.old_attributes = old_attributes;
  in_flight_.new_attributes = new_attributes;
  log_.journal->NoteTarget(in_flight_);
}

void RunJournal::NoteTimes(const std::array<std::string, 3>& old_times, const std::array<std::string, 3>& new_times,
                           bool lifts_read_only, std::uint32_t attributes) {
  if (!BeginNote()) return;
  in_flight_.old_times = old_times;
  in_flight_.new_times = new_times;
  if (lifts_read_only && !in_flight_.attributes_noted) {
    // Logged as a change to themselves, the attributes are put back by the undo with read-only.
    in_flight_.attributes_noted = true;
    in_flight_.old_attributes = attributes;
    in_flight_.new_attributes = attributes;
  }
  log_.journal->NoteTarget(in_flight_);
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
  if (log_.journal != nullptr) log_.journal->TargetLogged();
  noting_ = false;
}

void RunJournal::WriteMessage(std::string_view text) { Line(text); }

void RunJournal::WriteSummary(std::string_view sentence, std::string_view counts) {
  Line(sentence);
  Line(counts);
  // The lines collected in the journal reach the log here at the latest: a failure is told like any
  // other, before the summary, and the run counts as not logged to its end.
  if (Active() && log_.journal != nullptr && !log_.journal->Flush()) {
    log_.usable = false;
    host_.ui.ShowWarning(Cp932Text(host_.codec, kLogWriteFailure));
  }
}

void RunJournal::Finish() {
  if (run_.mode == RunMode::kRun) TrimLog(LogContext{host_, job_.app, log_});
  hold_.reset();
}

}  // namespace morva
