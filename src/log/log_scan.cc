#include "log/log_scan.h"

#include <algorithm>
#include <deque>
#include <optional>

#include "platform/engine_text.h"
#include "fileops/date_time_text.h"
#include "log/log_markers.h"
#include "platform/decimal_text.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"

namespace morva {
namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The fixed texts the scanner recognises, in code page 932.
struct ScanTexts {
  explicit ScanTexts(TextCodec& codec)
      : run_header(Cp932Text(codec, log_markers::kRunBlock) + std::string(kLogVersionTag) +
                   Cp932Text(codec, log_markers::kRunHeaderEnd)),
        undo_header_start(Cp932Text(codec, log_markers::kUndoBlock) + std::string(kLogVersionWord)),
        undo_header_end(Cp932Text(codec, log_markers::kNamedRunEnd) +
                        Cp932Text(codec, log_markers::kUndoHeaderEnd)),
        extraction_header_start(Cp932Text(codec, log_markers::kExtractionBlock) + std::string(kLogVersionWord)),
        extraction_header_end(Cp932Text(codec, log_markers::kNamedRunEnd) +
                              Cp932Text(codec, log_markers::kExtractionHeaderEnd)),
        cancelled(Cp932Text(codec, log_markers::kCancelled)),
        block_markers{Cp932Text(codec, log_markers::kRunBlock), Cp932Text(codec, log_markers::kUndoBlock),
                      Cp932Text(codec, log_markers::kExtractionBlock)},
        copy(Cp932Text(codec, log_markers::kCopyKind)),
        file_count(Cp932Text(codec, log_markers::kFileCount)),
        target_directory(Cp932Text(codec, log_markers::kTargetDirectory)),
        files(Cp932Text(codec, "ファイル")),
        function(Cp932Text(codec, log_markers::kFunction)),
        deletion(Cp932Text(codec, log_markers::kDeletionFunction)),
        id3(Cp932Text(codec, log_markers::kId3Function)),
        directory_line(Cp932Text(codec, log_markers::kDirectory)),
        counts{Cp932Text(codec, log_markers::kFullSuccessCount), Cp932Text(codec, "完全成功／")} {}

  std::string run_header, undo_header_start, undo_header_end, extraction_header_start, extraction_header_end;
  std::string cancelled;
  std::string block_markers[3];
  std::string copy, file_count, target_directory, files, function, deletion, id3;
  std::string directory_line;
  std::string counts[2];

  bool IsCounts(std::string_view text) const { return StartsWith(text, counts[0]) || StartsWith(text, counts[1]); }

  // The identifier an undo header (or, with `extraction`, an extraction header) quotes; empty for any
  // other line.
  std::string_view QuotedRun(const LogLine& line, bool extraction) const {
    const std::string& start = extraction ? extraction_header_start : undo_header_start;
    const std::string& end = extraction ? extraction_header_end : undo_header_end;
    if (!StartsWith(line.text, start) || !EndsWith(line.text, end)) return {};
    const std::size_t quoted_end = line.text.size() - end.size();
    if (quoted_end < kLogStampSize + start.size()) return {};
    return line.text.substr(quoted_end - kLogStampSize, kLogStampSize);
  }

  bool IsBlockHeader(std::string_view text) const {
    for (const std::string& marker : block_markers) {
      if (StartsWith(text, marker)) return true;
    }
    return false;
  }
};

// A run header: the header text in every byte but the version digit, under a valid time stamp.
bool IsRunHeader(const ScanTexts& t, const LogLine& line) {
  if (line.text.size() != t.run_header.size() || line.body[10] != ' ') return false;
  const std::size_t version_digit = t.block_markers[0].size() + kLogVersionWord.size();
  for (std::size_t i = 0; i < line.text.size(); ++i) {
    if (i != version_digit && line.text[i] != t.run_header[i]) return false;
  }
  CalendarTime stamp;
  return parse_time_stamp(line.body.substr(0, kLogStampSize), &stamp);
}

// Reads one header line after a run's header line into *run; false once the header is over (its job
// summary read, or a line that no header holds: a header cut short, whose job stays unknown).
bool ReadRunDetail(const ScanTexts& t, std::string_view text, LoggedRun* run, bool* function_seen) {
  if (t.IsBlockHeader(text) || StartsWith(text, t.directory_line) || StartsWith(text, t.counts[0]) ||
      StartsWith(text, t.counts[1])) {
    return false;
  }
  if (StartsWith(text, t.copy)) {
    run->undoable = false;
  } else if (StartsWith(text, t.file_count)) {
    const std::string_view number = text.substr(t.file_count.size());
    run->target = std::to_string(LeadingInt(number)) + t.files;
  } else if (StartsWith(text, t.target_directory)) {
    run->target = std::string(text.substr(t.target_directory.size()));
  } else if (StartsWith(text, t.function)) {
    run->function = std::string(text.substr(t.function.size()));
    *function_seen = true;
    return false;
  }
  return true;
}

}  // namespace

