#include <sys/stat.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "engine/preview_builder.h"
#include "core/target_context.h"
#include "engine/target_enumeration.h"

namespace morva {
namespace {

class PreviewTest : public testing::EngineFixture {
 protected:
  // Runs a preview whose dialog is cancelled and returns its records.
  const std::vector<PreviewRecord>& Preview() {
    ui.preview_choice = PreviewChoice::kCancel;
    result = StartConversion(session, RunMode::kPreview, false);
    EXPECT_EQ(result.outcome, ConversionOutcome::kPreviewClosed);
    return ui.shown_preview;
  }

  // The record of the target at `rel`.
  const PreviewRecord& Record(const std::string& rel) {
    const std::string path = E(dir.Sub(rel));
    for (const PreviewRecord& r : ui.shown_preview) {
      if (ui.shown_targets.at(static_cast<std::size_t>(r.index)) == path) return r;
    }
    ADD_FAILURE() << "no record for " << rel;
    static const PreviewRecord kNone;
    return kNone;
  }

  ConversionResult result;  // of the last preview
};

TEST_F(PreviewTest, NameChecksPredictTheRun) {
  MakeFile("a.txt");
  MakeFile("B.txt");
  MakeFile("x.txt");
  MakeFile("X.txt");
  Preview();
  ASSERT_EQ(ui.shown_preview.size(), 4u);
  EXPECT_EQ(ui.previews_shown, 1);
  // A case-only change of the target itself is a rename.
  EXPECT_EQ(Record("a.txt").name_column, "A.txt");
  EXPECT_EQ(Record("a.txt").state, kPreviewWillChange);
  EXPECT_EQ(Record("B.txt").name_column, "B.txt");
  EXPECT_EQ(Record("B.txt").state, kPreviewNoChange);
  // x.txt would become X.txt, which is another entry of the directory.
  EXPECT_EQ(Record("x.txt").name_column, S("既に存在する名称への変換により失敗：") + "X.txt");
  EXPECT_EQ(Record("x.txt").state, kPreviewError);
  EXPECT_EQ(Record("x.txt").failure_word, 0x01u);
  EXPECT_EQ(Record("X.txt").state, kPreviewNoChange);
  EXPECT_EQ(result.counters.full_success, 3);
  EXPECT_EQ(result.counters.full_failure, 1);
  // Nothing on disk changed.
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));
  EXPECT_FALSE(testing::Exists(dir.Sub("A.txt")));

  // Excluded by default: errors and targets that need nothing.
  session.job.app.sw_pre[1] = true;
  session.job.app.sw_pre[2] = true;
  Preview();
  EXPECT_EQ(Record("x.txt").state, -kPreviewError);
  EXPECT_EQ(Record("B.txt").state, -kPreviewNoChange);
  EXPECT_EQ(Record("a.txt").state, kPreviewWillChange);
  for (std::size_t i = 0; i < ui.shown_preview.size(); ++i) EXPECT_EQ(ui.shown_preview[i].index, static_cast<int>(i));
}

TEST_F(PreviewTest, SecondTargetToOneNameFails) {
  MakeFile("a1.txt");
  MakeFile("a2.txt");
  MakeFile("b.txt");
  session.job.settings.fnm_ipn_sel = 2;  // delete digits
  session.job.settings.fnm_ipng = 2;
  Preview();
  EXPECT_EQ(Record("a1.txt").name_column, "a.txt");
  EXPECT_EQ(Record("a1.txt").state, kPreviewWillChange);
  EXPECT_EQ(Record("a2.txt").name_column, S("既に存在する名称への変換により失敗：") + "a.txt");
  EXPECT_EQ(Record("b.txt").state, kPreviewNoChange);
}

