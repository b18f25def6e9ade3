// The run scanner over hand-written log text: what it lists, what it marks undone or not undoable, and
// what it passes over.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "log/log_scan.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

class LogScanTest : public ::testing::Test {
 protected:
  std::string S(const std::string& utf8) { return testing::Sjis(codec.get(), utf8); }
  std::string Line(const std::string& stamp, const std::string& utf8, const char* end = "\n") {
    return stamp + "  " + S(utf8) + end;
  }
  std::string Header(const std::string& stamp, const std::string& version = "6") {
    return Line(stamp, "■ MORVA - Version " + version + " - 変換実行開始 ■");
  }

  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
};

TEST_F(LogScanTest, ListsRunsWithTheirTargetsFunctionsAndStates) {
  const std::string a = "2024/01/02 03:04:05", b = "2024/01/02 03:04:06", c = "2024/01/02 03:04:07",
                    d = "2024/01/02 03:04:08", e = "2024/01/02 03:04:09";
  std::string log = Line(a, "foreign line that is long enough to be looked at closely");
  log += Header(a);
  log += Line(a, "変換対象指定方式：【指定ディレクトリ下の変換】");
  log += Line(a, "対象ディレクトリ（ファイル）：Z:\\tmp\\表");
  log += Line(a, "変換対象設定内容：【サブディレクトリ内も対象】");
  log += Line(a, "変換機能：【大文字変換】");
  log += Line(a, "完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1");
  // A copy conversion in list mode, written on Windows (CRLF) by version 6.2.
  log += Line(b, "■ MORVA - Version 7 - 変換実行開始 ■", "\r\n");
  log += Line(b, "変換種別：【コピー変換】【出力先：Z:\\out】", "\r\n");
  log += Line(b, "変換対象指定方式：【指定ファイルの変換】", "\r\n");
  log += Line(b, "指定対象ファイル数：12", "\r\n");
  log += Line(b, "変換機能：【小文字変換】", "\r\n");
  log += Header(c) + Line(c, "変換対象指定方式：【指定ディレクトリ下の変換】") +
         Line(c, "対象ディレクトリ（ファイル）：Z:\\x") + Line(c, "変換機能：【ID3情報変換([V1変更]：タイトル)】");
  log += Header(d) + Line(d, "変換機能：【ファイル削除(ごみ箱不使用)】");
  // A header cut short: no job summary.
  log += Header(e) + Line(e, "ディレクトリ：Z:\\x");
  // Not headers: a bad time stamp, a changed text byte, a wrong separator.
  log += Header("2024/13/02 03:04:05") + Header("2024/01/02T03:04:05");
  log += Line(a, "■ MORVA - Version 6 - 変換実行終了 ■");
  // The undo of the first run, and one naming no listed run.
  log += Line("2024/02/01 00:00:00", "◇ MORVA - Version 6 - 「元に戻す」（" + a + "）実行開始 ◇");
  log += Line("2024/02/01 00:00:00", "完全成功：1 / 一部成功：0 / 完全失敗：0 / 総数：1");
  log += Line("2024/02/01 00:00:00", "◇ MORVA - Version 6 - 「ログから元に戻す」（2030/01/01 00:00:00）実行開始 ◇");
  log += "2024/02/01 00:00:00  truncated";

  std::vector<LoggedRun> runs;
  ASSERT_EQ(ScanRunsInText(*codec, log, &runs), 5);
  EXPECT_EQ(runs[0].id, a);
  EXPECT_EQ(log.compare(runs[0].position, 19, a), 0);
  EXPECT_EQ(runs[0].target, S("Z:\\tmp\\表"));
  EXPECT_EQ(runs[0].function, S("【大文字変換】"));
  EXPECT_TRUE(runs[0].undoable);
  EXPECT_TRUE(runs[0].undone);

  EXPECT_EQ(runs[1].id, b);
  EXPECT_EQ(runs[1].target, S("12ファイル"));
  EXPECT_EQ(runs[1].function, S("【小文字変換】"));
  EXPECT_FALSE(runs[1].undoable);
  EXPECT_FALSE(runs[1].undone);
  EXPECT_FALSE(runs[2].undoable);
  EXPECT_FALSE(runs[3].undoable);
  EXPECT_FALSE(runs[4].undoable);
  EXPECT_TRUE(runs[4].function.empty());
}

