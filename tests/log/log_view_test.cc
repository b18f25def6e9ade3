// The log as a person on this host reads it: UTF-8, line feeds, host paths; one run's block; the copy a
// viewer gets, which leaves the log as it was.
#include <sys/stat.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "log/log_host_text.h"
#include "log/log_view.h"
#include "platform/document_opener.h"
#include "platform/memory_file.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

constexpr char kStamp[] = "2024/01/02 03:04:05  ";

class LogViewTest : public testing::EngineFixture {
 protected:
  // One log line: a time stamp, the UTF-8 text `utf8` in code page 932 and, as a damaged or hand-edited
  // log may hold them, the raw bytes `raw` after it.
  std::string Line(const std::string& utf8, const std::string& raw = "", const char* stamp = kStamp) {
    return stamp + S(utf8) + raw;
  }

  std::string Converted(const std::string& log) {
    MemoryReadableFile file{log};
    HostLogText converter(*codec, fs);
    std::string out;
    EXPECT_TRUE(converter.AppendLog(file, 0, false, &out));
    return out;
  }
};

TEST_F(LogViewTest, LinesAreUtf8WithHostPathsAndEveryByteReadable) {
  const struct {
    std::string log;
    std::string shown;
  } cases[] = {
      // The path fields, with a Japanese name and spaces.
      {Line("ディレクトリ：Z:\\home\\me\\写真 フォルダ") + "\n",
       std::string(kStamp) + "ディレクトリ：/home/me/写真 フォルダ\n"},
      {Line("対象ディレクトリ（ファイル）：Z:\\home\\me\\a b") + "\n",
       std::string(kStamp) + "対象ディレクトリ（ファイル）：/home/me/a b\n"},
      {Line("変換種別：【コピー変換】【出力先：Z:\\out 先\\】") + "\n",
       std::string(kStamp) + "変換種別：【コピー変換】【出力先：/out 先】\n"},
      {Line("[▲戻しログ読取エラー（名称,属性）] *対象<Z:\\写真\\a b.jpg>  *名称変換<> →") + "\n",
       std::string(kStamp) + "[▲戻しログ読取エラー（名称,属性）] *対象</写真/a b.jpg>  *名称変換<> →\n"},
      {Line("ディレクトリ：Z:\\") + "\n", std::string(kStamp) + "ディレクトリ：/\n"},
      // A target line holds names, not paths: only its text is converted.
      {Line("[○名称変換]  *対象<写真.jpg> → *名称変換<写真 2.jpg>") + "\n",
       std::string(kStamp) + "[○名称変換]  *対象<写真.jpg> → *名称変換<写真 2.jpg>\n"},
      // Paths without a host form stay as written: another drive, a share nobody mounted.
      {Line("ディレクトリ：C:\\データ") + "\n", std::string(kStamp) + "ディレクトリ：C:\\データ\n"},
      {Line("ディレクトリ：\\\\nohost.invalid\\share\\d") + "\n",
       std::string(kStamp) + "ディレクトリ：\\\\nohost.invalid\\share\\d\n"},
      // A path field with a byte no character has: shown as written, that byte escaped.
      {Line("ディレクトリ：Z:\\a", "\xFD" "b") + "\n", std::string(kStamp) + "ディレクトリ：Z:\\a\\xFDb\n"},
      // Bytes that are no character are shown by value, and the text goes on after them: a stray lead
      // byte does not take the letter after it along, an unassigned double-byte code is two bytes.
      {Line("名前<", "\x80" "A" "\x85\x40" "B" "\x82") + "\n",
       std::string(kStamp) + "名前<\\x80A\\x85@B\\x82\n"},
      // Control characters are shown, never acted on; a tab stays.
      {Line("a", "\x1B[31m\tb\rc") + "\n", std::string(kStamp) + "a\\x1B[31m\tb\\x0Dc\n"},
      // Line ends: CRLF and a last line without one end in a line feed; a short line is kept.
      {Line("一") + "\r\n" + Line("二") + "\r\n" + "x\r\n" + Line("三"),
       std::string(kStamp) + "一\n" + kStamp + "二\nx\n" + kStamp + "三\n"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Converted(c.log), c.shown) << c.shown;
  }
}

