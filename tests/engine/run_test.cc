#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "engine/name_step.h"
#include "core/target_context.h"

namespace morva {
namespace {

using testing::ReadFile;
using Message = testing::ScriptedUi::Message;

class RunTest : public testing::EngineFixture {
 protected:
  // Runs the job directly (no preview) and returns the summary message.
  std::string Run(bool copy = false) {
    ui.messages.clear();
    EXPECT_EQ(StartConversion(session, RunMode::kRun, copy).outcome, ConversionOutcome::kRunFinished);
    const std::vector<std::string> warnings = ui.Texts(Message::kWarning);
    return warnings.empty() ? std::string() : warnings.back();
  }

  std::string Summary(const std::string& sentence, int full, int partial, int not_needed, int failed, int total) {
    return S(sentence) + "\n\n" +
           S("完全成功：" + std::to_string(full) + " / 一部成功：" + std::to_string(partial) + " / 変換不要：" +
             std::to_string(not_needed) + " / 完全失敗：" + std::to_string(failed) + " / 総数：" +
             std::to_string(total) + "　　");
  }
};

TEST_F(RunTest, RenamesAndSummarises) {
  MakeFile("a.txt", "a");
  MakeFile("b.txt", "b");
  MakeFile("C.txt", "c");
  EXPECT_EQ(Run(), Summary("変換が全て正常に終了しました。", 2, 0, 1, 0, 3));
  EXPECT_EQ(ui.Texts(Message::kQuestion), std::vector<std::string>{S("変換を開始します。よろしいですか？")});
  EXPECT_EQ(ReadFile(dir.Sub("A.txt")), "a");
  EXPECT_EQ(ReadFile(dir.Sub("B.txt")), "b");
  EXPECT_FALSE(testing::Exists(dir.Sub("a.txt")));
  EXPECT_TRUE(session.run_happened);

  ASSERT_EQ(ui.progress.size(), 3u);
  EXPECT_EQ(ui.progress[0].counts, S("0 / 3 完了 （0%）"));
  EXPECT_EQ(ui.progress[2].counts, S("2 / 3 完了 （66%）"));
  EXPECT_EQ(ui.progress[2].title, S("MORVA - 変換状況（66%）"));
  EXPECT_EQ(ui.progress[2].path, E(dir.Sub("C.txt")));

  // Everything is upper case now.
  EXPECT_EQ(Run(), Summary("変換する必要のあるファイルは存在しませんでした。", 0, 0, 3, 0, 3));
}

TEST_F(RunTest, DeclinedOrEmptyRuns) {
  MakeDir("empty");
  MakeFile("a.txt");
  ui.answers = {false};
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kDeclined);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));
  EXPECT_TRUE(ui.Texts(Message::kWarning).empty());

  session.job.app.dirfil[0] = E(dir.Sub("empty"));
  EXPECT_EQ(Run(), Summary("変換対象となるファイルが存在しませんでした。", 0, 0, 0, 0, 0));

  // A missing target: refused before anything is asked or touched.
  session.job.app.dirfil[0] = E(dir.Sub("missing"));
  ui.messages.clear();
  const ConversionResult refused = StartConversion(session, RunMode::kRun, false);
  EXPECT_EQ(refused.outcome, ConversionOutcome::kRefused);
  EXPECT_EQ(refused.verdict.message, S("指定された変換対象は存在しません。"));
  EXPECT_EQ(refused.verdict.key, "DIRFIL");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RunTest, CollisionsAreRefusedWithoutReplacing) {
  MakeFile("x.txt", "lower");
  MakeFile("X.txt", "upper");
  EXPECT_EQ(Run(), Summary("変換に失敗したファイルがありました。ログを参照してください。", 0, 0, 1, 1, 2));
  EXPECT_EQ(ReadFile(dir.Sub("x.txt")), "lower");
  EXPECT_EQ(ReadFile(dir.Sub("X.txt")), "upper");

  // Without a usable log the message does not point to it: the log fails after the run's header.
  fs.FailOn(FsOp::kAppend, "mvlogs.txt", ENOSPC, -1, 1);
  EXPECT_EQ(Run(), Summary("変換に失敗したファイルがありました。", 0, 0, 1, 1, 2));
}

TEST_F(RunTest, SecondTargetToOneNameFailsAndOverwritesNothing) {
  MakeFile("a1.txt", "one");
  MakeFile("a2.txt", "two");
  session.job.settings.fnm_ipn_sel = 2;  // delete digits
  session.job.settings.fnm_ipng = 2;
  Run();
  EXPECT_EQ(session.run.counters.full_success, 1);
  EXPECT_EQ(session.run.counters.full_failure, 1);
  EXPECT_EQ(ReadFile(dir.Sub("a.txt")), "one");
  EXPECT_EQ(ReadFile(dir.Sub("a2.txt")), "two");
}

