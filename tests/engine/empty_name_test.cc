// A rule that leaves nothing of a base name: the preview reports the empty name and the run fails the
// target's name step, renaming nothing ("a.mp3" never becomes ".mp3").

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"

namespace morva {
namespace {

class EmptyNameTest : public testing::EngineFixture {};

TEST_F(EmptyNameTest, EmptiedBaseNameFailsInPreviewAndRun) {
  const struct {
    const char* what;
    const char* file;
    std::function<void(ConversionSettings*)> rule;
    const char* renamed_to;  // nullptr: the name step must fail
  } cases[] = {
      {"a replacement that deletes the whole base", "song.mp3",
       [](ConversionSettings* s) {
         s->sw_fnm = 3;
         ASSERT_TRUE(s->fnm_ckn1.Assign("song"));
         ASSERT_TRUE(s->fnm_ckn3.Assign(""));
       },
       nullptr},
      {"a control statement reading the title of an untagged file", "a.mp3",
       [](ConversionSettings* s) {
         s->sw_fnm = 7;
         ASSERT_TRUE(s->fnm_usr1.Assign("<MTT>"));
       },
       nullptr},
      {"digits deleted from a name of digits", "123.txt",
       [](ConversionSettings* s) {
         s->fnm_ipn_sel = 2;
         s->fnm_ipng = 2;
       },
       nullptr},
      {"the whole name emptied", "456",
       [](ConversionSettings* s) {
         s->fnm_01 = false;
         s->fnm_ipn_sel = 2;
         s->fnm_ipng = 2;
       },
       nullptr},
      // Not an empty name: a base name that was empty to begin with, and a replacement that keeps some.
      {"a name that is all extension", ".txt",
       [](ConversionSettings* s) {
         s->fnm_ipn_sel = 2;
         s->fnm_ipng = 2;
       },
       ".txt"},
      {"part of the base deleted", "song1.mp3",
       [](ConversionSettings* s) {
         s->sw_fnm = 3;
         ASSERT_TRUE(s->fnm_ckn1.Assign("song"));
         ASSERT_TRUE(s->fnm_ckn3.Assign(""));
       },
       "1.mp3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string sub = std::string("case") + std::to_string(&c - cases);
    MakeDir(sub);
    MakeFile(sub + "/" + c.file, "data");
    session.job.settings = ConversionSettings{};
    session.job.settings.sw_fnm = 1;
    c.rule(&session.job.settings);
    session.job.app.dirfil[0] = E(dir.Sub(sub));

    ui.preview_choice = PreviewChoice::kCancel;
    ASSERT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kPreviewClosed);
    ASSERT_EQ(ui.shown_preview.size(), 1u);
    const PreviewRecord& record = ui.shown_preview[0];
    if (c.renamed_to == nullptr) {
      EXPECT_EQ(record.name_column, S("変換後名称がNULLになるため失敗"));
      EXPECT_EQ(record.state, kPreviewError);
      EXPECT_EQ(record.failure_word, 0x01u);
    } else {
      EXPECT_EQ(record.name_column, c.renamed_to);
      EXPECT_NE(record.state, kPreviewError);
    }

    ui.messages.clear();
    ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
    const std::vector<std::string> expected = {c.renamed_to != nullptr ? c.renamed_to : c.file};
    EXPECT_EQ(testing::HostNames(dir.Sub(sub)), expected);
    EXPECT_EQ(session.run.counters.full_failure, c.renamed_to == nullptr ? 1 : 0);
  }
}

}  // namespace
}  // namespace morva