TEST_F(PreviewTest, EmptyAndUnusableNames) {
  MakeFile("ab");
  MakeFile("a..");
  MakeFile("1.5");
  session.job.settings.fnm_01 = false;   // the whole name
  session.job.settings.fnm_ipn_sel = 2;  // delete letters
  session.job.settings.fnm_ipng = 4;
  Preview();
  EXPECT_EQ(Record("ab").name_column, S("変換後名称がNULLになるため失敗"));
  EXPECT_EQ(Record("ab").state, kPreviewError);
  // ".." would name the parent directory.
  EXPECT_EQ(Record("a..").name_column, S("ファイル名として使用不可文字の存在により失敗：") + "..");
  EXPECT_EQ(Record("1.5").state, kPreviewNoChange);

  // A forbidden byte (no rule of this issue produces one; later rules can).
  FindData data;
  ASSERT_TRUE(fs.Stat(E(dir.Sub("ab")), &data).ok());
  RefreshTargetContext(fs, E(dir.Sub("ab")), data, &session.run.target);
  session.run.preview.clear();
  PreviewBuilder builder(session.host, session.job, session.run);
  TargetWork work;
  work.new_name = "a:b";
  builder.Build(work);
  work.new_name = std::string("x\x95\x5C", 3);  // "x表": the trail byte 0x5C is no backslash
  builder.Build(work);
  ASSERT_EQ(session.run.preview.size(), 2u);
  EXPECT_EQ(session.run.preview[0].name_column, S("ファイル名として使用不可文字の存在により失敗：") + "a:b");
  EXPECT_EQ(session.run.preview[1].name_column, work.new_name);
  EXPECT_EQ(session.run.preview[1].state, kPreviewWillChange);
}

TEST_F(PreviewTest, PathLengthLimit) {
  // A directory whose engine path plus '\' is `base` bytes, then names that end paths at 258 to 261.
  const std::string sub(100, 'd');
  MakeDir(sub);
  const std::size_t base = E(dir.Sub(sub)).size() + 1;
  auto name_for = [&](std::size_t path_length) { return std::string(path_length - base - 1, 'x') + "1"; };
  const std::string fits = name_for(258), too_long = name_for(259), long_target = name_for(261);
  MakeFile(sub + "/" + fits);
  MakeFile(sub + "/" + too_long);
  MakeFile(sub + "/" + long_target);
  session.job.app.dirfil[0] = E(dir.Sub(sub));
  session.job.settings.fnm_ipn_sel = 8;  // zero padding to 3 digits: two bytes longer
  session.job.settings.fnm_ipnd = 3;
  Preview();
  ASSERT_EQ(ui.shown_preview.size(), 3u);
  EXPECT_EQ(Record(sub + "/" + fits).name_column, fits.substr(0, fits.size() - 1) + "001");  // 260 bytes
  EXPECT_EQ(Record(sub + "/" + fits).state, kPreviewWillChange);
  EXPECT_EQ(Record(sub + "/" + too_long).name_column, S("変換後パス最大長超えにより失敗"));
  EXPECT_EQ(Record(sub + "/" + too_long).failure_word, 0x100u);
  EXPECT_EQ(Record(sub + "/" + long_target).name_column, S("パス最大長超えにより失敗"));
  EXPECT_EQ(Record(sub + "/" + long_target).state, kPreviewError);

  // The run refuses both and touches neither.
  ui.answers = {true};
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(result.counters.full_success, 1);
  EXPECT_EQ(result.counters.full_failure, 2);
  EXPECT_TRUE(testing::Exists(dir.Sub(sub + "/" + too_long)));
  EXPECT_TRUE(testing::Exists(dir.Sub(sub + "/" + long_target)));
}

