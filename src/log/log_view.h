#ifndef MORVA_LOG_LOG_VIEW_H_
#define MORVA_LOG_LOG_VIEW_H_

#include <string>
#include <string_view>

#include "log/log_state.h"

namespace morva {

// How reading the log for a person ended.
enum class LogReading {
  kRead,        // *text holds it
  kNoLog,       // there is no log to read
  kUnknownRun,  // the log lists no run with the identifier asked for
  kReadFailed,  // a read failed part way
};

// The log of the program directory as a person on this host reads it (HostLogText: UTF-8, line feeds,
// host paths), in *text: the whole log or, with `run_id` (code page 932, an identifier as the run list
// gives it), the block of that run alone, from its header line to its counts line. The log is held
// (LogHold) while it is read, as the undo from the log holds it, so that no other process writes, trims
// or replaces it meanwhile: the text is the log as it stood at one moment, never a line cut short by a
// write under way. Lines a killed process left in the journal are put in first, as every holder does.
// Nothing of this reader's own is ever written. An empty log is kRead with an empty text.
LogReading ReadLogForPeople(const LogContext& log, std::string_view run_id, std::string* text);

// The name of the copy of the log that a viewer is given.
inline constexpr std::string_view kLogViewFileName = "mvlogs.txt";

// Shows the log with the desktop's viewer (the host's document opener): the text ReadLogForPeople
// gives is written to a copy only the user can read, kLogViewFileName in `private_directory` (a host
// path, see WritePrivateFile), replacing the copy of an earlier view at once, and the viewer is given
// that copy. The log itself is never handed out nor changed, so no viewer can edit it. Returns once the
// opener has handed the copy over. When the log cannot be read or the copy cannot be written or shown,
// the person is told why ("ログファイルが見つかりませんでした。" and the like). True when the viewer
// took the copy.
bool ViewLog(const LogContext& log, const std::string& private_directory);

}  // namespace morva

#endif  // MORVA_LOG_LOG_VIEW_H_
