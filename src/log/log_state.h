#ifndef MORVA_LOG_LOG_STATE_H_
#define MORVA_LOG_LOG_STATE_H_

#include <memory>
#include <string>

#include "core/app_settings.h"
#include "core/host.h"
#include "log/log_journal.h"

namespace morva {

// The log as the running program knows it from one run to the next.
struct LogState {
  bool usable = true;       // false once a write to the log failed
  std::string run_id;       // time stamp of the last run header written: the run's identifier
  bool run_logged = false;  // the last run's header reached the log
  // The log while a run, undo or extraction holds it (LogHold); null otherwise.
  std::unique_ptr<LogJournal> journal;
  int holds = 0;
};

// The log as a run, undo or extraction reaches it: the host's services (the program directory holds
// the log), the application settings (whether there is a log, how many runs it keeps) and its state.
struct LogContext {
  Host& host;
  const AppSettings& app;
  LogState& state;
};

}  // namespace morva

#endif  // MORVA_LOG_LOG_STATE_H_
