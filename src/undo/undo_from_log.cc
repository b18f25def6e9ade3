#include "undo/undo_from_log.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/engine_text.h"
#include "platform/path_utils.h"
#include "core/user_interface.h"
#include "fileops/date_time_text.h"
#include "log/log_journal.h"
#include "log/log_lines.h"
#include "log/log_markers.h"
#include "log/log_writer.h"
#include "log/undo_block.h"
#include "undo/undo_run.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/wildcard.h"

namespace morva {
namespace {

// The fixed texts of the extraction, in code page 932.
struct ExtractTexts {
  explicit ExtractTexts(TextCodec& codec)
      : counts_full(Cp932Text(codec, log_markers::kFullSuccessCount)),
        counts_slash(Cp932Text(codec, "完全成功／")),
        directory(Cp932Text(codec, log_markers::kDirectory)),
        success_tag(Cp932Text(codec, log_markers::kSuccessTag)),
        target(Cp932Text(codec, log_markers::kTargetField)),
        new_name(Cp932Text(codec, log_markers::kNewNameField)),
        attributes(Cp932Text(codec, log_markers::kOldAttributesField)),
        times{Cp932Text(codec, log_markers::kOldTimeFields[0]), Cp932Text(codec, log_markers::kOldTimeFields[1]),
              Cp932Text(codec, log_markers::kOldTimeFields[2])},
        error_names{Cp932Text(codec, "名称,"), Cp932Text(codec, "属性,"), Cp932Text(codec, "作成日時,"),
                    Cp932Text(codec, "更新日時,"), Cp932Text(codec, "アクセス日時,")},
        error_start(Cp932Text(codec, log_markers::kReadErrorTag)),
        error_end(Cp932Text(codec, log_markers::kReadErrorTarget)),
        block_markers{Cp932Text(codec, log_markers::kRunBlock), Cp932Text(codec, log_markers::kUndoBlock),
                      Cp932Text(codec, log_markers::kExtractionBlock)} {}

  std::string counts_full, counts_slash, directory, success_tag, target, new_name, attributes;
  std::string times[3];
  std::string error_names[5];
  std::string error_start, error_end;
  std::string block_markers[3];

  // The end of a run's block: its counts line or, in a log cut short, the header of the next block.
  bool EndsBlock(std::string_view text) const {
    if (StartsWith(text, counts_full) || StartsWith(text, counts_slash)) return true;
    for (const std::string& marker : block_markers) {
      if (StartsWith(text, marker)) return true;
    }
    return false;
  }
};

// The name of an entry right in a directory: a name with '\', '/' or another character no file name
// holds, or "." or "..", would make the undo reach outside the directory the log names.
bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t length = cp932::CharLengthAt(name, i);
    if (length == 1 && !IsFileNameChar(static_cast<unsigned char>(name[i]), false)) return false;
    i += length == 0 ? 1 : length;
  }
  return true;
}

// The value of the field `key` ("*名称変換<" ...) in `text`: true with *found false when the field is
// absent; false when it is there but not closed by '>'.
bool FieldValue(std::string_view text, std::string_view key, bool* found, std::string_view* value) {
  const std::size_t start = text.find(key);
  *found = start != std::string_view::npos;
  if (!*found) return true;
  const std::size_t value_start = start + key.size();
  const std::size_t close = text.find(log_markers::kFieldEnd, value_start);
  if (close == std::string_view::npos) return false;
  *value = text.substr(value_start, close - value_start);
  return true;
}

// The attribute set named by the letters A, D, H, R and S of a logged value; other characters (and the
// halves of double-byte characters) say nothing.
std::uint32_t AttributesFromLetters(std::string_view value) {
  if (value.empty()) return kUndoEmptyAttributes;
  std::uint32_t attributes = 0;
  for (std::size_t i = 0; i < value.size();) {
    const std::size_t length = cp932::CharLengthAt(value, i);
    if (length == 1) {
      switch (value[i]) {
        case 'A': attributes |= kAttrArchive; break;
        case 'D': attributes |= kAttrDirectory; break;
        case 'H': attributes |= kAttrHidden; break;
        case 'R': attributes |= kAttrReadOnly; break;
        case 'S': attributes |= kAttrSystem; break;
        default: break;
      }
    }
    i += length == 0 ? 1 : length;
  }
  return attributes;
}

// A logged time: exactly "YYYY/MM/DD hh:mm:ss.SSS" naming a real moment.
bool IsLoggedTime(std::string_view value) {
  return value.size() == 23 && value[10] == ' ' && validate_date_time(value.substr(0, 10), value.substr(11, 12), false);
}

