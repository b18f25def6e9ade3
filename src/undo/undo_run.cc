#include "undo/undo_run.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/engine_text.h"
#include "platform/path_utils.h"
#include "core/user_interface.h"
#include "fileops/date_time_text.h"
#include "log/log_journal.h"
#include "log/log_markers.h"
#include "log/log_writer.h"
#include "engine/progress_text.h"
#include "log/undo_block.h"
#include "platform/file_system.h"
#include "platform/move_temporary.h"

namespace morva {
namespace {

constexpr int kName = 1;
constexpr int kAttributes = 2;
constexpr int kTimes = 4;

// The texts of the undo, converted once per undo instead of once per record.
struct UndoTexts {
  explicit UndoTexts(TextCodec& codec)
      : directory(Cp932Text(codec, log_markers::kDirectory)),
        name_done(Cp932Text(codec, "[○名称戻し] ")),
        attributes_done(Cp932Text(codec, "[○属性戻し] ")),
        times_done(Cp932Text(codec, "[○日時戻し] ")),
        nothing(Cp932Text(codec, "[☆戻し不要] ")),
        name_failed(Cp932Text(codec, "[▲名称戻し失敗] ")),
        attributes_failed(Cp932Text(codec, "[▲属性戻し失敗] ")),
        times_failed(Cp932Text(codec, "[▲日時戻し失敗] ")),
        target(Cp932Text(codec, " *対象<")),
        arrow(Cp932Text(codec, "> →")),
        restored_name(Cp932Text(codec, " *戻し名称<")),
        restored_attributes(Cp932Text(codec, " *戻し属性<")),
        restored_creation(Cp932Text(codec, " *戻し作成日時<")),
        restored_write(Cp932Text(codec, " *戻し更新日時<")),
        restored_access(Cp932Text(codec, " *戻しアクセス日時<")) {}
  std::string directory;
  std::string name_done, attributes_done, times_done, nothing, name_failed, attributes_failed, times_failed;
  std::string target, arrow, restored_name, restored_attributes, restored_creation, restored_write,
      restored_access;
};

// The directory part of a path as the log's directory lines show it: up to the last '\', a drive root
// keeping its '\'.
std::string_view DirectoryOf(std::string_view path) {
  const std::size_t slash = FindLastChar(path, '\\');
  if (slash == std::string_view::npos) return path;
  return path.substr(0, std::max<std::size_t>(slash, std::min<std::size_t>(3, path.size())));
}

std::string_view NameOf(std::string_view path) {
  const std::size_t slash = FindLastChar(path, '\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A recorded time text ("YYYY/MM/DD hh:mm:ss.SSS") as a file time.
bool ParseRecordedTime(std::string_view text, FileTime* out) {
  if (text.size() < 23) return false;
  return local_text_to_file_time(text.substr(0, 10), text.substr(11, 12), out);
}

// The recorded times of `record` as file times; false when it records none.
struct RecordedTimes {
  FileTime creation = 0, write = 0, access = 0;
  bool has_creation = false, has_write = false, has_access = false;
};

bool ParseRecordedTimes(const UndoRecord& record, RecordedTimes* times) {
  times->has_creation = !record.creation_time.empty() && ParseRecordedTime(record.creation_time, &times->creation);
  times->has_write = !record.write_time.empty() && ParseRecordedTime(record.write_time, &times->write);
  times->has_access = !record.access_time.empty() && ParseRecordedTime(record.access_time, &times->access);
  return times->has_creation || times->has_write || times->has_access;
}

// Sets `times` on `path`, whose attributes are `attributes`; a read-only target is writable only for as
// long as they take, the journal knowing meanwhile which attributes to put back should the process be
// killed. Returns the success (kTimes) or failure (kTimes << 8) bit; a read-only target that cannot be
// made read-only again adds the failure bit of the attributes.
int SetRecordedTimes(FileSystem& fs, LogJournal* journal, TargetInFlight* in_flight, std::string_view path,
                     std::uint32_t attributes, const RecordedTimes& times) {
  const bool read_only = (attributes & kAttrReadOnly) != 0;
  if (read_only && journal != nullptr) {
    in_flight->attributes_noted = true;
    in_flight->old_attributes = attributes;
    journal->NoteTarget(*in_flight);
  }
  const bool unlocked = read_only && fs.SetAttributes(path, attributes & ~kAttrReadOnly).ok();
  const Status s = fs.SetTimes(path, times.has_creation ? &times.creation : nullptr,
                               times.has_access ? &times.access : nullptr, times.has_write ? &times.write : nullptr);
  int outcome = s.ok() ? kTimes : kTimes << 8;
  if (unlocked && !fs.SetAttributes(path, attributes).ok()) outcome |= kAttributes << 8;
  if (read_only && journal != nullptr) {
    in_flight->attributes_noted = false;
    journal->NoteTarget(*in_flight);
  }
  return outcome;
}

// Restores the recorded times of `record`; returns the outcome bits of SetRecordedTimes, or 0 when
// nothing was tried. *directory tells that the target is a directory whose times were put back.
int RestoreTimes(FileSystem& fs, LogJournal* journal, TargetInFlight* in_flight, const UndoRecord& record,
                 bool* directory) {
  *directory = false;
  RecordedTimes times;
  if (!ParseRecordedTimes(record, &times)) return 0;
  FindData data;
  if (!fs.Stat(record.current_path, &data).ok()) return 0;
  const int outcome = SetRecordedTimes(fs, journal, in_flight, record.current_path, data.attributes, times);
  *directory = (data.attributes & kAttrDirectory) != 0 && (outcome & kTimes) != 0;
  return outcome;
}

// A directory whose times the undo put back, where it stands after the undo of its own name.
struct RestoredDirectory {
  std::string path;
  RecordedTimes times;
};

// Whether the record's name came back before (by an undo killed or cancelled after it): its current
// name is gone and its old name is there.
bool NameAlreadyBack(FileSystem& fs, const UndoRecord& record) {
  if (record.current_path.empty() || record.restore_path.empty()) return false;
  FindData data;
  return !fs.Stat(record.current_path, &data).ok() && fs.Stat(record.restore_path, &data).ok();
}

int RestoreAttributes(FileSystem& fs, const UndoRecord& record, bool from_log) {
  if (record.attributes == 0) return 0;
  const std::uint32_t recorded = record.attributes == kUndoEmptyAttributes ? 0 : record.attributes;
  std::uint32_t value = recorded;
  if (from_log) {
    // The log keeps only the letters: the bits it cannot name stay as they are now.
    FindData data;
    if (!fs.Stat(record.current_path, &data).ok()) return kAttributes << 8;
    value = (data.attributes & ~kAttrSettable) | recorded;
  }
  // Clearing read-only gives back the write permission the run took; the log does not tell it, and a
  // file read back from it gets what a new file would have.
  const std::uint32_t write_bits = record.write_bits != 0 ? record.write_bits : from_log ? kWriteBitsOfNewFile : 0;
  return fs.SetAttributesGivingWriteBits(record.current_path, value, write_bits).ok() ? kAttributes
                                                                                       : kAttributes << 8;
}

// The target line of one undone record with its outcome bits (success low byte, failure high byte).
std::string TargetLine(const UndoTexts& t, const UndoRecord& record, int outcome, bool log_successes) {
  const int done = outcome & 0xFF;
  const int failed = outcome >> 8;
  std::string line;
  if (log_successes) {
    if (done & kName) line += t.name_done;
    if (done & kAttributes) line += t.attributes_done;
    if (done & kTimes) line += t.times_done;
    if (outcome == 0) line += t.nothing;
  }
  if (failed & kName) line += t.name_failed;
  if (failed & kAttributes) line += t.attributes_failed;
  if (failed & kTimes) line += t.times_failed;
  line += t.target;
  line += NameOf(record.current_path);
  line += t.arrow;
  auto field = [&line](const std::string& key, std::string_view value) {
    line += key;
    line += value;
    line += '>';
  };
  if (done & kName) field(t.restored_name, NameOf(record.restore_path));
  if (done & kAttributes) {
    field(t.restored_attributes,
          format_attributes(record.attributes == kUndoEmptyAttributes ? 0 : record.attributes));
  }
  if (done & kTimes) {
    if (!record.creation_time.empty()) field(t.restored_creation, record.creation_time);
    if (!record.write_time.empty()) field(t.restored_write, record.write_time);
    if (!record.access_time.empty()) field(t.restored_access, record.access_time);
  }
  return line;
}

}  // namespace

UndoResult UndoRun(const LogContext& log, UndoList* undo, bool from_log, std::string_view run_id) {
  UndoResult result;
  TextCodec& codec = log.host.codec;
  UserInterface& ui = log.host.ui;
  const UndoTexts t(codec);
  const bool log_on = !log.app.sw_opt[AppSettings::kOptNoLog];
  const bool log_successes =
      log.app.sw_opt[AppSettings::kOptLogAll] && log.app.sw_opt[AppSettings::kOptLogUndo];

  // The names come back below the directories of the run, never through a link swapped in since.
  const ConfinedScope confined(log.host.fs, undo->roots());
  const int total = static_cast<int>(undo->size());
  ui.OpenProgressDialog(Cp932Text(codec, "元に戻しています．．．"), total);
  ui.ClearCancel();
  bool error = false;

  // No other process writes the log or trims it while the undo's block is written.
  std::optional<LogHold> hold;
  hold.emplace(log);
  LogWriter writer(log);
  if (log_on && log.state.usable) {
    if (!writer.AppendLine(UndoHeaderLine(codec, from_log, run_id))) {
      ui.ShowWarning(Cp932Text(codec, kLogWriteFailure));
    }
  }

  std::string previous_directory = "\\";
  int done_count = 0;
  std::vector<RestoredDirectory> directories;
  ProgressText progress_text(codec);
  ProgressState state;
  while (!undo->empty()) {
    const UndoRecord& record = undo->Head();
    state.path = record.current_path;
    progress_text.Fill(done_count, total, &state);
    ui.UpdateProgress(state);
    if (ui.PollCancel()) {
      result.cancelled = true;
      break;
    }
    ++result.counters.processed;

    // What the undo is about to change, for the next holder of the log should the process be killed:
    // an entry left under the temporary name of its rename goes back, and read-only lifted for the
    // times comes back.
    TargetInFlight in_flight;
    in_flight.undo = true;
    in_flight.path = record.current_path;
    in_flight.new_path = record.restore_path;
    in_flight.temporary = MoveTemporaryPath(record.restore_path);
    LogJournal* journal = log.state.journal.get();

    int outcome = 0;
    if (!NameAlreadyBack(log.host.fs, record)) {
      if (journal != nullptr) journal->NoteTarget(in_flight);
      bool directory = false;
      outcome = RestoreTimes(log.host.fs, journal, &in_flight, record, &directory);
      const int attributes = RestoreAttributes(log.host.fs, record, from_log);
      // Recorded attributes set afterwards replace a read-only flag the times could not put back.
      if (attributes & kAttributes) outcome &= ~(kAttributes << 8);
      outcome |= attributes;
      if (!record.current_path.empty() && !record.restore_path.empty()) {
        outcome |= log.host.fs.Move(record.current_path, record.restore_path).ok() ? kName : kName << 8;
      }
      if (journal != nullptr) journal->TargetLogged();
      if (directory) {
        RestoredDirectory restored{(outcome & kName) ? record.restore_path : record.current_path, RecordedTimes()};
        ParseRecordedTimes(record, &restored.times);
        directories.push_back(std::move(restored));
      }
    }
    const bool succeeded = (outcome & 0xFF) != 0;
    const bool failed = (outcome >> 8) != 0;
    if (failed) error = true;
    if (succeeded) {
      ++(failed ? result.counters.partial_success : result.counters.full_success);
    } else {
      ++(failed ? result.counters.full_failure : result.counters.not_needed);
    }

    if (log_on && (failed || log_successes)) {
      const std::string_view directory = DirectoryOf(record.current_path);
      if (directory != previous_directory) {
        writer.AppendLine(t.directory + std::string(directory));
        previous_directory = std::string(directory);
      }
      writer.AppendLine(TargetLine(t, record, outcome, log_successes));
    }
    undo->PopHead();
    ++done_count;
  }
  // Renaming entries back changed the times of the directories holding them, some restored already:
  // their times are put back once more, now that every name inside them is back. Setting a
  // directory's times changes nothing in its parent, so the order does not matter.
  for (const RestoredDirectory& restored : directories) {
    FindData data;
    if (!log.host.fs.Stat(restored.path, &data).ok()) continue;
    TargetInFlight in_flight;
    in_flight.undo = true;
    in_flight.path = restored.path;
    LogJournal* journal = log.state.journal.get();
    if (journal != nullptr) journal->NoteTarget(in_flight);
    if (SetRecordedTimes(log.host.fs, journal, &in_flight, restored.path, data.attributes, restored.times) != kTimes) {
      error = true;
    }
    if (journal != nullptr) journal->TargetLogged();
  }
  ui.CloseProgressDialog();

  const RunCounters& c = result.counters;
  const std::string counts = Format(Cp932Text(codec, log_markers::kUndoCounts),
                                    c.full_success + c.not_needed, c.partial_success, c.full_failure, c.processed);
  if (result.cancelled && log_on) {
    writer.AppendLine(Cp932Text(codec, "ユーザによって途中キャンセルされています。"));
  }
  const bool any_failure = error || c.partial_success + c.full_failure > 0;
  const std::string verdict =
      Cp932Text(codec, any_failure         ? "元に戻すことに失敗したファイルがありました。"
                       : result.cancelled ? "キャンセル時点までに元に戻すことに失敗したファイルはありません。"
                                           : "全て元に戻すことに成功しました。");
  if (log_on) {
    writer.AppendLine(verdict);
    writer.AppendLine(counts);
  }
  // Let go of the log (unless an undo from the log holds it) before the message box waits for a click.
  hold.reset();
  std::string message = verdict;
  if (any_failure && log.state.usable) message += Cp932Text(codec, "ログを参照してください。");
  message += "\n\n" + counts + Cp932Text(codec, "　　");
  ui.ShowSummary(SummaryKind::kUndo, message);
  result.ok = !any_failure;
  return result;
}

}  // namespace morva
