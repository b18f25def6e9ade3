#ifndef MORVA_LOG_LOG_SCAN_H_
#define MORVA_LOG_LOG_SCAN_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_lines.h"
#include "log/log_writer.h"

namespace morva {

class FileSystem;
class ReadableFile;
class TextCodec;

// The most runs a scan lists and the log keeps (the largest OPT_1).
inline constexpr int kMaxLoggedRuns = 40;

// One run found in the log.
struct LoggedRun {
  std::string id;              // the 19-byte time stamp of its header line
  std::uint64_t position = 0;  // the offset of its header line in the log
  bool undone = false;         // an undo block of the log quotes its identifier
  bool undoable = true;        // neither a copy conversion nor a deletion or ID3 job, and its job is known
  std::string target;          // the directory converted, or "%dファイル" for a list of files
  std::string function;        // the job summary after "変換機能："
};

// Lists the runs of the log `log` (code page 932) in *runs, oldest first: the newest kMaxLoggedRuns
// when it holds more, so that the runs a person is likely to undo are always there, also when the log
// could not be trimmed. A run is a line "■ MORVA - Version 6 - 変換実行開始 ■" (any version digit)
// under a valid time stamp, which is its identifier; the header lines after it give its target and
// function and tell whether it can be undone; an undo block quoting the identifier of a run listed
// before it marks that run undone when it is complete: closed by its counts line and not cancelled (an
// undo killed or cancelled part way leaves its run to be undone further). Lines the grammar does not know are passed over. The log is read
// line by line, never whole. Returns the number of runs, or -1 when the log cannot be read.
int ScanRunsIn(TextCodec& codec, ReadableFile& log, std::vector<LoggedRun>* runs);

// Every run identifier of the log `log`, in file order, all runs: the stamps of its run headers and the
// identifiers quoted by its undo and extraction headers. Ids taken this way are not to be given to a new
// run. Stops quietly at a read error.
void CollectRunIds(TextCodec& codec, ReadableFile& log, std::vector<std::string>* ids);

// As ScanRunsIn over log text held in memory.
int ScanRunsInText(TextCodec& codec, std::string_view log, std::vector<LoggedRun>* runs);

// As ScanRunsIn over the log file `log_path` (an engine path). Returns -1 when it cannot be opened.
int ScanRuns(FileSystem& fs, TextCodec& codec, std::string_view log_path, std::vector<LoggedRun>* runs);

}  // namespace morva

#endif  // MORVA_LOG_LOG_SCAN_H_