int ScanRunsIn(TextCodec& codec, ReadableFile& log, std::vector<LoggedRun>* runs) {
  runs->clear();
  const ScanTexts t(codec);
  // The shortest line that can be a block header; anything shorter is passed over.
  constexpr std::size_t kShortestHeader = 41;

  std::deque<LoggedRun> found;
  // The run whose header lines are being read, with whether its job summary has come.
  std::optional<LoggedRun> reading;
  bool function_seen = false;
  auto finish_reading = [&] {
    if (!function_seen || reading->function.empty() || StartsWith(reading->function, t.deletion) ||
        StartsWith(reading->function, t.id3)) {
      reading->undoable = false;
    }
    found.push_back(std::move(*reading));
    if (found.size() > static_cast<std::size_t>(kMaxLoggedRuns)) found.pop_front();
    reading.reset();
  };

  // The undo whose block is being read: the run it quotes, and whether it was cancelled. An undo marks
  // its run undone only at its closing counts line, and only when it was not cancelled: an undo killed
  // part way (its block cut short by the end of the log or by the next block) or cancelled left the run
  // half undone, and the next undo of the run goes on with it.
  std::optional<std::string> undoing;
  bool undo_cancelled = false;

  LogLineStream stream(log, 0);
  LogLine line;
  while (stream.Next(&line)) {
    // A line is read as part of the header before it, and then for what it is itself.
    if (reading.has_value() && !ReadRunDetail(t, line.text, &*reading, &function_seen)) finish_reading();
    if (undoing.has_value()) {
      if (t.IsCounts(line.text)) {
        if (!undo_cancelled) {
          for (LoggedRun& run : found) {
            if (run.id == *undoing) run.undone = true;
          }
        }
        undoing.reset();
        continue;
      }
      if (line.text == t.cancelled) undo_cancelled = true;
      if (t.IsBlockHeader(line.text)) undoing.reset();
    }
    if (line.body.size() < kShortestHeader) continue;
    if (const std::string_view quoted = t.QuotedRun(line, false); !quoted.empty()) {
      // Only a run listed before it: an undo never undoes a run that starts after it.
      if (std::any_of(found.begin(), found.end(), [quoted](const LoggedRun& run) { return run.id == quoted; })) {
        undoing = std::string(quoted);
        undo_cancelled = false;
      }
      continue;
    }
    if (!IsRunHeader(t, line)) continue;
    if (reading.has_value()) finish_reading();
    reading.emplace();
    reading->id = std::string(line.body.substr(0, kLogStampSize));
    reading->position = line.offset;
    function_seen = false;
  }
  if (reading.has_value()) finish_reading();
  if (!stream.ok()) return -1;
  runs->assign(std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
  return static_cast<int>(runs->size());
}

void CollectRunIds(TextCodec& codec, ReadableFile& log, std::vector<std::string>* ids) {
  ids->clear();
  const ScanTexts t(codec);
  LogLineStream stream(log, 0);
  LogLine line;
  while (stream.Next(&line)) {
    if (IsRunHeader(t, line)) {
      ids->emplace_back(line.body.substr(0, kLogStampSize));
    } else if (std::string_view quoted = t.QuotedRun(line, false); !quoted.empty()) {
      ids->emplace_back(quoted);
    } else if (quoted = t.QuotedRun(line, true); !quoted.empty()) {
      ids->emplace_back(quoted);
    }
  }
}

int ScanRunsInText(TextCodec& codec, std::string_view log, std::vector<LoggedRun>* runs) {
  MemoryReadableFile file{std::string(log)};
  return ScanRunsIn(codec, file, runs);
}

int ScanRuns(FileSystem& fs, TextCodec& codec, std::string_view log_path, std::vector<LoggedRun>* runs) {
  runs->clear();
  std::unique_ptr<ReadableFile> file;
  if (!fs.OpenRead(log_path, &file).ok()) return -1;
  return ScanRunsIn(codec, *file, runs);
}

}  // namespace morva
