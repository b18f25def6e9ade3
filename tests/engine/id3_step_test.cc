#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/mp3_builder.h"
#include "engine/conversion_run.h"
#include "media/id3_reader.h"

namespace morva {
namespace {

using testing::ReadFile;

class Id3StepTest : public testing::EngineFixture {
 protected:
  Id3StepTest() {
    ConversionSettings& s = session.job.settings;
    s.sw_fnm = 0;
    // Title: element 2 of the name; artist: two folders up; album: the folder; track: element 1;
    // genre: a direct string.
    s.sw_id3 = {3, 7, 6, 2, 0, 0, 10};
    s.id3_str[6] = "rock";
  }
};

// From the names to the tags: the preview says what each file gets, the run writes it, and files that
// are no MP3 files or lack an item are left alone.
TEST_F(Id3StepTest, ItemsFromTheNamesPreviewedAndWritten) {
  MakeDir("Artist Name");
  MakeDir("Artist Name/Album Title");
  const std::string album = "Artist Name/Album Title/";
  testing::Mp3Contents tagged;
  tagged.v2_version = 3;
  tagged.frames = {{"TIT2", 0, "old"}, {"TXXX", 0, std::string("k\0v", 3)}};
  tagged.padding = 200;
  MakeFile(album + "01_Song One.mp3", testing::BuildMp3(tagged));
  MakeFile(album + "02_Song Two.MP3", testing::BuildMp3({}));
  MakeFile(album + "NoSeparator.mp3", testing::BuildMp3({}));
  MakeFile(album + "notes_text.txt", "not a song");
  session.job.app.dirfil[0] = E(dir.Sub("Artist Name/Album Title"));

  ui.preview_choice = PreviewChoice::kCancel;
  ASSERT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kPreviewClosed);
  std::vector<std::string> columns;
  for (const PreviewRecord& r : session.run.preview) columns.push_back(U(r.column(PreviewColumn::kId3)));
  const std::string items = "：タイトル【Song One】, アーティスト【Artist Name】, アルバム【Album Title】, トラック番号【01】, ジャンル【Rock】";
  EXPECT_EQ(columns, (std::vector<std::string>{
                         "ID3v2変換" + items,
                         "ID3v2付加：タイトル【Song Two】, アーティスト【Artist Name】, アルバム【Album Title】, "
                         "トラック番号【02】, ジャンル【Rock】",
                         "ID3情報項目取得不可により失敗（タイトル）",
                         "ID3情報変換なし",
                     }));
  EXPECT_EQ(ReadFile(dir.Sub(album + "01_Song One.mp3")), testing::BuildMp3(tagged));

  ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 2);
  EXPECT_EQ(session.run.counters.full_failure, 1);
  EXPECT_EQ(session.run.counters.not_needed, 1);
  Id3Reader reader(fs, *codec);
  ASSERT_EQ(reader.Read(E(dir.Sub(album + "01_Song One.mp3")), {}, false), 2);
  EXPECT_EQ(reader.v2().title, "Song One");
  EXPECT_EQ(reader.v2().artist, "Artist Name");
  EXPECT_EQ(reader.v2().album, "Album Title");
  EXPECT_EQ(reader.v2().track, "01");
  EXPECT_EQ(reader.v2().genre, "(17)Rock");
  EXPECT_EQ(reader.version_string(), "023");
  ASSERT_EQ(reader.Read(E(dir.Sub(album + "02_Song Two.MP3")), {}, false), 2);
  EXPECT_EQ(reader.v2().title, "Song Two");
  EXPECT_EQ(ReadFile(dir.Sub(album + "NoSeparator.mp3")), testing::BuildMp3({}));
  EXPECT_EQ(ReadFile(dir.Sub(album + "notes_text.txt")), "not a song");
  EXPECT_EQ(testing::HostNames(dir.Sub("Artist Name/Album Title")).size(), 4u) << "a safety copy was left";

  // The log names the failure and the job; the run cannot be undone.
  const std::string log = U(ReadFile(home.Sub("mvlogs.txt")));
  EXPECT_NE(log.find("[▲ID3情報変換失敗"), std::string::npos) << log;
  EXPECT_EQ(session.undo.size(), 0u);
}

}  // namespace
}  // namespace morva
