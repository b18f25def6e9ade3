#include "log/log_view.h"

#include <string>
#include <thread>

#include "platform/engine_text.h"
#include "core/user_interface.h"
#include "log/log_writer.h"
#include "platform/document_opener.h"
#include "platform/file_system.h"

namespace morva {
namespace {

// The message for a result of the document opener that is not a success, for the log ("ログ", *.txt).
std::string OpenFailureMessage(TextCodec& codec, int result) {
  switch (result) {
    case kDocumentNoResources:
      return Cp932Text(codec, "メモリまたはリソースが不足しているため失敗しました。");
    case 2:
    case 3:
      return Cp932Text(codec, "ログファイルが見つかりませんでした。");
    case kDocumentBadViewer:
      return Cp932Text(codec, "ログファイル（*.txt）に関連付けられているアプリケーションが不正です。");
    case kDocumentNoAssociation:
      return Cp932Text(codec, "ログファイル（*.txt）に関連付けがされていないため、ログを表示できません。");
    default:
      return Cp932Text(codec, "ログの表示に失敗しました。");
  }
}

}  // namespace

bool ViewLog(Host& host, std::chrono::milliseconds settle) {
  const std::string path = LogPath(host);
  FindData before;
  // Read-only while a viewer may have it open, so that nobody edits the log in it. Only a log this made
  // read-only is given its attributes back.
  const bool protect = host.fs.Stat(path, &before).ok() &&
                       host.fs.SetAttributes(path, before.attributes | kAttrReadOnly).ok();
  const int result =
      host.document_opener != nullptr ? host.document_opener->Open(path) : kDocumentNoAssociation;
  if (result > kDocumentOpened) {
    std::this_thread::sleep_for(settle);
  } else {
    host.ui.ShowWarning(OpenFailureMessage(host.codec, result));
  }
  // Nothing more can be done here when that fails: the next run that cannot write the read-only log says
  // so, and that it cannot be undone from it.
  if (protect) host.fs.SetAttributes(path, before.attributes).IgnoreError();
  return result > kDocumentOpened;
}

}  // namespace morva
