// The texts that explain why a document could not be shown.
#include <string>
#include <string_view>

#include "platform/document_opener.h"

namespace morva {

std::string DocumentOpenFailureMessage(std::string_view kind, std::string_view extension, int result) {
  const std::string k(kind);
  const std::string e(extension);
  const std::string viewer = kDocumentViewerProgram;
  switch (result) {
    case kDocumentNoResources:
      return "メモリまたはリソースが不足しているため失敗しました。";
    case kDocumentNotFound:
    case 3:
      return k + "ファイルが見つかりませんでした。";
    case kDocumentViewerMissing:
      // What is missing, and where it comes from, so that the person can put it right.
      return k + "を表示するプログラム " + viewer + " が見つかりません。" + kDocumentViewerPackage +
             " パッケージをインストールしてください。";
    case kDocumentBadViewer:
      return k + "を表示するプログラム " + viewer + " を実行できません。";
    case kDocumentNoAssociation:
      return k + "ファイル（*." + e + "）に関連付けがされていないため、" + k + "を表示できません。";
    default:
      return result > kDocumentOpened ? std::string() : k + "の表示に失敗しました。";
  }
}

}  // namespace morva
