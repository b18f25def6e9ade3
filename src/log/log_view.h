#ifndef MORVA_LOG_LOG_VIEW_H_
#define MORVA_LOG_LOG_VIEW_H_

#include <chrono>

#include "core/host.h"

namespace morva {

// Shows the log with the desktop's viewer (the host's document opener): the log is made read-only, handed
// to the viewer, and after `settle` (one second in the program) given its previous attributes back, so
// the viewer cannot change the file while it opens it. When the viewer cannot be reached the person is
// told why ("ログファイルが見つかりませんでした。" and the like). Returns true when the viewer took
// the log.
bool ViewLog(Host& host, std::chrono::milliseconds settle = std::chrono::seconds(1));

}  // namespace morva

#endif  // MORVA_LOG_LOG_VIEW_H_
