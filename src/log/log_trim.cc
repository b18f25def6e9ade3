#include "log/log_trim.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

#include "platform/engine_text.h"
#include "platform/path_utils.h"
#include "fileops/date_time_text.h"
#include "log/log_journal.h"
#include "log/log_lines.h"
#include "log/log_markers.h"
#include "log/log_scan.h"
#include "log/log_writer.h"
#include "platform/memory_file.h"

namespace morva {
namespace {

// The markers a trim recognises, in code page 932.
struct Markers {
  explicit Markers(TextCodec& codec)
      : run_header(Cp932Text(codec, log_markers::kRunBlock) + std::string(kLogVersionTag) +
                   Cp932Text(codec, log_markers::kRunHeaderEnd)),
        version_digit(Cp932Text(codec, log_markers::kRunBlock).size() + kLogVersionWord.size()),
        undo_start(Cp932Text(codec, log_markers::kUndoBlock) + std::string(kLogVersionWord)),
        extraction_start(Cp932Text(codec, log_markers::kExtractionBlock) + std::string(kLogVersionWord)),
        names_run(Cp932Text(codec, log_markers::kUndoNamesRun)),
        names_run_end(Cp932Text(codec, log_markers::kNamedRunEnd)),
        header_end_size(Cp932Text(codec, log_markers::kUndoHeaderEnd).size()),
        counts{Cp932Text(codec, log_markers::kSuccessCount), Cp932Text(codec, "成功／"),
               Cp932Text(codec, log_markers::kFullSuccess)} {}

  // A run header: the run-start text in every byte but the version digit, after a time stamp that
  // holds a real date and time. The stamp is judged as the scanner of the runs judges it, so that the
  // runs counted here are the runs the person can list and undo (a run stamped "1601/01/01 00:00:00",
  // written while the clock had no local time, among them).
  bool IsRunHeader(const LogLine& line) const {
    if (line.text.size() != run_header.size() || line.body[10] != ' ') return false;
    for (std::size_t i = 0; i < run_header.size(); ++i) {
      if (i != version_digit && line.text[i] != run_header[i]) return false;
    }
    CalendarTime stamp;
    return parse_time_stamp(line.body.substr(0, kLogStampSize), &stamp);
  }

  // The identifier an undo or extraction header names, or empty for any other line. The identifier
  // closes "元に戻す」（%s）", which ends header_end_size bytes before the end of the line: the end of an
  // undo header or of an extraction header, as long as each other, whose bytes are not compared.
  std::string_view NamedRun(const LogLine& line) const {
    if (!StartsWith(line.text, undo_start) && !StartsWith(line.text, extraction_start)) return {};
    const std::size_t tail = kLogStampSize + names_run_end.size() + header_end_size;
    const std::size_t need = names_run.size() + tail;
    if (line.body.size() < need) return {};
    const std::size_t id_at = line.body.size() - tail;
    if (line.body.compare(id_at - names_run.size(), names_run.size(), names_run) != 0) return {};
    if (line.body.compare(id_at + kLogStampSize, names_run_end.size(), names_run_end) != 0) return {};
    return line.body.substr(id_at, kLogStampSize);
  }

  bool IsCounts(const LogLine& line) const {
    return std::any_of(std::begin(counts), std::end(counts),
                       [&line](const std::string& c) { return StartsWith(line.text, c); });
  }

  std::string run_header;
  // Where the version's digit stands in a run header: after "■ MORVA - Version ".
  std::size_t version_digit;
  std::string undo_start;
  std::string extraction_start;
  std::string names_run;
  std::string names_run_end;
  std::size_t header_end_size;
  std::string counts[3];
};

// Lines shorter than this, line feed included, carry no text worth keeping.
constexpr std::size_t kShortestKeptLine = 23;

struct RunHeader {
  std::uint64_t offset;
  std::string id;
};

}  // namespace

bool TrimLogLines(TextCodec& codec, ReadableFile& log, int keep, const std::function<bool(std::string_view)>& out) {
  keep = std::clamp(keep, 1, kMaxLoggedRuns);
  const Markers markers(codec);
  std::vector<RunHeader> headers;
  {
    LogLineStream stream(log, 0);
    LogLine line;
    while (stream.Next(&line)) {
      if (markers.IsRunHeader(line)) headers.push_back({line.offset, std::string(line.body.substr(0, kLogStampSize))});
    }
    if (!stream.ok()) return false;
  }
  if (headers.size() <= static_cast<std::size_t>(keep)) return false;

  const std::size_t first_kept = headers.size() - static_cast<std::size_t>(keep);
  std::vector<std::string_view> dropped, kept;
  for (std::size_t h = 0; h < headers.size(); ++h) (h < first_kept ? dropped : kept).push_back(headers[h].id);
  std::sort(dropped.begin(), dropped.end());
  std::sort(kept.begin(), kept.end());
  auto names_dropped_run = [&](std::string_view id) {
    return !id.empty() && std::binary_search(dropped.begin(), dropped.end(), id) &&
           !std::binary_search(kept.begin(), kept.end(), id);
  };

  LogLineStream stream(log, headers[first_kept].offset);
  LogLine line;
  bool skipping = false;
  while (stream.Next(&line)) {
    if (line.full.size() < kShortestKeptLine) continue;
    // A block ends at its counts line or, cut short by a killed process, at the next block's header,
    // which is then taken for what it is.
    const std::string_view named = markers.NamedRun(line);
    if (skipping) {
      if (markers.IsRunHeader(line) || !named.empty()) {
        skipping = false;
      } else {
        if (markers.IsCounts(line)) skipping = false;
        continue;
      }
    }
    if (names_dropped_run(named)) {
      skipping = true;
      continue;
    }
    if (!out(line.full)) return false;
  }
  return stream.ok();
}

bool TrimLogText(TextCodec& codec, std::string_view log, int keep, std::string* out) {
  MemoryReadableFile file{std::string(log)};
  std::string result;
  if (!TrimLogLines(codec, file, keep, [&result](std::string_view line) {
        result.append(line);
        return true;
      })) {
    return false;
  }
  *out = std::move(result);
  return true;
}

bool TrimLog(const LogContext& log) {
  if (log.app.sw_opt[AppSettings::kOptNoLog]) return false;
  LogHold hold(log);
  // The log is about to be replaced: what is collected for it goes in first, and the old file is let go.
  if (log.state.journal != nullptr) log.state.journal->CloseLog();
  const std::string path = LogPath(log.host);
  const std::string temporary = JoinPath(log.host.program_directory, kLogTrimFileName);
  // A copy left by a killed trim is no use to anybody: the hold keeps every other trim away. Best effort:
  // OpenReplacement clears the name again before it writes, and fails the trim if it cannot.
  log.host.fs.RemoveFile(temporary).IgnoreError();

  std::unique_ptr<ReadableFile> lines;
  if (!log.host.fs.OpenRead(path, &lines).ok()) return false;
  std::unique_ptr<ReplacementFile> replacement;
  bool opened = false;
  const bool trimmed = TrimLogLines(log.host.codec, *lines, log.app.opt_1, [&](std::string_view line) {
    // Opened at the first kept line, so a log that needs no trim is never touched.
    if (!opened && !log.host.fs.OpenReplacement(path, kLogTrimFileName, &replacement).ok()) return false;
    opened = true;
    return replacement->Append(line).ok();
  });
  return trimmed && opened && replacement->Commit().ok();
}

}  // namespace morva
