#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/mp3_builder.h"
#include "common/start_conversion.h"
#include "media/id3_reader.h"
#include "platform/file_system_wrapper.h"

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
  for (const PreviewRecord& r : ui.shown_preview) columns.push_back(U(r.column(PreviewColumn::kId3)));
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

// The job's ID3_ENC chooses how the texts of ID3v2 frames are written: Unicode by default, code page 932
// as before when asked. A text without a Unicode form fails its file, which keeps its bytes, and the log
// says why.
TEST_F(Id3StepTest, TheJobChoosesTheTextEncoding) {
  struct Case {
    const char* name;
    bool cp932_text;
    std::string title;    // code page 932
    std::string payload;  // of the title frame afterwards; empty: the file is left as it was
  };
  const std::string kana = testing::Sjis(codec.get(), "曲名");
  const std::vector<Case> cases = {
      {"Unicode by default", false, kana, std::string("\x01\xFF\xFE", 3) + testing::Utf16Le(u"曲名", false)},
      {"code page 932 kept", true, kana, std::string(1, '\0') + kana},
      {"no Unicode form", false, "ab\x85\x40", ""},
  };
  testing::Mp3Contents tagged;
  tagged.v2_version = 3;
  tagged.frames = {{"TIT2", 0, "old"}};
  tagged.padding = 100;
  const std::string original = testing::BuildMp3(tagged);
  ConversionSettings& s = session.job.settings;
  s.sw_id3 = {10, 0, 0, 0, 0, 0, 0};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeFile("song.mp3", original);
    std::remove(home.Sub("mvlogs.txt").c_str());
    s.id3_enc = c.cp932_text;
    s.id3_str[0] = c.title;
    ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
    const std::string after = ReadFile(dir.Sub("song.mp3"));
    const std::string log = U(ReadFile(home.Sub("mvlogs.txt")));
    if (c.payload.empty()) {
      EXPECT_EQ(after, original);
      EXPECT_EQ(session.run.counters.full_failure, 1);
      EXPECT_NE(log.find("[▲ID3情報変換失敗(文字コード変換失敗)]"), std::string::npos) << log;
    } else {
      EXPECT_EQ(session.run.counters.full_success, 1);
      const std::string frame = "TIT2" + std::string(3, '\0') + static_cast<char>(c.payload.size()) +
                                std::string(2, '\0') + c.payload;
      EXPECT_NE(after.find(frame), std::string::npos);
    }
    EXPECT_EQ(testing::HostNames(dir.path()).size(), 1u) << "a safety copy was left";
  }
}

// Where the safety copies share the files' blocks, the writes of a run share one flush of their file
// system, and each target is logged, in target order, only once its new tags are on the disk. When the
// file system cannot be flushed each file is; a file that cannot be flushed gets its former contents
// back and fails.
TEST_F(Id3StepTest, WritesFlushedTogetherBeforeTheyAreLogged) {
  struct Case {
    const char* name;
    std::function<void()> fault;
    bool second_fails;
  };
  const std::vector<Case> cases = {
      {"one flush for all", [] {}, false},
      {"the file system cannot be flushed", [this] { fs.FailOn(FsOp::kUpdateFlushVolume, "", EIO); }, false},
      {"nor can the second file",
       [this] {
         fs.FailOn(FsOp::kUpdateFlushVolume, "", EIO);
         fs.FailOn(FsOp::kUpdateCommit, "02_", EIO);
       },
       true},
  };
  session.job.settings.sw_id3 = {3, 0, 0, 2, 0, 0, 0};  // title: element 2; track: element 1
  testing::Mp3Contents tagged;
  tagged.v2_version = 3;
  tagged.frames = {{"TIT2", 0, "old"}};
  tagged.padding = 200;
  const std::string original = testing::BuildMp3(tagged);
  // The file without a separator fails at once, between files whose results wait for the flush.
  const std::vector<std::string> names = {"01_One.mp3", "02_Two.mp3", "03_Three.mp3", "03x.mp3"};
  fs.ShareUpdateData();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::string& name : names) MakeFile(name, original);
    std::remove(home.Sub("mvlogs.txt").c_str());
    fs.ClearFaults();
    c.fault();
    const int flushes = fs.calls(FsOp::kUpdateFlushVolume);

    ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(fs.calls(FsOp::kUpdateFlushVolume) - flushes, 1);
    EXPECT_EQ(session.run.counters.full_success, c.second_fails ? 2 : 3);
    EXPECT_EQ(session.run.counters.full_failure, c.second_fails ? 2 : 1);
    Id3Reader reader(fs, *codec);
    ASSERT_EQ(reader.Read(E(dir.Sub("03_Three.mp3")), {}, false), 2);
    EXPECT_EQ(reader.v2().title, "Three");
    if (c.second_fails) {
      EXPECT_EQ(ReadFile(dir.Sub("02_Two.mp3")), original);
    } else {
      ASSERT_EQ(reader.Read(E(dir.Sub("02_Two.mp3")), {}, false), 2);
      EXPECT_EQ(reader.v2().title, "Two");
    }
    EXPECT_EQ(testing::HostNames(dir.path()).size(), names.size()) << "a safety copy was left";

    // One line per target, in target order; the second fails as a file that cannot be written.
    const std::string log = U(ReadFile(home.Sub("mvlogs.txt")));
    std::size_t at = 0;
    for (const std::string& target : session.run.targets) {
      const std::string name = U(target.substr(target.rfind('\\') + 1));
      const std::size_t found = log.find("*対象<" + name, at);
      ASSERT_NE(found, std::string::npos) << name << " after " << at << "\n" << log;
      const std::size_t line = log.rfind('\n', found) + 1;
      const std::string tags = log.substr(line, found - line);
      const bool failed = tags.find("[▲ID3情報変換失敗(ファイルオープン失敗)]") != std::string::npos;
      EXPECT_EQ(failed, c.second_fails && name == "02_Two.mp3") << tags;
      at = found;
    }
  }
}

}  // namespace
}  // namespace morva
