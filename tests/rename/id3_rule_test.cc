#include "rename/id3_rule.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/media_builder.h"
#include "common/mp3_builder.h"
#include "common/start_conversion.h"
#include "engine/validation.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

TEST(TrimSpacesTest, BothKindsOfSpaceAtBothEnds) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\x81\x40 a\x81\x40\x81\x40"), "a");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(TrimSpaces(""), "");
  // "メ@" (0x83 0x81 0x40) ends in the bytes of "　" without holding one.
  EXPECT_EQ(TrimSpaces("\x83\x81\x40"), "\x83\x81\x40");
}

class Id3RuleTest : public testing::EngineFixture {
 protected:
  Id3RuleTest() {
    ConversionSettings& s = session.job.settings;
    s.sw_fnm = 6;
    s.fnm_01 = true;
    s.fnm_id31 = {6, 1, 0, 0};
    s.fnm_id33.Assign(" - ");
    s.fnm_id3_opt = 1;
  }

  // A file with an ID3v2.3 tag holding `frames` (identifier and Latin-1 text), and an ID3v1 block when
  // `v1_title` is not null.
  void MakeMp3(const std::string& rel, const std::vector<std::pair<std::string, std::string>>& frames,
               const char* v1_title = nullptr, const char* v1_track = nullptr) {
    testing::Mp3Contents contents;
    contents.v2_version = frames.empty() ? 0 : 3;
    for (const auto& [id, text] : frames) contents.frames.push_back(testing::Id3v2Frame{id, 0, text});
    if (v1_title != nullptr) {
      testing::Id3v1Block v1;
      v1.title = v1_title;
      if (v1_track != nullptr) v1.track = std::stoi(v1_track);
      contents.v1 = v1;
    }
    MakeFile(rel, testing::BuildMp3(contents));
  }

  std::string Refusal() { return RefusalOn(kPageNameRuleBase + 6); }
};

TEST_F(Id3RuleTest, ElementsSeparatorsAndTrimming) {
  MakeMp3("a.mp3", {{"TRCK", "03/12"}, {"TIT2", "Intro  "}, {"TPE1", " Band "}});
  MakeMp3("b.mp3", {});  // no tag at all
  // A missing element leaves its separator.
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a.mp3 -> 03 - Intro.mp3", "b.mp3 ->  - .mp3"}));

  ConversionSettings& s = session.job.settings;
  s.fnm_id3_opt = 0;
  s.fnm_id31 = {1, 2, 7, 0};
  s.fnm_id32.Assign("live");
  s.fnm_id33.Assign("_");
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a.mp3 -> Intro  _ Band _live.mp3", "b.mp3 -> __live.mp3"}));

  s.fnm_id31 = {1, 2, 0, 0};
  EXPECT_EQ(PreviewNames()[1], "b.mp3 -> _.mp3");
}

TEST_F(Id3RuleTest, VersionPriorityAndTheV1Track) {
  MakeMp3("a.mp3", {{"TIT2", "v2 title"}}, "v1 title", "7");
  MakeMp3("b.mp3", {{"TIT2", "v2 title"}}, " spaced", "8");
  ConversionSettings& s = session.job.settings;
  s.fnm_id31 = {1, 6, 0, 0};
  s.fnm_id33.Assign("#");
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a.mp3 -> v2 title#7.mp3", "b.mp3 -> v2 title#8.mp3"}));
  // ID3v1 first; a v1 title starting with a space counts as absent.
  session.job.app.sw_opt[9] = true;
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a.mp3 -> v1 title#7.mp3", "b.mp3 -> v2 title#8.mp3"}));
}

TEST_F(Id3RuleTest, TagTextThatNoNameCanHoldFailsTheTarget) {
  // The run may not take a separator in a tag as a way into another directory.
  MakeMp3("a.mp3", {{"TIT2", "AC\\DC"}});
  MakeMp3("b.mp3", {{"TIT2", "Who?"}});
  MakeMp3("c.mp3", {{"TIT2", "AC/DC"}});
  MakeDir("AC");
  session.job.settings.fnm_id31 = {1, 0, 0, 0};
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_failure, 3);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.mp3")));
  EXPECT_TRUE(testing::Exists(dir.Sub("b.mp3")));
  EXPECT_TRUE(testing::Exists(dir.Sub("c.mp3")));
  EXPECT_FALSE(testing::Exists(dir.Sub("AC/DC.mp3")));
}

TEST_F(Id3RuleTest, RunRenamesByTags) {
  MakeMp3("x.mp3", {{"TRCK", "3/12"}, {"TIT2", "Intro"}});
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 1);
  EXPECT_TRUE(testing::Exists(dir.Sub("3 - Intro.mp3")));

  // Element texts together may pass 260 bytes: the target fails instead.
  MakeMp3("y.mp3", {{"TIT2", std::string(200, 't')}, {"TPE1", std::string(200, 'a')}});
  session.job.settings.fnm_id31 = {1, 2, 0, 0};
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_TRUE(testing::Exists(dir.Sub("y.mp3")));
}

TEST_F(Id3RuleTest, TagsOfOtherContainersName) {
  // Track "3/12" names track 3 whichever container holds it; a date gives its year.
  MakeFile("a.flac", testing::BuildFlac({"TRACKNUMBER=3/12", "TITLE=Intro"}));
  MakeFile("b.opus", testing::BuildOgg(true, {"TRACKNUMBER=4", "TITLE=Outro"}));
  MakeFile("c.mp3", testing::BuildMp3(testing::Mp3Contents{}) + testing::ApeTag({{"Track", "5/9"}, {"Title", "Mid"}}));
  MakeFile("d.wav", testing::BuildFlac({"TITLE=Not read"}));  // no name of a tagged container
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a.flac -> 3 - Intro.flac", "b.opus -> 4 - Outro.opus",
                                                      "c.mp3 -> 5 - Mid.mp3", "d.wav ->  - .wav"}));
  session.job.settings.fnm_id31 = {4, 0, 0, 0};
  MakeFile("e.flac", testing::BuildFlac({"DATE=2019-05-01"}));
  EXPECT_EQ(PreviewNames()[4], "e.flac -> 2019.flac");
}

TEST_F(Id3RuleTest, ValidationMessages) {
  ConversionSettings& s = session.job.settings;
  const std::string forbidden = "に以下の文字は指定できません。\n\\ / : * ? \" < > | \\n \\r \\t";
  EXPECT_EQ(Refusal(), "ok");
  s.fnm_id31 = {0, 0, 0, 0};
  EXPECT_EQ(Refusal(), "ID3情報要素が１つも指定されていません。 @FNM_ID31[0]");
  s.fnm_id31 = {1, 7, 0, 0};
  EXPECT_EQ(Refusal(), "要素として「指定文字列」を指定した場合、指定文字列に空白は指定できません。 @FNM_ID32");
  s.fnm_id32.Assign("a|b");
  EXPECT_EQ(Refusal(), "指定文字列" + forbidden + " @FNM_ID32");
  s.fnm_id31 = {1, 0, 0, 0};  // checked even when no element uses it
  EXPECT_EQ(Refusal(), "指定文字列" + forbidden + " @FNM_ID32");
  s.fnm_id32.Assign("ok");
  s.fnm_id33.Assign("<");
  EXPECT_EQ(Refusal(), "区切り文字" + forbidden + " @FNM_ID33");
  s.fnm_id33.Clear();
  EXPECT_EQ(Refusal(), "ok");
}

}  // namespace
}  // namespace morva
