// The run's block in mvlogs.txt, written by real runs over temporary trees and read back byte for byte.
#include <dirent.h>

#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "log/log_scan.h"
#include "log/log_writer.h"
#include "log/run_block.h"
#include "platform/file_system_wrapper.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

bool IsStamp(const std::string& line) {
  if (line.size() < kLogTextOffset) return false;
  static constexpr char kShape[] = "9999/99/99 99:99:99  ";
  for (std::size_t i = 0; i < kLogTextOffset; ++i) {
    const bool digit = line[i] >= '0' && line[i] <= '9';
    if (kShape[i] == '9' ? !digit : line[i] != kShape[i]) return false;
  }
  return true;
}

class LogWriterTest : public testing::EngineFixture {
 protected:
  std::string LogFile() { return home.Sub("mvlogs.txt"); }

  void Run() {
    ui.messages.clear();
    EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  }

  // The texts of the log's lines (after time stamp and two spaces); every line must have the stamp.
  std::vector<std::string> LogTexts() {
    const std::string log = testing::ReadFile(LogFile());
    std::vector<std::string> texts;
    std::size_t start = 0;
    while (start < log.size()) {
      const std::size_t lf = log.find('\n', start);
      EXPECT_NE(lf, std::string::npos) << "every line ends in a line feed";
      if (lf == std::string::npos) break;
      const std::string line = log.substr(start, lf - start);
      EXPECT_TRUE(IsStamp(line)) << line;
      texts.push_back(line.size() >= kLogTextOffset ? line.substr(kLogTextOffset) : line);
      start = lf + 1;
    }
    return texts;
  }

  std::vector<std::string> Sjis(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const std::string& line : utf8) out.push_back(S(line));
    return out;
  }

  std::string Header() { return "■ MORVA - Version 6 - 変換実行開始 ■"; }
};

TEST_F(LogWriterTest, RunBlockReadsAsTheGrammarSays) {
  MakeDir("sub");
  MakeFile("sub/b.txt");
  MakeFile("a.txt");
  MakeFile("C.txt");
  session.job.app.sw_set[2] = true;  // subdirectories
  session.job.app.sw_set[5] = true;  // wildcard
  ASSERT_TRUE(session.job.app.set_11.Assign("*.txt"));
  Run();
  const std::string root = E(dir.path());
  EXPECT_EQ(LogTexts(), Sjis({
                            Header(),
                            "変換対象指定方式：【指定ディレクトリ下の変換】",
                            "対象ディレクトリ（ファイル）：" + root,
                            "変換対象設定内容：【サブディレクトリ内も対象】【対象ファイルワイルドカード指定 '*.txt'】",
                            "変換機能：【大文字変換】【変換対象文字：全角,半角】【拡張子除く】",
                            "ディレクトリ：" + root,
                            "[○名称変換]  *対象<a.txt> → *名称変換<A.txt>",
                            "[☆変換不要]  *対象<C.txt>",
                            "ディレクトリ：" + root + "\\sub",
                            "[○名称変換]  *対象<b.txt> → *名称変換<B.txt>",
                            "変換が全て正常に終了しました。",
                            "完全成功：2 / 一部成功：0 / 変換不要：1 / 完全失敗：0 / 総数：3",
                        }));
  // The header's time stamp is the run's identifier.
  const std::string log = testing::ReadFile(LogFile());
  EXPECT_EQ(session.log.run_id, log.substr(0, kLogStampSize));
  EXPECT_TRUE(ui.Texts(Message::kWarning).size() == 1u) << "only the summary";
}