// A log of three runs as the writer leaves them: the first cut short by a killed process, the second
// complete and undone, the third complete.
class LogBlockTest : public LogViewTest {
 protected:
  void SetUp() override {
    const std::vector<std::string> lines = {
        Line("■ MORVA - Version 6 - 変換実行開始 ■", "", "2024/01/01 10:00:00  "),
        Line("ディレクトリ：Z:\\一", "", "2024/01/01 10:00:00  "),
        Line("■ MORVA - Version 6 - 変換実行開始 ■", "", "2024/01/02 10:00:00  "),
        Line("変換対象指定方式：【指定ディレクトリ下の変換】", "", "2024/01/02 10:00:00  "),
        Line("対象ディレクトリ（ファイル）：Z:\\二 2", "", "2024/01/02 10:00:00  "),
        Line("変換機能：【大文字変換】", "", "2024/01/02 10:00:00  "),
        Line("ディレクトリ：Z:\\二 2", "", "2024/01/02 10:00:01  "),
        Line("[○名称変換]  *対象<a> → *名称変換<A>", "", "2024/01/02 10:00:01  "),
        Line("変換が全て正常に終了しました。", "", "2024/01/02 10:00:01  "),
        Line("完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1", "", "2024/01/02 10:00:01  "),
        Line("◇ MORVA - Version 6 - 「元に戻す」（2024/01/02 10:00:00）実行開始 ◇", "", "2024/01/02 11:00:00  "),
        Line("完全成功：1 / 一部成功：0 / 完全失敗：0 / 総数：1", "", "2024/01/02 11:00:00  "),
        Line("■ MORVA - Version 6 - 変換実行開始 ■", "", "2024/01/03 10:00:00  "),
        Line("完全成功：0 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：0", "", "2024/01/03 10:00:00  "),
    };
    for (const std::string& line : lines) log_ += line + "\r\n";
    ASSERT_TRUE(home.WriteFile("mvlogs.txt", log_));
    whole_ = Converted(log_);
  }

  // The converted lines of the whole log from the line `first` (0-based) to `last` (excluded).
  std::string WholeLines(std::size_t first, std::size_t last) {
    std::size_t begin = 0;
    for (std::size_t i = 0; i < first; ++i) begin = whole_.find('\n', begin) + 1;
    std::size_t end = begin;
    for (std::size_t i = first; i < last; ++i) end = whole_.find('\n', end) + 1;
    return whole_.substr(begin, end - begin);
  }

  std::string log_;
  std::string whole_;
};

TEST_F(LogBlockTest, ARunIdentifierGivesExactlyThatRunsBlock) {
  const struct {
    const char* run_id;
    LogReading reading;
    std::size_t first, last;  // lines of the whole converted log
  } cases[] = {
      {"", LogReading::kRead, 0, 14},
      {"2024/01/01 10:00:00", LogReading::kRead, 0, 2},  // cut short: up to the next run's header
      {"2024/01/02 10:00:00", LogReading::kRead, 2, 10},  // to its counts line; its undo is a block of its own
      {"2024/01/03 10:00:00", LogReading::kRead, 12, 14},
      {"2024/01/02 11:00:00", LogReading::kUnknownRun, 0, 0},  // an undo's stamp is no run's
      {"2000/01/01 00:00:00", LogReading::kUnknownRun, 0, 0},
  };
  ASSERT_NE(whole_.find("/二 2\n"), std::string::npos) << whole_;
  for (const auto& c : cases) {
    std::string text = "stale";
    EXPECT_EQ(ReadLogForPeople(session.log_context(), c.run_id, &text), c.reading) << c.run_id;
    EXPECT_EQ(text, WholeLines(c.first, c.last)) << c.run_id;
  }
  EXPECT_EQ(testing::ReadFile(home.Sub("mvlogs.txt")), log_) << "reading leaves the log as it was";
}

TEST_F(LogViewTest, NoLogAndAnEmptyLog) {
  std::string text = "stale";
  EXPECT_EQ(ReadLogForPeople(session.log_context(), "", &text), LogReading::kNoLog);
  EXPECT_EQ(ReadLogForPeople(session.log_context(), "2024/01/01 10:00:00", &text), LogReading::kNoLog);
  EXPECT_FALSE(testing::Exists(home.Sub("mvlogs.jnl"))) << "nothing is left behind in the program directory";
  ASSERT_TRUE(home.WriteFile("mvlogs.txt", ""));
  EXPECT_EQ(ReadLogForPeople(session.log_context(), "", &text), LogReading::kRead);
  EXPECT_EQ(text, "");
}

