#ifndef MORVA_LOG_LOG_TRIM_H_
#define MORVA_LOG_LOG_TRIM_H_

#include <functional>
#include <string>
#include <string_view>

#include "log/log_state.h"

namespace morva {

class ReadableFile;
class TextCodec;

// The name of the trimmed copy of the log while it is written, in the log's directory.
inline constexpr std::string_view kLogTrimFileName = "temp_mvlogs.txt";

// Keeps the newest `keep` runs (clamped to 1..kMaxLoggedRuns) of the log `log`, handing the kept lines
// to `out` in order: everything before the header of the oldest kept run goes, and so does every undo or
// extraction block after it that names a dropped run, from its header to its counts line ("成功：",
// "成功／" or "完全成功"), lines under 22 bytes of text and time stamp, and nothing else. The log is
// read line by line, twice, never whole. Returns false, handing nothing out, when the log holds no more
// than `keep` runs or cannot be read, and false as soon as `out` returns false.
//
// Every run header counts, however many there are, so a log holding more runs than the run list shows
// still shrinks to `keep`. A block naming an identifier that a kept run has too (two runs started in the
// same second by an older version) stays, and a run header ends a block cut short, so a damaged block
// never takes later runs with it.
bool TrimLogLines(TextCodec& codec, ReadableFile& log, int keep, const std::function<bool(std::string_view)>& out);

// As TrimLogLines over log text held in memory, into *out (left alone when it returns false).
bool TrimLogText(TextCodec& codec, std::string_view log, int keep, std::string* out);

// Trims the log file to the newest OPT_1 runs (after every run and when the settings are confirmed),
// holding the log. The kept part is written to kLogTrimFileName beside the log (one left by a killed trim
// is removed first) and then replaces the log, keeping its owner and permissions, so a failure at any
// point leaves the log as it was. A read-only log is never replaced. Does nothing when the log is
// switched off (SW_OPT[1]), missing or unreadable. Returns true when the log was rewritten.
bool TrimLog(const LogContext& log);

}  // namespace morva

#endif  // MORVA_LOG_LOG_TRIM_H_
