// Trimming the log to its newest runs, on log texts built by hand.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "log/log_trim.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

class LogTrimTest : public ::testing::Test {
 protected:
  std::string S(const std::string& utf8) { return testing::Sjis(codec.get(), utf8); }
  // One line of the log written at second `second` of 2024/05/06 10:00.
  std::string L(int second, const std::string& utf8) {
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "2024/05/06 10:%02d:%02d  ", second / 60, second % 60);
    return stamp + S(utf8) + "\n";
  }
  std::string Id(int second) { return L(second, "").substr(0, 19); }
  std::string Run(int second) {
    return L(second, "■ MORVA - Version 6 - 変換実行開始 ■") + L(second, "変換機能：【大文字変換】") +
           L(second, "[○名称変換]  *対象<a> → *名称変換<A>") + L(second, "完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1");
  }
  std::string Undo(int second, int run) {
    return L(second, "◇ MORVA - Version 6 - 「ログから元に戻す」（" + Id(run) + "）実行開始 ◇") +
           L(second, "[▲名称戻し失敗]  *対象<A> →") + L(second, "完全成功：0 / 一部成功：0 / 完全失敗：1 / 総数：1");
  }
  std::string Extraction(int second, int run) {
    return L(second, "▽ MORVA - Version 6 - 「ログから元に戻す」（" + Id(run) + "）ログ抽出 ▽") +
           L(second, "成功：1 / 不要：0 / 失敗：0 / 総数：1");
  }

  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
};

TEST_F(LogTrimTest, KeepsTheNewestRunAndDropsBlocksOfDroppedRuns) {
  const std::string log = "foreign line before everything\n" + Run(1) + Undo(2, 1) + Run(3) + Extraction(4, 1) +
                          Undo(4, 1) + Run(5) + Undo(6, 3) + "short\n" + Extraction(7, 5) + Undo(7, 5) +
                          Undo(8, 1) + L(9, "after");
  std::string out = "untouched";
  ASSERT_TRUE(TrimLogText(*codec, log, 1, &out));
  EXPECT_EQ(out, Run(5) + Extraction(7, 5) + Undo(7, 5) + L(9, "after"));

  // Two kept runs: the blocks naming the second run stay.
  ASSERT_TRUE(TrimLogText(*codec, log, 2, &out));
  EXPECT_EQ(out, Run(3) + Run(5) + Undo(6, 3) + Extraction(7, 5) + Undo(7, 5) + L(9, "after"));

  // Nothing to drop: false, and the output is left alone.
  out = "untouched";
  EXPECT_FALSE(TrimLogText(*codec, log, 3, &out));
  EXPECT_EQ(out, "untouched");
  EXPECT_FALSE(TrimLogText(*codec, "", 1, &out));
}

TEST_F(LogTrimTest, DamagedBlocksAndLookalikesNeverTakeKeptRuns) {
  // An undo block of a dropped run cut short before the next run: that run survives.
  std::string truncated = Undo(2, 1);
  truncated.resize(truncated.rfind(S("完全成功")) - 21);
  std::string out;
  ASSERT_TRUE(TrimLogText(*codec, Run(1) + Run(3) + truncated + Run(5), 2, &out));
  EXPECT_EQ(out, Run(3) + Run(5));
  // Cut short (an undo killed part way) before the undo of a kept run: that undo stays, and its run
  // stays undone.
  ASSERT_TRUE(TrimLogText(*codec, Run(1) + Run(3) + truncated + Undo(6, 3) + Extraction(7, 1), 1, &out));
  EXPECT_EQ(out, Run(3) + Undo(6, 3));

  // A header with an impossible time stamp or another text is no run; a version digit of its own is.
  std::string fake = Run(1);
  fake.replace(5, 2, "13");
  std::string other_version = Run(3);
  other_version.replace(21 + 19, 1, "7");
  ASSERT_TRUE(TrimLogText(*codec, fake + other_version + Run(5), 1, &out));
  EXPECT_EQ(out, Run(5));

  // A run stamped at the earliest time (written while the clock had no local time) is a run here as it
  // is for the list of runs and the undo.
  std::string earliest = Run(3);
  for (std::size_t at = 0; at < earliest.size(); at = earliest.find('\n', at) + 1) earliest.replace(at, 19, "1601/01/01 00:00:00");
  ASSERT_TRUE(TrimLogText(*codec, Run(1) + earliest + Run(5), 2, &out));
  EXPECT_EQ(out, earliest + Run(5));

  // Two runs started in the same second: an undo naming that identifier may be the kept run's.
  ASSERT_TRUE(TrimLogText(*codec, Run(1) + Run(1) + Undo(2, 1), 1, &out));
  EXPECT_EQ(out, Run(1) + Undo(2, 1));

  // Carriage returns (a log from a Windows editor) do not hide the markers.
  std::string crlf;
  for (const std::string& part : {Run(1), Undo(2, 1), Run(3)}) {
    for (char c : part) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
  }
  ASSERT_TRUE(TrimLogText(*codec, crlf, 1, &out));
  EXPECT_EQ(out.find(S("◇")), std::string::npos);
  EXPECT_EQ(out.substr(0, 19), Id(3));
}

TEST_F(LogTrimTest, FortyRunsAtMost) {
  std::string log;
  for (int i = 0; i < 45; ++i) log += Run(i);
  std::string out;
  ASSERT_TRUE(TrimLogText(*codec, log, 40, &out));
  std::string expected;
  for (int i = 5; i < 45; ++i) expected += Run(i);
  EXPECT_EQ(out, expected);
  // Beyond 40 is taken as 40, below 1 as 1.
  ASSERT_TRUE(TrimLogText(*codec, log, 99, &out));
  EXPECT_EQ(out, expected);
  EXPECT_FALSE(TrimLogText(*codec, expected, 40, &out));
  ASSERT_TRUE(TrimLogText(*codec, log, 0, &out));
  EXPECT_EQ(out, Run(44));
}

}  // namespace
}  // namespace morva
