#ifndef MORVA_LOG_LOG_TRIM_H_
#define MORVA_LOG_LOG_TRIM_H_

#include <string>
#include <string_view>

#include "engine/session.h"

namespace morva {

class TextCodec;

// The most runs the log keeps (the largest OPT_1).
inline constexpr int kMaxLoggedRuns = 40;

// Keeps the newest `keep` runs (clamped to 1..kMaxLoggedRuns) of the log text `log`, into *out:
// everything before the header of the oldest kept run goes, and so does every undo or extraction block
// after it that names a dropped run, from its header to its counts line ("成功：", "成功／" or
// "完全成功"), lines under 22 bytes of text and time stamp, and nothing else. Returns false, leaving
// *out alone, when the log holds no more than `keep` runs.
//
// Every run header counts, however many there are, so a log holding more runs than the run list shows
// still shrinks to `keep`. A block naming an identifier that a kept run has too (two runs started in the
// same second) stays, and a run header ends a block cut short, so a damaged block never takes later
// runs with it.
bool TrimLogText(TextCodec& codec, std::string_view log, int keep, std::string* out);

// Trims the log file to the newest OPT_1 runs (after every run and when the settings are confirmed).
// The kept part replaces the log through FileSystem::WriteFile, so a failure at any point leaves the
// log as it was. Does nothing when the log is switched off (SW_OPT[1]), missing or unreadable. Returns
// true when the log was rewritten.
bool TrimLog(Session& session);

}  // namespace morva

#endif  // MORVA_LOG_LOG_TRIM_H_
