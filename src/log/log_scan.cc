#include "log/log_scan.h"

#include <charconv>

#include "engine/engine_text.h"
#include "fileops/date_time_text.h"
#include "platform/file_system.h"

namespace morva {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The fixed texts the scanner recognises, in code page 932.
struct ScanTexts {
  explicit ScanTexts(TextCodec& codec)
      : run_header(Cp932Text(codec, "■ MORVA - ") + std::string(kLogVersionTag) + Cp932Text(codec, " - 変換実行開始 ■")),
        undo_header_start(Cp932Text(codec, "◇ MORVA - Version ")),
        undo_header_end(Cp932Text(codec, "）実行開始 ◇")),
        block_markers{Cp932Text(codec, "■ MORVA - "), Cp932Text(codec, "◇ MORVA - "), Cp932Text(codec, "▽ MORVA - ")},
        copy(Cp932Text(codec, "変換種別：【コピー変換】")),
        target_mode(Cp932Text(codec, "変換対象指定方式：")),
        directory_mode(Cp932Text(codec, "変換対象指定方式：【指定ディレクトリ下の変換】")),
        file_count(Cp932Text(codec, "指定対象ファイル数：")),
        target_directory(Cp932Text(codec, "対象ディレクトリ（ファイル）：")),
        files(Cp932Text(codec, "ファイル")),
        function(Cp932Text(codec, "変換機能：")),
        deletion(Cp932Text(codec, "【ファイル削除")),
        id3(Cp932Text(codec, "【ID3情報変換")),
        directory_line(Cp932Text(codec, "ディレクトリ：")),
        counts{Cp932Text(codec, "完全成功：") , Cp932Text(codec, "完全成功／")} {}

  std::string run_header, undo_header_start, undo_header_end;
  std::string block_markers[3];
  std::string copy, target_mode, directory_mode, file_count, target_directory, files, function, deletion, id3;
  std::string directory_line;
  std::string counts[2];

  bool IsBlockHeader(std::string_view text) const {
    for (const std::string& marker : block_markers) {
      if (StartsWith(text, marker)) return true;
    }
    return false;
  }
};

// A run header: the header text in every byte but the version digit, under a valid time stamp.
bool IsRunHeader(const ScanTexts& t, std::string_view line) {
  const std::string_view text = LogLineText(line);
  if (text.size() != t.run_header.size() || line[10] != ' ') return false;
  constexpr std::size_t kVersionDigit = 19;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i != kVersionDigit && text[i] != t.run_header[i]) return false;
  }
  CalendarTime stamp;
  return parse_time_stamp(line.substr(0, 19), &stamp);
}

// Reads the header lines that follow a run header, up to its job summary, into *run.
void ReadRunDetails(const ScanTexts& t, std::string_view log, std::size_t from, LoggedRun* run) {
  LogLineReader reader(log, from);
  std::string_view line;
  bool function_seen = false;
  while (reader.Next(&line)) {
    const std::string_view text = LogLineText(line);
    if (t.IsBlockHeader(text) || StartsWith(text, t.directory_line) || StartsWith(text, t.counts[0]) ||
        StartsWith(text, t.counts[1])) {
      break;  // a header cut short: its job stays unknown
    }
    if (StartsWith(text, t.copy)) {
      run->undoable = false;
    } else if (StartsWith(text, t.file_count)) {
      const std::string_view number = text.substr(t.file_count.size());
      int count = 0;
      std::from_chars(number.data(), number.data() + number.size(), count);
      run->target = std::to_string(count) + t.files;
    } else if (StartsWith(text, t.target_directory)) {
      run->target = std::string(text.substr(t.target_directory.size()));
    } else if (StartsWith(text, t.function)) {
      run->function = std::string(text.substr(t.function.size()));
      function_seen = true;
      break;
    }
  }
  if (!function_seen || run->function.empty() || StartsWith(run->function, t.deletion) ||
      StartsWith(run->function, t.id3)) {
    run->undoable = false;
  }
}

}  // namespace

bool LogLineReader::Next(std::string_view* line, std::size_t* offset) {
  if (next_ >= log_.size()) return false;
  const std::size_t start = next_;
  std::size_t end = log_.find('\n', start);
  if (end == std::string_view::npos) {
    end = log_.size();
    next_ = end;
  } else {
    next_ = end + 1;
  }
  if (end > start && log_[end - 1] == '\r') --end;
  *line = log_.substr(start, end - start);
  if (offset != nullptr) *offset = start;
  return true;
}

int ScanRunsInText(TextCodec& codec, std::string_view log, std::vector<LoggedRun>* runs) {
  runs->clear();
  const ScanTexts t(codec);
  // The shortest line that can be a block header; anything shorter is passed over.
  constexpr std::size_t kShortestHeader = 41;
  constexpr std::size_t kIdSize = 19;

  LogLineReader reader(log);
  std::string_view line;
  std::size_t offset = 0;
  while (reader.Next(&line, &offset)) {
    if (line.size() < kShortestHeader) continue;
    const std::string_view text = LogLineText(line);
    if (StartsWith(text, t.undo_header_start) && EndsWith(text, t.undo_header_end)) {
      const std::size_t quoted_end = text.size() - t.undo_header_end.size();
      if (quoted_end < kIdSize + t.undo_header_start.size()) continue;
      const std::string_view quoted = text.substr(quoted_end - kIdSize, kIdSize);
      for (LoggedRun& run : *runs) {
        if (run.id == quoted) run.undone = true;
      }
      continue;
    }
    if (!IsRunHeader(t, line) || runs->size() >= kMaxLoggedRuns) continue;
    LoggedRun run;
    run.id = std::string(line.substr(0, kIdSize));
    run.position = offset;
    ReadRunDetails(t, log, reader.position(), &run);
    runs->push_back(std::move(run));
  }
  return static_cast<int>(runs->size());
}

int ScanRuns(FileSystem& fs, TextCodec& codec, std::string_view log_path, std::string* log,
             std::vector<LoggedRun>* runs) {
  runs->clear();
  if (!fs.ReadFile(log_path, FileSystem::kMaxLogFileSize, log).ok()) {
    log->clear();
    return -1;
  }
  return ScanRunsInText(codec, *log, runs);
}

}  // namespace morva
