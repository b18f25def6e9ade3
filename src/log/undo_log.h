#ifndef MORVA_LOG_UNDO_LOG_H_
#define MORVA_LOG_UNDO_LOG_H_

#include <string_view>

#include "engine/session.h"

namespace morva {

// Writes one line of an undo or extraction block (the text after the time stamp, code page 932) to the
// conversion log. Writes nothing and returns true when the log is switched off (SW_OPT[1]) or no longer
// usable; false when the line could not be written.
bool WriteUndoLogLine(Session& session, std::string_view text);

// The version tag that block headers carry.
inline constexpr std::string_view kLogVersionTag = "Version 6";

}  // namespace morva

#endif  // MORVA_LOG_UNDO_LOG_H_