// The opener as the desktop's: it sees what the viewer would be given.
class FakeOpener : public DocumentOpener {
 public:
  FakeOpener(FileSystem& fs, int result) : fs_(fs), result_(result) {}
  int Open(std::string_view path) override {
    opened = std::string(path);
    std::string host;
    struct stat st {};
    if (fs_.ToHostPath(path, &host).ok() && stat(host.c_str(), &st) == 0) {
      mode = st.st_mode & 07777;
      contents = testing::ReadFile(host);
    }
    return result_;
  }
  std::string opened;
  mode_t mode = 0;
  std::string contents;

 private:
  FileSystem& fs_;
  int result_;
};

TEST_F(LogViewTest, TheViewerGetsAPrivateConvertedCopyAndTheLogStaysAsItWas) {
  MakeDir("写真 フォルダ");
  MakeFile("写真 フォルダ/a.jpg");
  session.job.app.dirfil[0] = E(dir.Sub("写真 フォルダ"));
  ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  const std::string log_path = home.Sub("mvlogs.txt");
  ASSERT_EQ(chmod(log_path.c_str(), 0644), 0);
  const std::string log = testing::ReadFile(log_path);
  ASSERT_NE(log.find(S("写真 フォルダ")), std::string::npos);
  testing::TempDir runtime;
  const std::string private_directory = runtime.Sub("morva");
  ui.messages.clear();  // the run's own

  // Twice: the second view replaces the first copy.
  for (int view = 0; view < 2; ++view) {
    FakeOpener opener(fs, kDocumentOpened + 10);
    session.host.document_opener = &opener;
    EXPECT_TRUE(ViewLog(session.log_context(), private_directory));
    EXPECT_EQ(opener.opened, E(private_directory + "/mvlogs.txt"));
    EXPECT_EQ(opener.mode, 0600u);
    EXPECT_NE(opener.contents.find("ディレクトリ：" + dir.Sub("写真 フォルダ") + "\n"), std::string::npos)
        << opener.contents;
    EXPECT_EQ(opener.contents.find("Z:"), std::string::npos) << opener.contents;
    EXPECT_TRUE(ui.messages.empty());
  }
  struct stat st {};
  ASSERT_EQ(stat(log_path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  EXPECT_EQ(testing::ReadFile(log_path), log);
  ASSERT_EQ(stat(private_directory.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
}

TEST_F(LogViewTest, FailuresAreExplained) {
  testing::TempDir runtime;
  const struct {
    bool log;
    int result;
    const char* message;
  } cases[] = {
      {false, kDocumentOpened + 1, "ログファイルが見つかりませんでした。"},
      {true, kDocumentNotFound, "ログファイルが見つかりませんでした。"},
      {true, kDocumentNoAssociation, "ログファイル（*.txt）に関連付けがされていないため、ログを表示できません。"},
      {true, kDocumentBadViewer, "ログを表示するプログラム xdg-open を実行できません。"},
      {true, kDocumentViewerMissing,
       "ログを表示するプログラム xdg-open が見つかりません。xdg-utils パッケージをインストールしてください。"},
      {true, kDocumentNoResources, "メモリまたはリソースが不足しているため失敗しました。"},
      {true, kDocumentFailed, "ログの表示に失敗しました。"},
  };
  for (const auto& c : cases) {
    if (c.log) {
      ASSERT_TRUE(home.WriteFile("mvlogs.txt", "x\n"));
    }
    FakeOpener opener(fs, c.result);
    session.host.document_opener = &opener;
    ui.messages.clear();
    EXPECT_FALSE(ViewLog(session.log_context(), runtime.path()));
    EXPECT_EQ(ui.Texts(Message::kWarning), std::vector<std::string>{S(c.message)});
  }
  // The copy cannot be written where the private directory would be a file.
  ASSERT_TRUE(runtime.WriteFile("file", ""));
  FakeOpener opener(fs, kDocumentOpened + 1);
  session.host.document_opener = &opener;
  ui.messages.clear();
  EXPECT_FALSE(ViewLog(session.log_context(), runtime.Sub("file")));
  EXPECT_EQ(ui.Texts(Message::kWarning), std::vector<std::string>{S("ログの表示に失敗しました。")});
  EXPECT_TRUE(opener.opened.empty());
  session.host.document_opener = nullptr;
  ui.messages.clear();
  EXPECT_FALSE(ViewLog(session.log_context(), runtime.path()));
  EXPECT_EQ(ui.Texts(Message::kWarning).size(), 1u);
}

}  // namespace
}  // namespace morva
