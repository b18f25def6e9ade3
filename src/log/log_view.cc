#include "log/log_view.h"

#include <string>
#include <thread>

#include "engine/engine_text.h"
#include "engine/user_interface.h"
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

bool ViewLog(Session& session, std::chrono::milliseconds settle) {
  const std::string path = LogPath(session);
  FindData before;
  // Read-only while a viewer may have it open, so that nobody edits the log in it. Only a log this made
  // read-only is given its attributes back.
  const bool protect = session.fs.Stat(path, &before).ok() &&
                       session.fs.SetAttributes(path, before.attributes | kAttrReadOnly).ok();
  const int result =
      session.document_opener != nullptr ? session.document_opener->Open(path) : kDocumentNoAssociation;
  if (result > kDocumentOpened) {
    std::this_thread::sleep_for(settle);
  } else {
    session.ui.ShowWarning(OpenFailureMessage(session.codec, result));
  }
  // Nothing more can be done here when that fails: the next run that cannot write the read-only log says
  // so, and that it cannot be undone from it.
  if (protect) session.fs.SetAttributes(path, before.attributes).IgnoreError();
  return result > kDocumentOpened;
}

}  // namespace morva