// An undo marks its run undone only once it is complete. One killed part way (its block cut short by the
// end of the log or by the next block) or cancelled left the run half undone: it is offered again, and
// the plain undo goes on with it.
TEST_F(LogScanTest, OnlyACompleteUndoMarksItsRunUndone) {
  const std::string run = "2024/01/02 03:04:05", later = "2024/01/02 03:04:09", at = "2024/02/01 00:00:00";
  const std::string undo = Line(at, "◇ MORVA - Version 6 - 「ログから元に戻す」（" + run + "）実行開始 ◇");
  const std::string target = Line(at, "[▲名称戻し失敗]  *対象<A.txt> →");
  const std::string counts = Line(at, "完全成功：1 / 一部成功：0 / 完全失敗：0 / 総数：1");
  const std::string cancelled = Line(at, "ユーザによって途中キャンセルされています。");
  const std::string later_run = Header(later) + Line(later, "変換機能：【大文字変換】") +
                                Line(later, "完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1");
  struct Case {
    const char* what;
    std::string after_run;
    bool undone;
  };
  const std::vector<Case> cases = {
      {"a complete undo", undo + target + counts, true},
      {"an undo cut short by the end of the log", undo + target, false},
      {"an undo cut short by the next run", undo + target + later_run, false},
      {"an undo cut short by another undo of the run that completes", undo + undo + counts, true},
      {"a cancelled undo", undo + cancelled + Line(at, "キャンセル時点までに元に戻すことに失敗したファイルはありません。") + counts,
       false},
      {"a cancelled undo gone on with to its end", undo + cancelled + counts + undo + counts, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string log = Header(run) + Line(run, "変換機能：【大文字変換】") +
                            Line(run, "完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1") + c.after_run;
    std::vector<LoggedRun> runs;
    ASSERT_GE(ScanRunsInText(*codec, log, &runs), 1);
    EXPECT_EQ(runs[0].undone, c.undone);
    if (runs.size() > 1) {
      EXPECT_FALSE(runs[1].undone);
    }
  }
}

// A log that could not be trimmed still offers its newest runs: those are the ones a person undoes.
TEST_F(LogScanTest, ListsTheNewestFortyRunsAndReadsMissingFiles) {
  std::string log;
  for (int i = 0; i < 45; ++i) {
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "2024/01/01 00:%02d:00", i);
    log += Header(stamp) + Line(stamp, "変換機能：【大文字変換】");
  }
  std::vector<LoggedRun> runs;
  ASSERT_EQ(ScanRunsInText(*codec, log, &runs), 40);
  EXPECT_EQ(runs.front().id, "2024/01/01 00:05:00");
  EXPECT_EQ(runs.back().id, "2024/01/01 00:44:00");
  EXPECT_EQ(log.compare(runs.back().position, 19, runs.back().id), 0);
  EXPECT_EQ(ScanRunsInText(*codec, "", &runs), 0);

  testing::TempDir dir;
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  EXPECT_EQ(ScanRuns(*fs, *codec, testing::EnginePath(codec.get(), dir.Sub("mvlogs.txt")), &runs), -1);
  EXPECT_TRUE(runs.empty());
  ASSERT_TRUE(dir.WriteFile("mvlogs.txt", log));
  EXPECT_EQ(ScanRuns(*fs, *codec, testing::EnginePath(codec.get(), dir.Sub("mvlogs.txt")), &runs), 40);
}

}  // namespace
}  // namespace morva
