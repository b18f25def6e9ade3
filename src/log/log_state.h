#ifndef MORVA_LOG_LOG_STATE_H_
#define MORVA_LOG_LOG_STATE_H_

#include <memory>
#include <string>

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

}  // namespace morva

#endif  // MORVA_LOG_LOG_STATE_H_
