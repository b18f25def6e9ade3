// A write of the tags killed part way leaves the file perhaps half written and its former contents in the
// safety copy beside it. The next preview and run find that copy: the file gets its contents back, or it
// stays as it is while a copy stands that cannot be put back; it is never tagged over the copy.
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/mp3_builder.h"
#include "common/test_util.h"
#include "common/start_conversion.h"
#include "media/id3_reader.h"

namespace morva {
namespace {

using testing::Exists;
using testing::ReadFile;

class Id3LeftoverTest : public testing::EngineFixture {
 protected:
  Id3LeftoverTest() {
    ConversionSettings& s = session.job.settings;
    s.sw_fnm = 0;
    s.sw_id3 = {1, 0, 0, 0, 0, 0, 0};  // the title from the name
    s.id3_cts = 2 | 8;                 // change or add ID3v2
    session.job.app.sw_set[AppSettings::kSetWildcard] = true;
    EXPECT_TRUE(session.job.app.set_11.Assign("*.mp3"));
  }

  // What a write killed after its first bytes leaves: the safety copy `backup` (marked as the writer
  // marks it) and the file starting with `garbage`.
  void KilledWrite(const std::string& rel, const std::string& backup, const std::string& garbage) {
    std::unique_ptr<FileUpdate> update;
    ASSERT_TRUE(fs.OpenUpdate(E(dir.Sub(rel)), E(dir.Sub(backup)), &update).ok());
    ASSERT_TRUE(update->Write(0, garbage).ok());
    update.reset();  // dropped unfinished, as a killed process drops it
    ASSERT_TRUE(Exists(dir.Sub(backup)));
  }

  std::string Id3Column() {
    ui.preview_choice = PreviewChoice::kCancel;
    EXPECT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kPreviewClosed);
    EXPECT_EQ(ui.shown_preview.size(), 1u);
    return ui.shown_preview.empty() ? "" : U(ui.shown_preview[0].column(PreviewColumn::kId3));
  }

  std::string Title(const std::string& rel) {
    Id3Reader reader(fs, *codec);
    if (reader.Read(E(dir.Sub(rel)), {}, false) != 2) return "(no tag)";
    return reader.v2().title.value_or("(no title)");
  }
};

bool UserXattrsWork(const std::string& dir) {
  const std::string probe = dir + "/xattr-probe";
  testing::WriteFile(probe, "");
  const bool ok = setxattr(probe.c_str(), "user.probe", "1", 1, 0) == 0;
  unlink(probe.c_str());
  return ok;
}

TEST_F(Id3LeftoverTest, CopyOfAKilledWriteIsFoundBeforeAnyTagIsWritten) {
  if (!UserXattrsWork(dir.path())) GTEST_SKIP() << "no user extended attributes in /tmp";
  enum Left { kOurs, kOursFileReplaced, kTwoOfOurs, kPersonsOwn };
  struct Case {
    const char* what;
    Left left;
    const char* preview;       // the ID3 column
    bool restored;             // the run gives the file its former contents and removes the copy
    bool tagged;               // the run writes the tag (the copy not being ours)
  };
  const Case cases[] = {
      {"our copy of this file", kOurs, "中断された書き込みの安全コピーから復元（ID3情報は変換しない）", true, false},
      {"our copy of a file replaced since", kOursFileReplaced, "中断された書き込みの安全コピーが残存するため失敗",
       false, false},
      {"two copies of ours", kTwoOfOurs, "中断された書き込みの安全コピーが残存するため失敗", false, false},
      {"a person's own .bak", kPersonsOwn, "ID3v2付加：タイトル【song】", false, true},
  };
  const std::string former = testing::BuildMp3({});
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string sub = "case" + std::to_string(n++);
    MakeDir(sub);
    const std::string song = sub + "/song.mp3";
    MakeFile(song, former);
    session.job.app.dirfil[0] = E(dir.Sub(sub));
    std::string now = former;
    if (c.left == kPersonsOwn) {
      MakeFile(song + ".bak", "the person's own");
    } else {
      KilledWrite(song, song + ".bak", "ID3garbage");
      now = ReadFile(dir.Sub(song));
      ASSERT_NE(now, former);
      if (c.left == kTwoOfOurs) KilledWrite(song, song + ".bak1", "ID3other");
      if (c.left == kTwoOfOurs) now = ReadFile(dir.Sub(song));
      if (c.left == kOursFileReplaced) {
        MakeFile(sub + "/new.mp3", now);
        ASSERT_EQ(rename(dir.Sub(sub + "/new.mp3").c_str(), dir.Sub(song).c_str()), 0);
      }
    }
    const std::vector<std::string> names_before = testing::HostNames(dir.Sub(sub));

    EXPECT_EQ(Id3Column(), c.preview);
    EXPECT_EQ(ReadFile(dir.Sub(song)), now) << "the preview changed the file";
    EXPECT_EQ(testing::HostNames(dir.Sub(sub)), names_before);

    ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(session.run.counters.full_success, c.tagged ? 1 : 0);
    EXPECT_EQ(session.run.counters.full_failure, c.tagged ? 0 : 1);
    if (c.tagged) {
      EXPECT_EQ(Title(song), "song");
      EXPECT_EQ(testing::HostNames(dir.Sub(sub)), names_before);
      EXPECT_EQ(ReadFile(dir.Sub(song + ".bak")), "the person's own");
    } else if (c.restored) {
      EXPECT_EQ(ReadFile(dir.Sub(song)), former);
      EXPECT_EQ(testing::HostNames(dir.Sub(sub)), std::vector<std::string>{"song.mp3"});
      const std::string log = U(ReadFile(home.Sub("mvlogs.txt")));
      EXPECT_NE(log.find("[▲ID3情報変換失敗(中断された書き込みの安全コピーから復元)]"), std::string::npos);
      // The next run finds the file whole and tags it.
      ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
      EXPECT_EQ(session.run.counters.full_success, 1);
      EXPECT_EQ(Title(song), "song");
    } else {
      EXPECT_EQ(ReadFile(dir.Sub(song)), now);
      EXPECT_EQ(testing::HostNames(dir.Sub(sub)), names_before);
    }
  }
}

}  // namespace
}  // namespace morva
