#include "cli/console_ui.h"

#include <csignal>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/preview_text.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::Sjis;

class ConsoleUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
    fs_ = NewPosixFileSystem(codec_.get());
  }
  // A record of the target at `index`, whose path joins `targets_`.
  PreviewRecord Record(int index, std::int16_t state, bool dir, const std::string& path_utf8) {
    PreviewRecord r;
    r.index = index;
    r.state = state;
    r.is_directory = dir;
    targets_.resize(static_cast<std::size_t>(index) + 1);
    targets_[static_cast<std::size_t>(index)] = Sjis(codec_.get(), path_utf8);
    return r;
  }

  std::vector<std::string> targets_;

  std::unique_ptr<TextCodec> codec_;
  std::unique_ptr<FileSystem> fs_;
  std::ostringstream out_, err_;
  std::istringstream in_;
};

TEST_F(ConsoleUiTest, PreviewPrintsTheColumnsInForceAndTheCounts) {
  ConversionSettings job;
  job.sw_fnm = 1;
  job.sw_atr[0] = true;  // attributes: the old attributes and the new ones
  std::vector<PreviewRecord> records;
  records.push_back(Record(0, kPreviewWillChange, false, "Z:\\写真\\a.jpg"));
  records.back().mutable_column(PreviewColumn::kOldAttributes) = "A";
  records.back().name_column = "A.jpg";
  records.back().mutable_column(PreviewColumn::kAttributes) = "RA";
  records.push_back(Record(1, -kPreviewError, true, "Z:\\写真\\sub"));
  records.back().name_column = Sjis(codec_.get(), "既に存在する名称への変換により失敗：SUB");
  records.push_back(Record(2, -kPreviewNoChange, false, "Z:\\写真\\C.TXT"));

  ConsoleUi ui(*codec_, *fs_, out_, err_, in_, false, false);
  ui.set_job(&job);
  ui.PrintPreview(records, targets_);
  EXPECT_EQ(out_.str(),
            "＃\t対象ファイル名\t属性\t変換後名称\t変換後属性\n"
            "1\t1\t[File] /写真/a.jpg\tA\tA.jpg\tRA\n"
            "2\t-2\t[Dir] /写真/sub\t\t既に存在する名称への変換により失敗：SUB\t\n"
            "3\t-3\t[File] /写真/C.TXT\t\t\t\n"
            "抽出総数：3　　　変換対象：1　　　成功/不要：2　　　変換失敗：1\n");
  EXPECT_EQ(err_.str(), "");

  // Every other job column, without attributes: times bring the old attributes back.
  ConversionSettings others;
  others.sw_dtt[1] = 1;
  others.sw_del[0] = true;
  others.sw_id3[0] = 1;
  const std::string header = FormatPreview(*fs_, *codec_, {}, {}, ComputeJobSwitches(others));
  EXPECT_EQ(header, "＃\t対象ファイル名\t属性\t日時変換\tファイル削除\tID3情報変換\n"
                    "抽出総数：0　　　変換対象：0　　　成功/不要：0　　　変換失敗：0\n");
}

// People read host paths; a path without one is shown as it stands, and bytes without a Unicode form
// as escapes, never as replacement characters.
TEST_F(ConsoleUiTest, PathsAreShownInHostFormWhereTheyHaveOne) {
  const struct {
    std::string engine;
    std::string shown;
  } cases[] = {
      {Sjis(codec_.get(), "Z:\\ホーム\\写真\\表.jpg"), "/ホーム/写真/表.jpg"},
      {"z:\\a\\.\\b\\..\\c\\", "/a/c"},
      {"Z:\\", "/"},
      {"\\\\no-such-server\\share\\a.jpg", "\\\\no-such-server\\share\\a.jpg"},  // no share mounted
      {"C:\\a.jpg", "C:\\a.jpg"},
      {"Z:\\a\\b\x85\x40.jpg", "Z:\\a\\b\\x85\\x40.jpg"},  // 0x85 0x40 is unassigned
      {Sjis(codec_.get(), "3ファイル"), "3ファイル"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(DisplayPath(*fs_, *codec_, c.engine), c.shown);
  }
}

TEST_F(ConsoleUiTest, DisplayTextEscapesOnlyWhatHasNoUnicodeForm) {
  // 0x85 0x40 is an unassigned code in code page 932.
  EXPECT_EQ(DisplayText(*codec_, Sjis(codec_.get(), "写") + "\x85\x40" + "b"), "写\\x85\\x40b");
  EXPECT_EQ(DisplayText(*codec_, "plain"), "plain");
}

TEST_F(ConsoleUiTest, MessagesGoToStderrAndTheRunSummaryToStdout) {
  ConsoleUi ui(*codec_, *fs_, out_, err_, in_, false, false);
  ui.ShowWarning(Sjis(codec_.get(), "指定された変換対象は存在しません。"));
  ui.FocusSetting(0, "DIRFIL");
  const std::string summary = Sjis(codec_.get(),
                                   "変換が全て正常に終了しました。\n\n完全成功：2 / 一部成功：0 / 変換不要：0 / "
                                   "完全失敗：0 / 総数：2　　");
  ui.ShowSummary(SummaryKind::kRun, summary);
  EXPECT_EQ(err_.str(), "指定された変換対象は存在しません。\n  (setting: DIRFIL)\n");
  EXPECT_EQ(out_.str(),
            "変換が全て正常に終了しました。\n\n完全成功：2 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：2　　\n");
}

TEST_F(ConsoleUiTest, QuestionsAreAnsweredByTheTerminalByYesOrElseNo) {
  const std::string question = Sjis(codec_.get(), "変換を開始します。よろしいですか？");
  {
    ConsoleUi ui(*codec_, *fs_, out_, err_, in_, false, false);
    EXPECT_FALSE(ui.AskYesNo(question));
    EXPECT_TRUE(ui.declined());
  }
  {
    ConsoleUi ui(*codec_, *fs_, out_, err_, in_, false, true);
    EXPECT_TRUE(ui.AskYesNo(question));
    EXPECT_FALSE(ui.declined());
  }
  std::istringstream answers("y\nno\n");
  ConsoleUi ui(*codec_, *fs_, out_, err_, answers, true, false);
  EXPECT_TRUE(ui.AskYesNo(question));
  EXPECT_FALSE(ui.AskYesNo(question));
  EXPECT_FALSE(ui.AskYesNo(question));  // end of input
  EXPECT_NE(err_.str().find("変換を開始します。よろしいですか？ [y/N]"), std::string::npos);
}

TEST_F(ConsoleUiTest, AStopSignalIsNeverDroppedByTheEnginesClearing) {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal_number);
    InstallInterruptHandler();
    ConsoleUi ui(*codec_, *fs_, out_, err_, in_, false, false);
    EXPECT_FALSE(ui.PollCancel());
    ASSERT_EQ(raise(signal_number), 0);  // the process lives on: the handler only notes the signal
    // The engine clears the cancel between the listing and the walk; a signal stops both.
    ui.ClearCancel();
    EXPECT_TRUE(ui.PollCancel());
    EXPECT_EQ(StopSignal(), signal_number);
    ForgetStopSignal();
    signal(signal_number, SIG_DFL);
  }
}

}  // namespace
}  // namespace morva
