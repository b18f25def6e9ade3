// Viewing the log: read-only while the viewer opens it, the failure messages.
#include <sys/stat.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "log/log_view.h"
#include "platform/document_opener.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

class FakeOpener : public DocumentOpener {
 public:
  FakeOpener(FileSystem& fs, int result) : fs_(fs), result_(result) {}
  int Open(std::string_view path) override {
    opened = std::string(path);
    FindData data;
    read_only_while_open = fs_.Stat(path, &data).ok() && (data.attributes & kAttrReadOnly);
    return result_;
  }
  std::string opened;
  bool read_only_while_open = false;

 private:
  FileSystem& fs_;
  int result_;
};

class LogViewTest : public testing::EngineFixture {};

TEST_F(LogViewTest, ReadOnlyWhileOpeningThenAsBefore) {
  ASSERT_TRUE(home.WriteFile("mvlogs.txt", "x\n"));
  FakeOpener opener(fs, kDocumentOpened + 10);
  session.host.document_opener = &opener;
  EXPECT_TRUE(ViewLog(session.host, std::chrono::milliseconds(0)));
  EXPECT_EQ(opener.opened, E(home.Sub("mvlogs.txt")));
  EXPECT_TRUE(opener.read_only_while_open);
  struct stat st {};
  ASSERT_EQ(stat(home.Sub("mvlogs.txt").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u) << "writable again";
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LogViewTest, FailuresAreExplained) {
  const struct {
    int result;
    const char* message;
  } cases[] = {
      {kDocumentNotFound, "ログファイルが見つかりませんでした。"},
      {kDocumentNoAssociation, "ログファイル（*.txt）に関連付けがされていないため、ログを表示できません。"},
      {kDocumentBadViewer, "ログファイル（*.txt）に関連付けられているアプリケーションが不正です。"},
      {kDocumentNoResources, "メモリまたはリソースが不足しているため失敗しました。"},
      {kDocumentFailed, "ログの表示に失敗しました。"},
  };
  for (const auto& c : cases) {
    FakeOpener opener(fs, c.result);
    session.host.document_opener = &opener;
    ui.messages.clear();
    EXPECT_FALSE(ViewLog(session.host, std::chrono::milliseconds(0)));
    EXPECT_EQ(ui.Texts(Message::kWarning), std::vector<std::string>{S(c.message)});
  }
  session.host.document_opener = nullptr;
  ui.messages.clear();
  EXPECT_FALSE(ViewLog(session.host, std::chrono::milliseconds(0)));
  EXPECT_EQ(ui.Texts(Message::kWarning).size(), 1u);
}

}  // namespace
}  // namespace morva
