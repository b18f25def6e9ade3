#include "log/log_trim.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_text.h"
#include "fileops/date_time_text.h"
#include "log/log_writer.h"

namespace morva {
namespace {

// One line of the log: `full` with its line feed (when it has one), `body` without it or a carriage
// return before it (a log that passed through a Windows editor), `text` from the line text on.
struct LogLine {
  std::string_view full;
  std::string_view body;
  std::string_view text;
};

std::vector<LogLine> SplitLines(std::string_view log) {
  std::vector<LogLine> lines;
  std::size_t start = 0;
  while (start < log.size()) {
    const std::size_t lf = log.find('\n', start);
    const std::size_t end = lf == std::string_view::npos ? log.size() : lf + 1;
    LogLine line;
    line.full = log.substr(start, end - start);
    line.body = line.full;
    if (!line.body.empty() && line.body.back() == '\n') line.body.remove_suffix(1);
    if (!line.body.empty() && line.body.back() == '\r') line.body.remove_suffix(1);
    line.text = line.body.size() > kLogTextOffset ? line.body.substr(kLogTextOffset) : std::string_view();
    lines.push_back(line);
    start = end;
  }
  return lines;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The markers a trim recognises, in code page 932.
struct Markers {
  explicit Markers(TextCodec& codec)
      : run_header(Cp932Text(codec, "■ MORVA - ") + std::string(kLogVersionTag) + Cp932Text(codec, " - 変換実行開始 ■")),
        undo_start(Cp932Text(codec, "◇ MORVA - Version ")),
        extraction_start(Cp932Text(codec, "▽ MORVA - Version ")),
        names_run(Cp932Text(codec, "元に戻す」（")),
        names_run_end(Cp932Text(codec, "）")),
        counts{Cp932Text(codec, "成功："), Cp932Text(codec, "成功／"), Cp932Text(codec, "完全成功")} {}

  // A run header: the run-start text in every byte but the version digit, after a time stamp that
  // holds a real date and time.
  bool IsRunHeader(const LogLine& line) const {
    if (line.text.size() != run_header.size() || line.body[10] != ' ') return false;
    for (std::size_t i = 0; i < run_header.size(); ++i) {
      if (i != kVersionDigit && line.text[i] != run_header[i]) return false;
    }
    return validate_date_time(line.body.substr(0, 10), line.body.substr(11, 8), false);
  }

  // The identifier an undo or extraction header names, or empty for any other line. The identifier
  // closes "元に戻す」（%s）", which ends 11 bytes before the end of the line ("実行開始 ◇" or "ログ抽出 ▽").
  std::string_view NamedRun(const LogLine& line) const {
    if (!StartsWith(line.text, undo_start) && !StartsWith(line.text, extraction_start)) return {};
    const std::size_t tail = kLogStampSize + names_run_end.size() + 11;
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

  // "■ MORVA - Version " is 18 bytes: the digit that follows is the version's.
  static constexpr std::size_t kVersionDigit = 19;
  std::string run_header;
  std::string undo_start;
  std::string extraction_start;
  std::string names_run;
  std::string names_run_end;
  std::string counts[3];
};

// Lines shorter than this, line feed included, carry no text worth keeping.
constexpr std::size_t kShortestKeptLine = 23;

}  // namespace

bool TrimLogText(TextCodec& codec, std::string_view log, int keep, std::string* out) {
  keep = std::clamp(keep, 1, kMaxLoggedRuns);
  const Markers markers(codec);
  const std::vector<LogLine> lines = SplitLines(log);
  std::vector<std::size_t> headers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (markers.IsRunHeader(lines[i])) headers.push_back(i);
  }
  if (headers.size() <= static_cast<std::size_t>(keep)) return false;

  const std::size_t first_kept = headers.size() - static_cast<std::size_t>(keep);
  std::vector<std::string_view> dropped, kept;
  for (std::size_t h = 0; h < headers.size(); ++h) {
    (h < first_kept ? dropped : kept).push_back(lines[headers[h]].body.substr(0, kLogStampSize));
  }
  auto names_dropped_run = [&](std::string_view id) {
    return !id.empty() && std::find(dropped.begin(), dropped.end(), id) != dropped.end() &&
           std::find(kept.begin(), kept.end(), id) == kept.end();
  };

  std::string result;
  bool skipping = false;
  for (std::size_t i = headers[first_kept]; i < lines.size(); ++i) {
    const LogLine& line = lines[i];
    if (line.full.size() < kShortestKeptLine) continue;
    if (skipping) {
      if (markers.IsRunHeader(line)) {
        skipping = false;
      } else {
        if (markers.IsCounts(line)) skipping = false;
        continue;
      }
    } else if (names_dropped_run(markers.NamedRun(line))) {
      skipping = true;
      continue;
    }
    result.append(line.full);
  }
  *out = std::move(result);
  return true;
}

bool TrimLog(Session& session) {
  if (session.app.sw_opt[1]) return false;
  const std::string path = LogPath(session);
  std::string log;
  if (!session.fs.ReadFile(path, FileSystem::kMaxLogFileSize, &log).ok()) return false;
  std::string trimmed;
  if (!TrimLogText(session.codec, log, session.app.opt_1, &trimmed)) return false;
  return session.fs.WriteFile(path, trimmed).ok();
}

}  // namespace morva