TEST_F(RunTest, NameEqualToAnotherEntryIgnoringCaseIsRefusedAsThePreviewSays) {
  // A Windows file system holds one of "a.txt" and "A.TXT"; the preview says the name is taken, and the
  // run keeps to it on a case-sensitive host too.
  MakeFile("a1.txt", "one");
  MakeFile("A.TXT", "upper");
  session.job.settings.fnm_ipn_sel = 2;  // delete digits
  session.job.settings.fnm_ipng = 2;
  ASSERT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kPreviewClosed);
  ASSERT_EQ(ui.shown_preview.size(), 2u);
  EXPECT_EQ(ui.shown_preview[1].state, kPreviewError);
  EXPECT_EQ(ui.shown_preview[1].name_column, S("既に存在する名称への変換により失敗：") + "a.txt");

  Run();
  EXPECT_EQ(session.run.counters.full_failure, 1);
  EXPECT_EQ(ReadFile(dir.Sub("a1.txt")), "one");
  EXPECT_FALSE(testing::Exists(dir.Sub("a.txt")));
  EXPECT_EQ(ReadFile(dir.Sub("A.TXT")), "upper");
}

// A run after a preview converts what the preview showed and the person left in: the same entries under
// the names shown, whatever happened in the directory while the preview was open. A target that is no
// longer the entry shown fails untouched and the summary says why; a file that appeared is not touched.
TEST_F(RunTest, TheRunConvertsWhatThePreviewShowed) {
  struct Case {
    const char* name;
    bool serial;  // numbering "n1", "n2", ... instead of upper case
    // Done while the preview is open, in the case's directory, after b.txt was excluded.
    std::function<void(const std::string& sub)> meanwhile;
    std::vector<std::string> after;
    int changed;
  };
  const Case cases[] = {
      {"a file created while the preview is open", false,
       [this](const std::string& sub) { MakeFile(sub + "/a0.txt", "new"); },
       {"A.txt", "C.txt", "a0.txt", "b.txt"}, 0},
      {"a target renamed by another program", false,
       [this](const std::string& sub) {
         ASSERT_EQ(rename(dir.Sub(sub + "/c.txt").c_str(), dir.Sub(sub + "/moved.txt").c_str()), 0);
       },
       {"A.txt", "b.txt", "moved.txt"}, 1},
      {"a target replaced by another file", false,
       [this](const std::string& sub) {
         MakeFile(sub + "/new", "new");
         ASSERT_EQ(rename(dir.Sub(sub + "/c.txt").c_str(), dir.Sub(sub + "/old").c_str()), 0);
         ASSERT_EQ(rename(dir.Sub(sub + "/new").c_str(), dir.Sub(sub + "/c.txt").c_str()), 0);
       },
       {"A.txt", "b.txt", "c.txt", "old"}, 1},
      {"serial numbers as shown, the excluded one's skipped", true, [](const std::string&) {},
       {"b.txt", "n1.txt", "n3.txt"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string sub = std::string("case") + std::to_string(&c - cases);
    MakeDir(sub);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeFile(sub + "/" + name, name);
    session.job.app.dirfil[0] = E(dir.Sub(sub));
    if (c.serial) {
      session.job.settings.sw_fnm = 4;
      session.job.settings.fnm_rnb1 = settings_internal::Text<81>("n");
      session.job.settings.fnm_rnb3 = 1;
    }
    ui.preview_choice = PreviewChoice::kRun;
    ui.answers = {true};
    ui.messages.clear();
    ui.on_preview = [&](std::vector<PreviewRecord>& records) {
      ASSERT_EQ(records.size(), 3u);
      if (c.serial) {
        EXPECT_EQ(U(records[2].name_column), "n3.txt");
      }
      records[1].state = static_cast<std::int16_t>(-records[1].state);
      c.meanwhile(sub);
    };
    const ConversionResult result = StartConversion(session, RunMode::kPreview, false);
    ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(testing::HostNames(dir.Sub(sub)), c.after);
    EXPECT_EQ(result.changed_since_preview.size(), static_cast<std::size_t>(c.changed));
    EXPECT_EQ(result.counters.full_failure, c.changed);
    EXPECT_EQ(result.counters.full_success, 2 - c.changed);
    const std::string summary = ui.Texts(Message::kWarning).back();
    EXPECT_EQ(summary.find(S("プレビュー後に変更されました")) != std::string::npos, c.changed > 0) << U(summary);
    if (testing::Exists(dir.Sub(sub + "/a0.txt"))) {
      EXPECT_EQ(testing::ReadFile(dir.Sub(sub + "/a0.txt")), "new");
    }
  }
}

TEST_F(RunTest, InjectedFailureLeavesTheFileAndIsCounted) {
  MakeFile("a.txt", "a");
  MakeFile("b.txt", "b");
  fs.FailOn(FsOp::kMove, "b.txt", EACCES);
  EXPECT_EQ(Run(), Summary("変換に失敗したファイルがありました。ログを参照してください。", 1, 0, 0, 1, 2));
  EXPECT_EQ(ReadFile(dir.Sub("b.txt")), "b");
  EXPECT_FALSE(testing::Exists(dir.Sub("B.txt")));
  EXPECT_EQ(ReadFile(dir.Sub("A.txt")), "a");
}

TEST_F(RunTest, CancelKeepsFinishedTargetsAndLeavesTheRest) {
  for (const char* name : {"a", "b", "c", "d", "e"}) MakeFile(name);
  ui.cancel_after_polls = 2 + 2;  // the two passes of the enumeration, then two targets
  EXPECT_EQ(Run(), Summary("キャンセル時点までの変換は全て正常に終了しました。", 2, 0, 0, 0, 2));
  EXPECT_TRUE(session.run.cancelled);
  for (const char* name : {"A", "B", "c", "d", "e"}) EXPECT_TRUE(testing::Exists(dir.Sub(name))) << name;

  // A cancelled preview shows nothing.
  ui.ClearCancel();
  ui.polls = 0;
  ui.cancel_after_polls = 3;
  EXPECT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kCancelled);
  EXPECT_EQ(ui.previews_shown, 0);
}

TEST_F(RunTest, TargetThatVanishedIsSkippedUncounted) {
  // The list names d\b after d was finished, so d is renamed before d\b is reached.
  MakeDir("d");
  MakeFile("d/a");
  MakeFile("d/b");
  MakeFile("e");
  session.job.app.set_0 = 2;
  session.job.app.list_items = {E(dir.Sub("d")), E(dir.Sub("d/a")), E(dir.Sub("e")), E(dir.Sub("d/b"))};
  EXPECT_EQ(Run(), Summary("変換が全て正常に終了しました。", 3, 0, 0, 0, 3));
  EXPECT_TRUE(testing::Exists(dir.Sub("D/A")));
  EXPECT_TRUE(testing::Exists(dir.Sub("D/b")));
  EXPECT_TRUE(testing::Exists(dir.Sub("E")));
}

TEST_F(RunTest, TargetsGivenThroughDotsAreConvertedAsThePreviewSays) {
  MakeDir("p");
  MakeDir("p/q");
  MakeFile("p/a.txt");
  MakeFile("p/q/b.txt");
  // Everything below p, its directories and p itself, named through "." , ".." and a doubled '\'.
  session.job.app.sw_set[2] = session.job.app.sw_set[3] = session.job.app.sw_set[4] = true;
  session.job.app.dirfil[0] = E(dir.Sub("p")) + "\\q\\.\\\\..";
  const std::vector<std::string> expected = {"p\\a.txt -> A.txt", "p\\q\\b.txt -> B.txt", "p\\q -> Q", "p -> P"};
  EXPECT_EQ(PreviewNames(), expected);
  EXPECT_EQ(Run(), Summary("変換が全て正常に終了しました。", 4, 0, 0, 0, 4));
  EXPECT_EQ(testing::HostNames(dir.path()), std::vector<std::string>{"P"});
  EXPECT_EQ(testing::HostNames(dir.Sub("P")), (std::vector<std::string>{"A.txt", "Q"}));
  EXPECT_EQ(testing::HostNames(dir.Sub("P/Q")), std::vector<std::string>{"B.txt"});

  // A list item too.
  session.job.app.set_0 = 2;
  session.job.app.list_items = {E(dir.Sub("P")) + "\\Q\\..\\A.txt"};
  session.job.settings.fnm_ipn2 = 2;  // lower case
  EXPECT_EQ(PreviewNames(), std::vector<std::string>{"P\\A.txt -> a.txt"});
}

TEST_F(RunTest, DirectorySwappedForALinkMidRunNeverLeadsOutside) {
  struct Case {
    const char* what;
    const char* target;   // the target path below the tree; a wildcard takes no subdirectories
    const char* swap_at;  // the target whose progress update swaps b for a link
    std::vector<std::string> in_b;
    std::vector<std::string> in_a_and_c;
    int converted;
    int failed;
  };
  const std::vector<Case> cases = {
      // Before the walk reaches b: its targets fail.
      {"before", "", "b1.txt", {"b1.txt", "b2.txt"}, {"A.txt", "C.txt"}, 2, 2},
      // A wildcard in b: b is what the run works below, reached when the wildcard was listed.
      {"wildcard", "/b/*.txt", "b1.txt", {"B1.txt", "B2.txt"}, {"a.txt", "c.txt"}, 2, 0},
      // After the walk reached b: it goes on in the directory it reached, now under the other name.
      {"inside", "", "b2.txt", {"B1.txt", "B2.txt"}, {"A.txt", "C.txt"}, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    session.job.app.sw_set[2] = c.target[0] == '\0';  // subdirectories
    const std::string base = dir.Sub(c.what);
    for (const char* d : {"", "/tree", "/tree/a", "/tree/b", "/tree/c", "/outside"}) MakeDir(c.what + std::string(d));
    for (const char* f : {"/tree/a/a.txt", "/tree/b/b1.txt", "/tree/b/b2.txt", "/tree/c/c.txt"}) MakeFile(c.what + std::string(f), f);
    MakeFile(c.what + std::string("/outside/b1.txt"), "outside");
    MakeFile(c.what + std::string("/outside/b2.txt"), "outside");
    session.job.app.dirfil[0] = E(base + "/tree" + c.target);
    bool swapped = false;
    ui.on_progress = [&](const ProgressState& state) {
      if (swapped || state.path != E(base + "/tree/b/" + c.swap_at)) return;
      swapped = testing::SwapForLink(base + "/tree/b", base + "/outside");
    };

    Run();
    EXPECT_TRUE(swapped);
    EXPECT_EQ(testing::HostNames(base + "/outside"), (std::vector<std::string>{"b1.txt", "b2.txt"}));
    EXPECT_EQ(ReadFile(base + "/outside/b1.txt") + ReadFile(base + "/outside/b2.txt"), "outsideoutside");
    EXPECT_EQ(testing::HostNames(base + "/tree/b.real"), c.in_b);
    EXPECT_EQ(session.run.counters.full_success, c.converted);
    EXPECT_EQ(session.run.counters.full_failure, c.failed);
    std::vector<std::string> in_a_and_c = testing::HostNames(base + "/tree/a");
    for (const std::string& name : testing::HostNames(base + "/tree/c")) in_a_and_c.push_back(name);
    EXPECT_EQ(in_a_and_c, c.in_a_and_c);
  }
}

TEST_F(RunTest, CopyConversionConvertsTheCopy) {
  testing::TempDir out;
  MakeFile("a.txt", "a");
  ASSERT_TRUE(session.job.app.cpdir.Assign(E(out.path())));
  EXPECT_EQ(Run(true), Summary("変換が全て正常に終了しました。", 1, 0, 0, 0, 1));
  EXPECT_EQ(ReadFile(out.Sub("A.txt")), "a");
  EXPECT_EQ(ReadFile(dir.Sub("a.txt")), "a");

  // The copy exists now: refused without overwriting, replaced with it.
  testing::WriteFile(out.Sub("A.txt"), "old");
  Run(true);
  EXPECT_EQ(session.run.counters.full_failure, 1);
  EXPECT_EQ(ReadFile(out.Sub("A.txt")), "old");
  session.job.app.cpovw = true;
  Run(true);
  EXPECT_EQ(session.run.counters.full_success, 1);
  EXPECT_EQ(ReadFile(out.Sub("A.txt")), "a");
}

TEST_F(RunTest, CopyWithoutRenameKeepsThePlaceInTheTree) {
  testing::TempDir out;
  MakeDir("one");
  MakeDir("two");
  MakeFile("one/f", "1");
  MakeFile("two/f", "2");
  ASSERT_TRUE(session.job.app.cpdir.Assign(E(out.path())));
  session.job.app.sw_set[2] = true;
  session.run.mode = RunMode::kRun;
  session.run.copy_conversion = true;
  JobSwitches jobs;
  jobs.times = true;
  for (const char* rel : {"one/f", "two/f"}) {
    FindData data;
    ASSERT_TRUE(fs.Stat(E(dir.Sub(rel)), &data).ok());
    RefreshTargetContext(fs, E(dir.Sub(rel)), data, &session.run.target);
    TargetWork work;
    work.current_path = E(dir.Sub(rel));
    RunPlainCopyStep(session.walk(), jobs, &work);
    EXPECT_EQ(work.failure, 0u) << rel;
    EXPECT_EQ(work.current_path, E(out.Sub(rel)));
    EXPECT_EQ(work.previous_path, E(dir.Sub(rel)));
  }
  EXPECT_EQ(ReadFile(out.Sub("one/f")), "1");
  EXPECT_EQ(ReadFile(out.Sub("two/f")), "2");

  // A copy that cannot be made empties both paths and fails the target.
  fs.FailOn(FsOp::kCopy, "", ENOSPC);
  TargetWork work;
  work.current_path = E(dir.Sub("two/f"));
  RunPlainCopyStep(session.walk(), jobs, &work);
  EXPECT_EQ(work.failure, 0x01u);
  EXPECT_TRUE(work.current_path.empty());
}

}  // namespace
}  // namespace morva