TEST_F(LogWriterTest, FailuresOnlyWhenSuccessesAreNotLogged) {
  MakeFile("a.txt");
  MakeFile("b.txt");
  MakeFile("C.txt");
  session.job.app.sw_opt[0] = false;
  fs.FailOn(FsOp::kMove, "b.txt", EACCES);
  session.job.app.set_0 = 2;  // list mode: the header counts the list
  session.job.app.list_items = {E(dir.Sub("a.txt")), E(dir.Sub("b.txt")), E(dir.Sub("C.txt"))};
  Run();
  EXPECT_EQ(LogTexts(), Sjis({
                            Header(),
                            "変換対象指定方式：【指定ファイルの変換】",
                            "指定対象ファイル数：3",
                            "変換機能：【大文字変換】【変換対象文字：全角,半角】【拡張子除く】",
                            "ディレクトリ：" + E(dir.path()),
                            "[▲名称変換失敗]  *対象<b.txt>",
                            "変換に失敗したファイルがありました。",
                            "完全成功：1 / 一部成功：0 / 変換不要：1 / 完全失敗：1 / 総数：3",
                        }));
  // All succeeding: header, directory line and closing lines only.
  fs.ClearFaults();
  ASSERT_EQ(unlink(LogFile().c_str()), 0);
  session.job.app.list_items = {E(dir.Sub("A.txt")), E(dir.Sub("b.txt")), E(dir.Sub("C.txt"))};
  Run();
  EXPECT_EQ(LogTexts().size(), 7u);
  EXPECT_EQ(LogTexts()[4], S("ディレクトリ：" + E(dir.path())));
  EXPECT_EQ(LogTexts()[5], S("変換が全て正常に終了しました。"));
}

TEST_F(LogWriterTest, NoLogWritesNothingAnywhere) {
  MakeFile("a.txt");
  session.job.app.sw_opt[1] = true;
  Run();
  EXPECT_TRUE(testing::Exists(dir.Sub("A.txt")));
  EXPECT_EQ(fs.calls(FsOp::kOpenAppend), 0);
  EXPECT_EQ(fs.calls(FsOp::kWriteFile), 0);
  EXPECT_EQ(fs.calls(FsOp::kReadFile), 0) << "not even a trim";
  EXPECT_TRUE(testing::HostNames(home.path()).empty());
  EXPECT_TRUE(session.log.run_id.empty());

  // A preview writes no log either.
  session.job.app.sw_opt[1] = false;
  MakeFile("b.txt");
  EXPECT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kPreviewClosed);
  EXPECT_FALSE(testing::Exists(LogFile()));
}

// A run starts only with its header in the log; a log that fails after it (a disk filling up) is reported
// once and the run goes on. The next run tries the log afresh.
TEST_F(LogWriterTest, ALogFailingDuringARunIsReportedOnceAndTheRunGoesOn) {
  const std::string message = S("ログの書き込みに失敗しました。処理は継続します。");
  MakeFile("a.txt");
  MakeFile("b.txt");
  fs.FailOn(FsOp::kAppend, "", ENOSPC, -1, 1);  // the header's write goes through
  Run();
  EXPECT_TRUE(testing::Exists(dir.Sub("A.txt")));
  EXPECT_TRUE(testing::Exists(dir.Sub("B.txt")));
  const std::vector<std::string> warnings = ui.Texts(Message::kWarning);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0], message);
  EXPECT_EQ(warnings[1].find(S("ログを参照してください。")), std::string::npos);
  EXPECT_FALSE(session.log.usable);

  fs.ClearFaults();
  ASSERT_EQ(rename(dir.Sub("A.txt").c_str(), dir.Sub("a.txt").c_str()), 0);
  Run();
  EXPECT_TRUE(testing::Exists(dir.Sub("A.txt")));
  EXPECT_EQ(ui.Texts(Message::kWarning).size(), 1u);
  EXPECT_TRUE(session.log.usable);
  std::vector<LoggedRun> runs;
  EXPECT_EQ(ScanRuns(fs, *codec, LogPath(session.host), &runs), 2);
}

