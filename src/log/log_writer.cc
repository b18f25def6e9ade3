#include "log/log_writer.h"

#include <cstdio>

#include "platform/path_utils.h"
#include "platform/file_time.h"

namespace morva {

std::string LogPath(const Host& host) { return JoinPath(host.program_directory, kLogFileName); }

std::string LogStampOf(FileTime now) {
  CalendarTime t;
  if (!FileTimeToLocal(now, &t)) {
    // A clock the host cannot express in local time: the line is still worth keeping, stamped with the
    // earliest time there is.
    t = CalendarTime();
  }
  char buffer[48];
  std::snprintf(buffer, sizeof(buffer), "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return std::string(buffer, kLogStampSize);
}

const std::string& LogWriter::Stamp() {
  const FileTime now = CurrentFileTime();
  const auto second = static_cast<std::int64_t>(now / kTicksPerSecond);
  if (second == stamp_second_) return stamp_;
  stamp_ = LogStampOf(now);
  stamp_second_ = second;
  return stamp_;
}

bool LogWriter::AppendLine(std::string_view text, bool remember) {
  if (log_.app.sw_opt[AppSettings::kOptNoLog] || !log_.state.usable) return true;
  return AppendLineAt(Stamp(), text, remember);
}

bool LogWriter::AppendLineAt(std::string_view stamp, std::string_view text, bool remember) {
  if (log_.app.sw_opt[AppSettings::kOptNoLog] || !log_.state.usable) return true;
  line_.clear();
  AppendLogLine(&line_, stamp, text);
  bool written;
  if (log_.state.journal != nullptr) {
    written = log_.state.journal->Append(line_);
  } else {
    if (!file_ && !log_.host.fs.OpenAppend(LogPath(log_.host), &file_).ok()) file_.reset();
    written = file_ && file_->Append(line_).ok();
  }
  if (!written) {
    file_.reset();
    log_.state.usable = false;
    return false;
  }
  if (remember) log_.state.run_id = stamp;
  return true;
}

}  // namespace morva
