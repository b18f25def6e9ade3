#ifndef MORVA_LOG_LOG_SCAN_H_
#define MORVA_LOG_LOG_SCAN_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_writer.h"

namespace morva {

class FileSystem;
class TextCodec;

// The runs the log holds at most that a scan lists; later runs are passed over.
inline constexpr std::size_t kMaxLoggedRuns = 40;

// One run found in the log.
struct LoggedRun {
  std::string id;            // the 19-byte time stamp of its header line
  std::size_t position = 0;  // the offset of its header line in the log
  bool undone = false;       // an undo block of the log quotes its identifier
  bool undoable = true;      // neither a copy conversion nor a deletion or ID3 job, and its job is known
  std::string target;        // the directory converted, or "%dファイル" for a list of files
  std::string function;      // the job summary after "変換機能："
};

// Walks the lines of log text. A line ends at a line feed, which is not part of it, nor is a carriage
// return before it (a log written on Windows); the last line need not end in one.
class LogLineReader {
 public:
  explicit LogLineReader(std::string_view log, std::size_t from = 0) : log_(log), next_(from) {}

  // The next line and the offset where it starts; false at the end of the log.
  bool Next(std::string_view* line, std::size_t* offset = nullptr);

  // Where the line after the last one returned starts.
  std::size_t position() const { return next_; }

 private:
  std::string_view log_;
  std::size_t next_;
};

// The text of a log line (after the time stamp and its two spaces); empty for a shorter line.
inline std::string_view LogLineText(std::string_view line) {
  return line.size() > kLogTextOffset ? line.substr(kLogTextOffset) : std::string_view();
}

// Lists the runs of the log text `log` (code page 932) in *runs, oldest first, at most kMaxLoggedRuns.
// A run is a line "■ MORVA - Version 6 - 変換実行開始 ■" (any version digit) under a valid time stamp,
// which is its identifier; the header lines after it give its target and function and tell whether it
// can be undone; an undo header quoting the identifier of a run listed before it marks that run undone.
// Lines the grammar does not know are passed over. Returns the number of runs.
int ScanRunsInText(TextCodec& codec, std::string_view log, std::vector<LoggedRun>* runs);

// As ScanRunsInText over the log file `log_path` (an engine path), whose text is left in *log so that a
// later extraction reads the same bytes. Returns -1 when the file cannot be read (*runs then empty).
int ScanRuns(FileSystem& fs, TextCodec& codec, std::string_view log_path, std::string* log,
             std::vector<LoggedRun>* runs);

}  // namespace morva

#endif  // MORVA_LOG_LOG_SCAN_H_