// An absolute path ("X:\..." or "\\server\share\...") with no empty, "." or ".." component: the
// form every directory of a run is logged in.
bool IsPlainPath(std::string_view path) {
  const bool absolute = (path.size() >= 3 && path[1] == ':' && path[2] == '\\') ||
                        (path.size() >= 3 && path[0] == '\\' && path[1] == '\\');
  return absolute && NormalizePath(path) == path;
}

bool IsBelowOrAt(std::string_view directory, std::string_view root) {
  if (directory == root) return true;
  std::string prefix(root);
  if (prefix.empty() || prefix.back() != '\\') prefix.push_back('\\');
  return directory.size() > prefix.size() && directory.compare(0, prefix.size(), prefix) == 0;
}

// Where the lines of a logged run may lead, and the roots its undo works below. A run of a directory
// changed entries below the directory its header names, and that directory itself (or, for a file or a
// wildcard, the entries it named in the directory above); a run of a list changed entries of the
// directories its lines name. A line leading anywhere else (a tampered "..\" directory, another tree)
// is refused, and so is every line below a root that is a symbolic link now: a directory the run
// reached through a link may have been pointed elsewhere since, and the undo must not rename what it
// finds there. Below a root nothing is followed (see FileSystem::ConfineTo).
class LoggedTree {
 public:
  LoggedTree(FileSystem& fs, std::string_view target) : fs_(fs) {
    directory_mode_ = target.size() >= 2 &&
                      ((target[0] == '\\' && target[1] == '\\') ||
                       (static_cast<unsigned char>(target[0] | 0x20) >= 'a' &&
                        static_cast<unsigned char>(target[0] | 0x20) <= 'z' && target[1] == ':'));
    if (!directory_mode_) return;
    target_ = std::string(target);
    target_plain_ = IsPlainPath(target_);
    SplitPath(target_, &parent_, &base_);
    wildcard_ = FindFirstChar(base_, '*') != std::string::npos || FindFirstChar(base_, '?') != std::string::npos;
  }

  // Whether the target line `name` (a plain name, checked apart) under `directory` stays in the tree.
  bool Admits(const std::string& directory, std::string_view name) {
    if (!IsPlainPath(directory)) return false;
    if (!directory_mode_) return Root(directory);
    if (!target_plain_) return false;
    if (!wildcard_ && IsBelowOrAt(directory, target_)) return Root(target_);
    if (directory != parent_) return false;
    if (wildcard_ ? !WildcardPattern(base_).Matches(name) : name != base_) return false;
    return Root(parent_);
  }

  std::vector<std::string> Roots() const {
    std::vector<std::string> roots;
    for (const auto& [root, usable] : roots_) {
      if (usable) roots.push_back(root);
    }
    return roots;
  }

 private:
  // Takes `root` as a root of the undo: false when it is a symbolic link now.
  bool Root(const std::string& root) {
    const auto known = roots_.find(root);
    if (known != roots_.end()) return known->second;
    FindData data;
    const bool usable = !fs_.Stat(root, &data).ok() || (data.attributes & kAttrReparsePoint) == 0;
    roots_.emplace(root, usable);
    return usable;
  }

  FileSystem& fs_;
  bool directory_mode_ = false;
  std::string target_, parent_, base_;
  bool target_plain_ = false;
  bool wildcard_ = false;
  std::map<std::string, bool> roots_;  // each root met, and whether it may be used
};

enum ExtractResult { kExtracted, kNotNeeded, kReadError };

// Reads one target line `text` (known to carry a success tag) under `directory`. On success the record
// is in *record; on a read error *errors names the fields that failed.
ExtractResult ReadTargetLine(const ExtractTexts& t, std::string_view directory, std::string_view name,
                             std::string_view fields, UndoRecord* record, std::string* errors) {
  *record = UndoRecord();
  record->current_path = JoinPath(directory, name);
  bool name_error = !IsPlainName(name);
  bool attributes_error = false;
  bool time_errors[3] = {false, false, false};
  bool any = false;

  bool found = false;
  std::string_view value;
  if (!FieldValue(fields, t.new_name, &found, &value) || (found && !IsPlainName(value))) {
    name_error = true;
  } else if (found) {
    record->restore_path = record->current_path;
    record->current_path = JoinPath(directory, value);
    any = true;
  }
  if (!FieldValue(fields, t.attributes, &found, &value)) {
    attributes_error = true;
  } else if (found) {
    record->attributes = AttributesFromLetters(value);
    any = any || record->attributes != 0;
  }
  std::string* time_fields[3] = {&record->creation_time, &record->write_time, &record->access_time};
  for (int i = 0; i < 3; ++i) {
    if (!FieldValue(fields, t.times[i], &found, &value) || (found && !IsLoggedTime(value))) {
      time_errors[i] = true;
    } else if (found) {
      *time_fields[i] = std::string(value);
      any = true;
    }
  }

  errors->clear();
  if (name_error) *errors += t.error_names[0];
  if (attributes_error) *errors += t.error_names[1];
  for (int i = 0; i < 3; ++i) {
    if (time_errors[i]) *errors += t.error_names[2 + i];
  }
  if (!errors->empty()) {
    errors->pop_back();  // the last comma
    return kReadError;
  }
  return any ? kExtracted : kNotNeeded;
}

}  // namespace

