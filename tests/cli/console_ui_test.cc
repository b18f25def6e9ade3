#include "cli/console_ui.h"

#include <csignal>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/preview_text.h"
#include "core/target_work.h"
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
  const ConsoleText japanese_{UiLanguage::kJapanese};
  std::ostringstream out_, err_;
  std::istringstream in_;
};

TEST_F(ConsoleUiTest, PreviewPrintsARowPerTargetWithTheReasonApartAndTheColumnsInForce) {
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
  records.back().failure_word = kStepName;
  records.push_back(Record(2, -kPreviewNoChange, false, "Z:\\写真\\C.TXT"));

  const std::string rows = "change\t/写真/a.jpg\tA.jpg\t\tA\tRA\n"
                           "fail\t/写真/sub\tsub\t既に存在する名称への変換により失敗：SUB\t\t\n"
                           "unchanged\t/写真/C.TXT\tC.TXT\t\t\t\n";
  const std::string japanese_counts = "抽出総数：3　　　変換対象：1　　　成功/不要：2　　　変換失敗：1";
  const ConsoleText english(UiLanguage::kEnglish);
  const struct {
    const ConsoleText& text;
    bool aligned;
    std::string out;
    std::string counts;
  } cases[] = {
      {japanese_, false, rows, japanese_counts},
      // On a terminal: columns padded to the widest cell, full-width characters two columns wide.
      {japanese_, true,
       "STATE      SOURCE       NEW NAME  REASON                                   属性  変換後属性\n"
       "change     /写真/a.jpg  A.jpg                                              A     RA\n"
       "fail       /写真/sub    sub       既に存在する名称への変換により失敗：SUB\n"
       "unchanged  /写真/C.TXT  C.TXT\n",
       japanese_counts},
      // In English the reason and the titles are translated, the paths and names never.
      {english, true,
       "STATE      SOURCE       NEW NAME  REASON                                Attributes  New attributes\n"
       "change     /写真/a.jpg  A.jpg                                           A           RA\n"
       "fail       /写真/sub    sub       Failed, the name already exists: SUB\n"
       "unchanged  /写真/C.TXT  C.TXT\n",
       "Found: 3   To convert: 1   Succeeded/unchanged: 2   Failed: 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.aligned);
    out_.str("");
    ConsoleUi ui(*codec_, *fs_, c.text, out_, err_, in_, false, false);
    ui.set_job(&job);
    ui.set_output(OutputForm::kText, c.aligned);
    ui.PrintPreview(records, targets_);
    EXPECT_EQ(out_.str(), c.out);
    EXPECT_EQ(PreviewCountsLine(ui.preview_counts(), c.text), c.counts);
  }
  EXPECT_EQ(err_.str(), "");
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

TEST_F(ConsoleUiTest, MessagesAndTheRunSummaryGoToStderrTheUndoSummaryToStdout) {
  ConsoleUi ui(*codec_, *fs_, japanese_, out_, err_, in_, false, false);
  ui.ShowWarning(Sjis(codec_.get(), "指定された変換対象は存在しません。"));
  ui.FocusSetting(0, "DIRFIL", "/home/me/none");
  ui.FocusSetting(0, "LIST");
  ui.ShowSummary(SummaryKind::kRun, Sjis(codec_.get(), "完全成功：2 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：2"));
  ui.ShowSummary(SummaryKind::kUndo, Sjis(codec_.get(), "全て元に戻すことに成功しました。"));
  EXPECT_EQ(err_.str(),
            "指定された変換対象は存在しません。\n  (setting: DIRFIL = /home/me/none)\n  (setting: LIST)\n"
            "完全成功：2 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：2\n");
  EXPECT_EQ(out_.str(), "全て元に戻すことに成功しました。\n");
}

TEST_F(ConsoleUiTest, QuestionsAreAnsweredByTheTerminalByYesOrElseNo) {
  const std::string question = Sjis(codec_.get(), "変換を開始します。よろしいですか？");
  {
    ConsoleUi ui(*codec_, *fs_, japanese_, out_, err_, in_, false, false);
    EXPECT_FALSE(ui.AskYesNo(question));
    EXPECT_TRUE(ui.declined());
  }
  {
    ConsoleUi ui(*codec_, *fs_, japanese_, out_, err_, in_, false, true);
    EXPECT_TRUE(ui.AskYesNo(question));
    EXPECT_FALSE(ui.declined());
  }
  std::istringstream answers("y\nno\n");
  ConsoleUi ui(*codec_, *fs_, japanese_, out_, err_, answers, true, false);
  EXPECT_TRUE(ui.AskYesNo(question));
  EXPECT_FALSE(ui.AskYesNo(question));
  EXPECT_FALSE(ui.AskYesNo(question));  // end of input
  EXPECT_NE(err_.str().find("変換を開始します。よろしいですか？ [y/N]"), std::string::npos);
}

TEST_F(ConsoleUiTest, AStopSignalIsNeverDroppedByTheEnginesClearing) {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal_number);
    InstallInterruptHandler();
    ConsoleUi ui(*codec_, *fs_, japanese_, out_, err_, in_, false, false);
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
