// The desktop's document opener: it starts the viewer and returns at once, leaves no child of ours
// behind, and tells a missing document, a missing viewer and one that cannot run apart.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/document_opener.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::ReadFile;
using testing::TempDir;

// The viewer a test installs: it notes its argument and its parent, then stays open as a person
// reading would.
constexpr char kLingeringViewer[] =
    "#!/bin/sh\n"
    "echo \"$1\" > \"$(dirname \"$0\")/opened.tmp\"\n"
    "cut -d' ' -f4 /proc/$$/stat >> \"$(dirname \"$0\")/opened.tmp\"\n"
    "mv \"$(dirname \"$0\")/opened.tmp\" \"$(dirname \"$0\")/opened\"\n"
    "exec sleep 20 </dev/null >/dev/null 2>&1\n";

// A name a shell would split and expand: the viewer must get it whole.
constexpr char kDocument[] = "the log 'of' $HOME.txt";

bool WriteProgram(const TempDir& dir, const std::string& name, const std::string& text, mode_t mode) {
  return dir.WriteFile(name, text) && chmod(dir.Sub(name).c_str(), mode) == 0;
}

TEST(DocumentOpenerTest, StartsTheViewerDetachedAndReportsWhatIsMissing) {
  TempDir dir;
  ASSERT_TRUE(dir.ok());
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  ASSERT_TRUE(dir.WriteFile(kDocument, "x\n"));
  ASSERT_TRUE(WriteProgram(dir, "viewer", kLingeringViewer, 0755));
  ASSERT_TRUE(WriteProgram(dir, "not-runnable", kLingeringViewer, 0644));
  std::string document, missing_document;
  ASSERT_TRUE(fs->FromHostPath(dir / kDocument, &document).ok());
  ASSERT_TRUE(fs->FromHostPath(dir / "gone.txt", &missing_document).ok());

  const struct {
    std::string program;
    const std::string* document;
    bool opened;
    int result;  // when not opened
  } cases[] = {
      {dir / "viewer", &document, true, 0},
      {dir / "viewer", &missing_document, false, kDocumentNotFound},
      {"morva-no-such-viewer", &document, false, kDocumentViewerMissing},
      {dir / "no-such-viewer", &document, false, kDocumentViewerMissing},
      {dir / "not-runnable", &document, false, kDocumentBadViewer},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program + " " + *c.document);
    std::unique_ptr<DocumentOpener> opener = NewXdgDocumentOpener(fs.get(), c.program);
    const auto start = std::chrono::steady_clock::now();
    const int result = opener->Open(*c.document);
    const auto took = std::chrono::steady_clock::now() - start;
    // The viewer stays 20 s: an opener that waited for it would take that long.
    EXPECT_LT(took, std::chrono::seconds(3));
    if (!c.opened) {
      EXPECT_EQ(result, c.result);
      continue;
    }
    EXPECT_GT(result, kDocumentOpened);
    for (int i = 0; i < 200 && access((dir / "opened").c_str(), F_OK) != 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    const std::string seen = ReadFile(dir / "opened");
    EXPECT_EQ(seen.substr(0, seen.find('\n')), dir / kDocument) << "the host path, as one argument";
    // Not our child: nobody here waits for it, and its end leaves no zombie.
    const std::string parent = seen.substr(seen.find('\n') + 1);
    EXPECT_FALSE(parent.empty());
    EXPECT_NE(parent, std::to_string(getpid()) + "\n");
  }
}

TEST(DocumentOpenerTest, MessagesNameWhatIsMissing) {
  const struct {
    int result;
    const char* message;
  } cases[] = {
      {kDocumentOpened + 1, ""},
      {kDocumentNotFound, "ヘルプファイルが見つかりませんでした。"},
      {kDocumentViewerMissing,
       "ヘルプを表示するプログラム xdg-open が見つかりません。xdg-utils パッケージをインストールしてください。"},
      {kDocumentBadViewer, "ヘルプを表示するプログラム xdg-open を実行できません。"},
      {kDocumentNoAssociation, "ヘルプファイル（*.html）に関連付けがされていないため、ヘルプを表示できません。"},
      {kDocumentFailed, "ヘルプの表示に失敗しました。"},
  };
  for (const auto& c : cases) EXPECT_EQ(DocumentOpenFailureMessage("ヘルプ", "html", c.result), c.message);
}

}  // namespace
}  // namespace morva