std::string UndoFromLogQuestion(TextCodec& codec, const UndoList& undo, const LoggedRun& run) {
  std::string notes;
  if (run.undone) notes += Cp932Text(codec, "\n　・既に「元に戻す」が実行されているログです。");
  if (!undo.empty()) notes += Cp932Text(codec, "\n　・実行すると「元に戻す」ことはできなくなります。");
  std::string question = Cp932Text(codec, "指定の変換結果ログから元に戻します。よろしいですか？");
  if (!notes.empty()) question += "\n" + notes;
  return question;
}

bool RunHasUndoableTargets(TextCodec& codec, ReadableFile& log, const LoggedRun& run) {
  const ExtractTexts t(codec);
  LogLineStream stream(log, run.position, LogLineStream::kFewLinesBuffer);
  LogLine line;
  if (!stream.Next(&line)) return false;  // the run's own header
  bool in_directory = false;
  while (stream.Next(&line)) {
    if (t.EndsBlock(line.text)) break;
    if (StartsWith(line.text, t.directory)) in_directory = true;
    if (in_directory && StartsWith(line.text, t.success_tag)) return true;
  }
  return false;
}

bool ExtractRun(const LogContext& log_context, UndoList* undo, ReadableFile& log, const LoggedRun& run,
                ExtractionCounts* counts) {
  TextCodec& codec = log_context.host.codec;
  UserInterface& ui = log_context.host.ui;
  const ExtractTexts t(codec);
  *counts = ExtractionCounts();
  bool error = false;
  const bool log_on = !log_context.app.sw_opt[AppSettings::kOptNoLog];

  LogWriter log_writer(log_context);
  if (log_on && log_context.state.usable) {
    log_context.state.run_id = run.id;
    if (!log_writer.AppendLine(ExtractionHeaderLine(codec, run.id))) {
      ui.ShowWarning(Cp932Text(codec, "結果ログの書き込みに失敗しました。処理は継続します。"));
    }
  }
  undo->Clear();

  // The header sits where the scan found it: the hold on the log kept every other process away since.
  LogLineStream stream(log, run.position);
  LogLine line;
  stream.Next(&line);
  std::string directory;
  bool have_directory = false;
  UndoRecord record;
  std::string errors;
  LoggedTree tree(log_context.host.fs, run.target);
  const std::string outside_tree = Cp932Text(codec, "ディレクトリ");
  // The target field starts after the tags; the shortest tag with its space takes 12 bytes.
  constexpr std::size_t kFirstTargetField = 12;
  while (stream.Next(&line)) {
    const std::string_view text = line.text;
    if (t.EndsBlock(text)) break;
    if (StartsWith(text, t.directory)) {
      directory = std::string(text.substr(t.directory.size()));
      have_directory = !directory.empty();
      continue;
    }
    if (!have_directory || !StartsWith(text, t.success_tag)) continue;
    const std::size_t field = text.find(t.target, kFirstTargetField);
    if (field == std::string_view::npos) continue;
    const std::size_t name_start = field + t.target.size();
    const std::size_t close = text.find(log_markers::kFieldEnd, name_start);
    if (close == std::string_view::npos || close == name_start) continue;
    const std::string_view name = text.substr(name_start, close - name_start);
    const std::string_view rest = text.substr(close + 1);

    ++counts->total;
    ExtractResult read = ReadTargetLine(t, directory, name, rest, &record, &errors);
    if (!tree.Admits(directory, name)) {
      if (read != kReadError) errors.clear();
      if (!errors.empty()) errors += ",";
      errors += outside_tree;
      read = kReadError;
    }
    switch (read) {
      case kExtracted:
        ++counts->success;
        undo->Push(std::move(record));
        break;
      case kNotNeeded:
        ++counts->not_needed;
        break;
      case kReadError:
        ++counts->failure;
        error = true;
        if (log_on) {
          log_writer.AppendLine(t.error_start + errors + t.error_end + JoinPath(directory, name) + "> " +
                                        std::string(rest));
        }
        break;
    }
  }

  undo->set_roots(tree.Roots());
  const std::string counts_text = Format(Cp932Text(codec, log_markers::kExtractionCounts),
                                         counts->success, counts->not_needed, counts->failure, counts->total);
  if (error || counts->failure > 0) {
    const std::string verdict = Cp932Text(codec, "ログ内容が不正のため抽出に失敗した変換ログがありました。");
    if (log_on) {
      log_writer.AppendLine(verdict);
      log_writer.AppendLine(counts_text);
    }
    std::string question = verdict;
    if (log_context.state.usable) question += Cp932Text(codec, "ログを参照してください。");
    question += Cp932Text(codec, "\nこのまま「元に戻す」を実行してもよろしいですか？\n\n") + counts_text +
                Cp932Text(codec, "　　");
    if (!ui.AskYesNo(question)) {
      undo->Clear();
      return false;
    }
    return true;
  }
  std::string verdict = Cp932Text(codec, "全ての変換ログ抽出に成功しました。");
  if (counts->success == 0) {
    verdict += Cp932Text(codec, "ログ中には有効となる変換ログは存在しませんでした。");
    ui.ShowInformation(verdict);
  }
  if (log_on) {
    log_writer.AppendLine(verdict);
    log_writer.AppendLine(counts_text);
  }
  return counts->success > 0;
}