TEST_F(PreviewTest, NameLongerThanTheHostHoldsFailsAsTooLongInPreviewAndRun) {
  // 84 "ア" are 168 bytes here but 252 in UTF-8, the host's form of a name, which holds 255 at most.
  std::string stem;
  for (int i = 0; i < 84; ++i) stem += "ア";
  MakeFile(stem + "1", "x");
  testing::TempDir out;
  ASSERT_TRUE(session.job.app.cpdir.Assign(E(out.path())));
  session.job.settings.fnm_ipn_sel = 8;  // zero padding: "1" becomes "001" (255 bytes) or "0001" (256)
  struct Case {
    bool copy;
    int digits;
  };
  int too_long_runs = 0;
  // In place last, as its rename takes the name the others start from.
  for (const Case& c : std::vector<Case>{{true, 4}, {true, 3}, {false, 4}, {false, 3}}) {
    SCOPED_TRACE(std::string(c.copy ? "copy " : "in place ") + std::to_string(c.digits));
    session.job.settings.fnm_ipnd = c.digits;
    const bool fits = c.digits == 3;
    const std::string new_name = stem + std::string(static_cast<std::size_t>(c.digits) - 1, '0') + "1";

    ui.preview_choice = PreviewChoice::kCancel;
    EXPECT_EQ(StartConversion(session, RunMode::kPreview, c.copy).outcome, ConversionOutcome::kPreviewClosed);
    ASSERT_EQ(ui.shown_preview.size(), 1u);
    const PreviewRecord& r = ui.shown_preview[0];
    EXPECT_EQ(U(r.name_column), fits ? new_name : "変換後パス最大長超えにより失敗");
    EXPECT_EQ(r.state, fits ? kPreviewWillChange : kPreviewError);
    EXPECT_EQ(r.failure_word, fits ? 0u : 0x100u);

    ui.answers = {true};
    EXPECT_EQ(StartConversion(session, RunMode::kRun, c.copy).outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(session.run.counters.full_success, fits ? 1 : 0);
    EXPECT_EQ(session.run.counters.full_failure, fits ? 0 : 1);
    // The log names the failure as the preview did.
    if (!fits) ++too_long_runs;
    const std::string log = U(testing::ReadFile(home.Sub("mvlogs.txt")));
    std::size_t tagged = 0;
    for (std::size_t at = log.find("[▲パス長超過で失敗]"); at != std::string::npos;
         at = log.find("[▲パス長超過で失敗]", at + 1)) {
      ++tagged;
    }
    EXPECT_EQ(tagged, static_cast<std::size_t>(too_long_runs));
    EXPECT_EQ(testing::HostNames(c.copy ? out.path() : dir.path()),
              fits ? std::vector<std::string>{new_name}
                   : c.copy ? std::vector<std::string>{} : std::vector<std::string>{stem + "1"});
  }
}

TEST_F(PreviewTest, ExtensionOnlyLeavesNamesWithoutOne) {
  MakeFile("noext");
  MakeFile("a.txt");
  MakeFile(".profile");
  MakeDir("sub.dir");
  session.job.app.sw_set[3] = true;  // directories too
  session.job.settings.fnm_02 = 2;   // the extension only
  // Validation refuses directories with extension-only jobs; the walk must still leave them alone.
  session.run.mode = RunMode::kPreview;
  ASSERT_TRUE(EnumerateDirectory(session.walk(), E(dir.path()), false));
  RunJournal journal(session);
  RunTargets(session.walk(), journal, &session.undo);
  ASSERT_EQ(session.run.preview.size(), 4u);
  ui.shown_preview = session.run.preview;  // where Record looks
  ui.shown_targets = session.run.targets;
  EXPECT_EQ(Record("noext").state, kPreviewNoChange);
  EXPECT_EQ(Record(".profile").state, kPreviewNoChange);
  EXPECT_EQ(Record("sub.dir").name_column, "sub.dir");
  EXPECT_EQ(Record("sub.dir").state, kPreviewNoChange);
  EXPECT_TRUE(Record("sub.dir").is_directory);
  EXPECT_EQ(Record("a.txt").name_column, "a.TXT");

  // The base name only: the directory's whole name is its base.
  session.job.settings.fnm_02 = 1;
  Preview();
  EXPECT_EQ(Record("sub.dir").name_column, "SUB.DIR");
  EXPECT_EQ(Record("a.txt").name_column, "A.txt");
  EXPECT_EQ(Record("noext").name_column, "NOEXT");
}

}  // namespace
}  // namespace morva
