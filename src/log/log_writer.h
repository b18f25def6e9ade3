#ifndef MORVA_LOG_LOG_WRITER_H_
#define MORVA_LOG_LOG_WRITER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/host.h"
#include "log/log_state.h"
#include "log/log_lines.h"
#include "platform/file_system.h"

namespace morva {

// The log's file name in the program directory.
inline constexpr std::string_view kLogFileName = "mvlogs.txt";

// The program's version string cut to its first 9 bytes ("Version 6.1b" -> "Version 6"): block headers
// carry it, and readers compare only up to it, so every 6.x log reads alike.
inline constexpr std::string_view kLogVersionTag = "Version 6";
// What readers compare of it: all but the version's digit.
inline constexpr std::string_view kLogVersionWord = "Version ";
static_assert(kLogVersionTag.size() == kLogVersionWord.size() + 1 && kLogVersionTag.starts_with(kLogVersionWord));

// What a run or an undo tells the person, once, when a line of its block cannot be written.
inline constexpr std::string_view kLogWriteFailure = "ログの書き込みに失敗しました。処理は継続します。";

// What a run that cannot be logged tells the person: it does not start.
inline constexpr std::string_view kLogRefusal = "ログの書き込みに失敗しました。";

// The engine path of the log: kLogFileName in the program directory.
std::string LogPath(const Host& host);

// The time stamp that starts a log line written at `now`: local time "YYYY/MM/DD hh:mm:ss".
std::string LogStampOf(FileTime now);

// Writes lines to the conversion log for one run, undo or extraction. While the program holds the log
// (LogHold), lines go through its journal, which keeps them safe from a killed process and writes many
// at once. Without a hold the log is opened for appending at the first line and stays open as long as
// the writer, each line one append.
class LogWriter {
 public:
  explicit LogWriter(const LogContext& log) : log_(log) {}
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Appends the current local time stamp, two spaces, `text` (code page 932) and a line feed.
  //
  // Does nothing and returns true when the log is switched off (SW_OPT[1] "ログを出力しない") or no
  // longer usable (its state's `usable` false). When `remember` is true the time stamp written becomes
  // the state's `run_id`, the identifier of the run whose header this is. When the log cannot be opened or
  // the line cannot be written, the line is lost, `usable` becomes false (so no later line is
  // tried until the program ends) and false is returned; telling the person is the caller's choice.
  bool AppendLine(std::string_view text, bool remember = false);

  // As AppendLine under the time stamp `stamp` ("YYYY/MM/DD hh:mm:ss") instead of that of now: the header
  // of a run, whose stamp is its identifier and must be one no other run has.
  bool AppendLineAt(std::string_view stamp, std::string_view text, bool remember);

 private:
  // The time stamp of now, formatted once per second at most.
  const std::string& Stamp();

  LogContext log_;
  std::unique_ptr<AppendFile> file_;
  std::string line_;
  std::int64_t stamp_second_ = -1;
  std::string stamp_;
};

}  // namespace morva

#endif  // MORVA_LOG_LOG_WRITER_H_