TEST_F(LogWriterTest, TrimmingKeepsTheNewestRunsAfterEachRun) {
  session.job.app.opt_1 = 1;
  MakeFile("a.txt");
  Run();  // a.txt -> A.txt
  session.job.settings.fnm_ipn2 = 2;
  Run();  // A.txt -> a.txt
  session.job.settings.fnm_ipn2 = 1;
  MakeFile("b.txt");
  Run();  // a.txt, b.txt -> A.txt, B.txt
  const std::vector<std::string> texts = LogTexts();
  int headers = 0;
  for (const std::string& t : texts) headers += t == S(Header());
  EXPECT_EQ(headers, 1);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), S(Header()));
  EXPECT_EQ(texts.back(), S("完全成功：2 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：2"));

  // With more runs kept the log grows by one block per run.
  session.job.app.opt_1 = 10;
  session.job.settings.fnm_ipn2 = 2;
  Run();
  headers = 0;
  for (const std::string& t : LogTexts()) headers += t == S(Header());
  EXPECT_EQ(headers, 2);
}

TEST_F(LogWriterTest, TargetLineTagsAndValues) {
  TargetLineComposer composer(*codec, true, false);
  std::string line;
  TargetWork work;
  work.change = kStepName | kStepAttributes;
  work.new_name = "b.txt";
  work.old_attributes = kAttrReadOnly | kAttrArchive;
  work.new_attributes = kAttrArchive;
  ASSERT_TRUE(composer.Compose("Z:\\d\\a.txt", work, &line));
  EXPECT_EQ(line, S("[○名称変換] [○属性変換]  *対象<a.txt> *属性<RA> → *名称変換<b.txt> *属性変換<A>"));

  // Times actually changed, an empty attribute set, and a failure beside the successes.
  work = TargetWork();
  work.change = kStepAttributes | kStepTimes;
  work.failure = kStepId3;
  work.id3_write_result = -4;
  work.old_attributes = kAttrHidden;
  work.new_attributes = 0;
  work.time_texts = {"", "2020/01/02 03:04:05.678", ""};
  work.new_time_texts = {"", "2021/01/01 00:00:00.000", ""};
  ASSERT_TRUE(composer.Compose("Z:\\d\\x", work, &line));
  EXPECT_EQ(line, S("[○属性変換] [○日時変換] [▲ID3情報変換失敗(ID3v2解析失敗)]  *対象<x> *属性<H> *更新日時<2020/01/02 "
                    "03:04:05.678> → *属性変換<> *更新日時変換<2021/01/01 00:00:00.000>"));

  // Failures only: no values; a drive root is named by its whole path; a path too long.
  work = TargetWork();
  work.failure = kStepName | kFailPathTooLong | kFailOther | kStepDeletion;
  ASSERT_TRUE(composer.Compose("Z:\\", work, &line));
  EXPECT_EQ(line, S("[▲名称変換失敗] [▲ファイル削除失敗] [▲パス長超過で失敗] [▲その他要因で失敗]  *対象<Z:\\>"));

  // A copy without a name rule fails as a copy; successes are left out when they are not logged.
  TargetLineComposer failures_only(*codec, false, true);
  work = TargetWork();
  work.failure = kStepName;
  ASSERT_TRUE(failures_only.Compose("Z:\\d\\a", work, &line));
  EXPECT_EQ(line, S("[▲コピー失敗]  *対象<a>"));
  work.failure = 0;
  EXPECT_FALSE(failures_only.Compose("Z:\\d\\a", work, &line));
  work.change = kStepDeletion;
  EXPECT_FALSE(failures_only.Compose("Z:\\d\\a", work, &line));
  ASSERT_TRUE(composer.Compose("Z:\\d\\a", work, &line));
  EXPECT_EQ(line, S("[○ファイル削除]  *対象<a> → *ファイル削除"));
  work = TargetWork();
  ASSERT_TRUE(composer.Compose("Z:\\d\\a", work, &line));
  EXPECT_EQ(line, S("[☆変換不要]  *対象<a>"));
}

}  // namespace
}  // namespace morva