bool RunLogLines(TextCodec& codec, ReadableFile& log, const LoggedRun& run, std::vector<std::string>* lines) {
  const ExtractTexts t(codec);
  lines->clear();
  LogLineStream stream(log, run.position, LogLineStream::kFewLinesBuffer);
  LogLine line;
  if (!stream.Next(&line)) return false;
  lines->emplace_back(line.text);
  while (stream.Next(&line)) {
    const bool counts = StartsWith(line.text, t.counts_full) || StartsWith(line.text, t.counts_slash);
    if (!counts && t.EndsBlock(line.text)) return true;  // the next block of a log cut short
    lines->emplace_back(line.text);
    if (counts) return true;
  }
  return stream.ok();
}

namespace {

LogUndoOutcome UndoRunFromLog(const LogContext& log_context, UndoList* undo, std::string_view log_path,
                              std::string_view run_id, bool ask, LogUndoResult* result) {
  TextCodec& codec = log_context.host.codec;
  UserInterface& ui = log_context.host.ui;
  *result = LogUndoResult();
  // From the scan to the end of the undo no other process may move the runs in the log.
  const LogHold hold(log_context);
  std::vector<LoggedRun> runs;
  std::unique_ptr<ReadableFile> log;
  const int found = log_context.host.fs.OpenRead(log_path, &log).ok() ? ScanRunsIn(codec, *log, &runs) : -1;
  if (found < 0) {
    ui.ShowWarning(Cp932Text(codec, "ログが見つかりませんでした。"));
    return LogUndoOutcome::kNoLog;
  }
  if (found == 0) {
    ui.ShowWarning(Cp932Text(codec, "ログには変換実行結果がありませんでした。"));
    return LogUndoOutcome::kNoRuns;
  }

  const LoggedRun* run = nullptr;
  for (auto it = runs.rbegin(); it != runs.rend() && run == nullptr; ++it) {
    if (run_id.empty() ? it->undoable && !it->undone : it->id == run_id) run = &*it;
  }
  if (run == nullptr) {
    if (!run_id.empty()) return LogUndoOutcome::kUnknownRun;
    const bool any_undoable = std::any_of(runs.begin(), runs.end(), [](const LoggedRun& r) { return r.undoable; });
    return any_undoable ? LogUndoOutcome::kAllUndone : LogUndoOutcome::kNoUndoableRun;
  }
  if (!run->undoable) {
    ui.ShowWarning(Cp932Text(codec, "指定のログからは元に戻すことができません。"));
    return LogUndoOutcome::kNotUndoable;
  }
  if (ask && !ui.AskYesNo(UndoFromLogQuestion(codec, *undo, *run))) return LogUndoOutcome::kDeclined;
  if (!RunHasUndoableTargets(codec, *log, *run)) {
    ui.ShowInformation(Cp932Text(codec, "ログには元に戻すものが存在しませんでした。"));
    return LogUndoOutcome::kNothingToUndo;
  }

  ExtractionCounts counts;
  if (!ExtractRun(log_context, undo, *log, *run, &counts)) {
    return counts.failure > 0 ? LogUndoOutcome::kDeclined : LogUndoOutcome::kNothingToUndo;
  }
  result->undo = UndoRun(log_context, undo, true, run->id);
  return LogUndoOutcome::kUndone;
}

}  // namespace

LogUndoOutcome UndoFromLog(const LogContext& log_context, UndoList* undo, std::string_view log_path,
                           std::string_view run_id, LogUndoResult* result) {
  return UndoRunFromLog(log_context, undo, log_path, run_id, true, result);
}

LogUndoOutcome UndoConfirmedRunFromLog(const LogContext& log_context, UndoList* undo, std::string_view log_path,
                                       std::string_view run_id, LogUndoResult* result) {
  if (run_id.empty()) {
    *result = LogUndoResult();
    return LogUndoOutcome::kUnknownRun;
  }
  return UndoRunFromLog(log_context, undo, log_path, run_id, false, result);
}

}  // namespace morva
