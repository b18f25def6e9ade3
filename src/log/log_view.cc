#include "log/log_view.h"

#include <memory>
#include <vector>

#include "core/user_interface.h"
#include "log/log_host_text.h"
#include "log/log_journal.h"
#include "log/log_scan.h"
#include "log/log_writer.h"
#include "platform/document_opener.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "platform/path_utils.h"
#include "platform/private_file.h"

namespace morva {
namespace {

// The message for a result of the document opener that is not a success, for the log ("ログ", *.txt).
std::string OpenFailureMessage(TextCodec& codec, int result) {
  return Cp932Text(codec, DocumentOpenFailureMessage("ログ", "txt", result));
}

bool Exists(FileSystem& fs, const std::string& path) {
  FindData data;
  return fs.Stat(path, &data).ok();
}

}  // namespace

LogReading ReadLogForPeople(const LogContext& log, std::string_view run_id, std::string* text) {
  text->clear();
  Host& host = log.host;
  const std::string path = LogPath(host);
  // Without a log, and without a journal whose lines could make one, there is nothing to hold: taking
  // the hold would leave a journal file behind in a directory that had none.
  if (!Exists(host.fs, path) && !Exists(host.fs, JoinPath(host.program_directory, kLogJournalFileName))) {
    return LogReading::kNoLog;
  }
  const LogHold hold(log);
  std::unique_ptr<ReadableFile> file;
  if (!host.fs.OpenRead(path, &file).ok()) return LogReading::kNoLog;
  HostLogText converter(host.codec, host.fs);
  if (run_id.empty()) return converter.AppendLog(*file, 0, false, text) ? LogReading::kRead : LogReading::kReadFailed;

  // The runs `runs` lists and `undo` takes, so that every identifier they show can be looked at.
  std::vector<LoggedRun> runs;
  if (ScanRunsIn(host.codec, *file, &runs) < 0) return LogReading::kReadFailed;
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    if (run->id != run_id) continue;
    return converter.AppendLog(*file, run->position, true, text) ? LogReading::kRead : LogReading::kReadFailed;
  }
  return LogReading::kUnknownRun;
}

bool ViewLog(const LogContext& log, const std::string& private_directory) {
  Host& host = log.host;
  if (host.document_opener == nullptr) {
    host.ui.ShowWarning(OpenFailureMessage(host.codec, kDocumentNoAssociation));
    return false;
  }
  std::string text;
  switch (ReadLogForPeople(log, {}, &text)) {
    case LogReading::kRead:
      break;
    case LogReading::kNoLog:
    case LogReading::kUnknownRun:
      host.ui.ShowWarning(OpenFailureMessage(host.codec, kDocumentNotFound));
      return false;
    case LogReading::kReadFailed:
      host.ui.ShowWarning(Cp932Text(host.codec, "ログの読み込みに失敗しました。"));
      return false;
  }
  std::string copy_host_path, copy_path;
  if (!WritePrivateFile(private_directory, kLogViewFileName, text, &copy_host_path).ok() ||
      !host.fs.FromHostPath(copy_host_path, &copy_path).ok()) {
    host.ui.ShowWarning(OpenFailureMessage(host.codec, kDocumentFailed));
    return false;
  }
  const int result = host.document_opener->Open(copy_path);
  if (result > kDocumentOpened) return true;
  host.ui.ShowWarning(OpenFailureMessage(host.codec, result));
  return false;
}

}  // namespace morva
