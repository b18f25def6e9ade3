#include "engine/target_enumeration.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "engine/conversion_run.h"

namespace morva {
namespace {

using Targets = std::vector<std::string>;

class EnumerationTest : public testing::EngineFixture {
 protected:
  bool Enumerate() {
    session.run.targets.clear();
    return EnumerateDirectory(session.walk(), E(dir.path()), false);
  }

};

TEST_F(EnumerationTest, DirectoryComesAfterEverythingBelowIt) {
  MakeDir("B");
  MakeFile("B/f");
  MakeFile("g");
  session.job.app.sw_set[2] = true;  // recurse
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"g", "B\\f"}));

  session.job.app.sw_set[3] = true;  // directories too
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"g", "B\\f", "B"}));

  session.job.app.sw_set[4] = true;  // the directory itself, last
  ASSERT_TRUE(Enumerate());
  ASSERT_EQ(session.run.targets.size(), 4u);
  EXPECT_EQ(session.run.targets.back(), E(dir.path()));

  session.job.app.sw_set[6] = true;  // directories only
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(session.run.targets, (Targets{E(dir.Sub("B")), E(dir.path())}));

  // Without recursion the subdirectory is a target but its contents are not.
  session.job.app.sw_set = {};
  session.job.app.sw_set[3] = true;
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"g", "B"}));
}

TEST_F(EnumerationTest, WildcardFiltersFilesAndDirectoriesButRecursionSeesAll) {
  MakeDir("sub.txt");
  MakeDir("other");
  MakeFile("other/in.txt");
  MakeFile("other/in.doc");
  MakeFile("a.TXT");
  MakeFile("b.doc");
  session.job.app.sw_set[2] = true;
  session.job.app.sw_set[3] = true;
  session.job.app.sw_set[5] = true;
  ASSERT_TRUE(session.job.app.set_11.Assign("*.txt"));
  ASSERT_TRUE(Enumerate());
  // "other" does not match, so it is entered but is no target.
  EXPECT_EQ(RelativeTargets(), (Targets{"a.TXT", "other\\in.txt", "sub.txt"}));

  // A wildcard in the path itself: its matches in the parent, entries joined to the parent.
  session.job.app.sw_set = {};
  session.run.targets.clear();
  ASSERT_TRUE(EnumerateDirectory(session.walk(), E(dir.Sub("*.doc")), false));
  EXPECT_EQ(RelativeTargets(), (Targets{"b.doc"}));

  // A single file.
  session.run.targets.clear();
  ASSERT_TRUE(EnumerateDirectory(session.walk(), E(dir.Sub("b.doc")), false));
  EXPECT_EQ(RelativeTargets(), (Targets{"b.doc"}));

  session.run.targets.clear();
  EXPECT_FALSE(EnumerateDirectory(session.walk(), E(dir.Sub("missing")), false));
  EXPECT_FALSE(EnumerateDirectory(session.walk(), E(dir.Sub("*.none")), false));
  EXPECT_TRUE(session.run.targets.empty());
}

TEST_F(EnumerationTest, SymbolicLinksAreEntriesNeverEntered) {
  MakeDir("real");
  MakeFile("real/f");
  ASSERT_EQ(symlink("real", dir.Sub("link").c_str()), 0);
  ASSERT_EQ(symlink("real/f", dir.Sub("flink").c_str()), 0);
  session.job.app.sw_set[2] = true;
  session.job.app.sw_set[3] = true;
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"flink", "link", "real\\f", "real"}));
}

TEST_F(EnumerationTest, EntriesOfEachDirectorySortAmongThemselves) {
  MakeDir("d");
  MakeFile("d/img2.jpg");
  MakeFile("d/img10.jpg");
  MakeFile("img3_1.jpg");
  MakeFile("img1_9.jpg");
  MakeFile("none.jpg");
  session.job.app.sw_set[2] = true;
  session.run.sort.on = true;
  session.run.sort.key = 4;  // first number
  ASSERT_TRUE(Enumerate());
  // The files of the top level are flushed before the subdirectory is entered.
  EXPECT_EQ(RelativeTargets(), (Targets{"img1_9.jpg", "img3_1.jpg", "none.jpg", "d\\img2.jpg", "d\\img10.jpg"}));

  session.run.sort.key = 4 + 64;  // last number
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"img3_1.jpg", "img1_9.jpg", "none.jpg", "d\\img2.jpg", "d\\img10.jpg"}));

  session.run.sort.ascending = false;
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"none.jpg", "img1_9.jpg", "img3_1.jpg", "d\\img10.jpg", "d\\img2.jpg"}));

  session.run.sort.key = 1;  // last write, ties keep their listing order
  session.run.sort.ascending = true;
  SetLocalMtime("img3_1.jpg", 2020, 1, 1, 0, 0, 0);
  SetLocalMtime("img1_9.jpg", 2021, 1, 1, 0, 0, 0);
  SetLocalMtime("none.jpg", 2021, 1, 1, 0, 0, 0);
  session.job.app.sw_set[2] = false;
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"img3_1.jpg", "img1_9.jpg", "none.jpg"}));
}

TEST_F(EnumerationTest, SortKeys) {
  FindData data;
  data.name = "img12_3.jpg";
  session.run.sort.key = 4;
  EXPECT_EQ(SortKeyText(session.walk(), "", data), std::string(18, '0') + "12");
  session.run.sort.key = 68;
  EXPECT_EQ(SortKeyText(session.walk(), "", data), std::string(19, '0') + "3");
  data.name = "x" + std::string(21, '1') + ".jpg";
  EXPECT_EQ(SortKeyText(session.walk(), "", data), std::string(20, '9'));
  // Digits of the extension are not part of the number; a trail byte is never a digit anyway.
  data.name = "abc.mp3";
  EXPECT_EQ(SortKeyText(session.walk(), "", data), "Z");
  session.run.sort.key = 3;  // no Exif reader yet: every file sorts last
  EXPECT_EQ(SortKeyText(session.walk(), "", data), "Z");
  session.run.sort.key = 7;  // an unknown key is the name
  EXPECT_EQ(SortKeyText(session.walk(), "", data), "abc.mp3");

  // Two steps: before the last '.', then after it; bytes compare unsigned.
  EXPECT_LT(CompareSortKeys("a.z", "b.a"), 0);
  EXPECT_LT(CompareSortKeys("a.a", "a.b"), 0);
  EXPECT_GT(CompareSortKeys("ab", "a.b"), 0);  // "ab" against "a" before the dot
  EXPECT_GT(CompareSortKeys("a.b", "a"), 0);   // equal before the dot; "b" > "" after it
  EXPECT_GT(CompareSortKeys("\x82\xA0", "z"), 0);
  EXPECT_EQ(CompareSortKeys("same.1", "same.1"), 0);
}

TEST_F(EnumerationTest, LastWriteRangeIsInclusiveToTheSecond) {
  for (const char* name : {"before", "low", "mid", "high", "after"}) MakeFile(name);
  SetLocalMtime("before", 2022, 5, 1, 9, 59, 59, 999000000);
  SetLocalMtime("low", 2022, 5, 1, 10, 0, 0);
  SetLocalMtime("mid", 2022, 5, 15, 12, 0, 0);
  SetLocalMtime("high", 2022, 5, 31, 18, 30, 0, 500000000);
  SetLocalMtime("after", 2022, 5, 31, 18, 30, 1);
  ASSERT_TRUE(session.job.app.set_dt1.Assign("2022/05/01 10:00:00"));
  ASSERT_TRUE(session.job.app.set_dt2.Assign("2022/05/31 18:30:00"));
  session.job.app.set_dts = 3;
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"high", "low", "mid"}));
  session.job.app.set_dts = 1;
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"after", "high", "low", "mid"}));
  session.job.app.set_dts = 2;
  ASSERT_TRUE(Enumerate());
  EXPECT_EQ(RelativeTargets(), (Targets{"before", "high", "low", "mid"}));
}

TEST_F(EnumerationTest, FileListFinishesADirectoryAfterItsListedFiles) {
  MakeDir("D");
  MakeFile("D/a");
  MakeFile("e");
  session.job.app.set_0 = 2;
  session.job.app.list_items = {E(dir.Sub("D")), E(dir.Sub("D/a")), E(dir.Sub("gone")), E(dir.Sub("e"))};
  ASSERT_TRUE(EnumerateFileList(session.walk()));
  EXPECT_EQ(RelativeTargets(), (Targets{"D\\a", "D", "e"}));

  // Directories still open at the end come innermost first, also when sorting.
  MakeDir("D/E");
  MakeFile("D/E/f");
  session.run.targets.clear();
  session.run.sort.on = true;
  session.job.app.list_items = {E(dir.Sub("D")), E(dir.Sub("D/E")), E(dir.Sub("D/E/f"))};
  ASSERT_TRUE(EnumerateFileList(session.walk()));
  EXPECT_EQ(RelativeTargets(), (Targets{"D\\E\\f", "D\\E", "D"}));

  ui.cancel_after_polls = ui.polls;  // the next poll cancels
  session.run.targets.clear();
  EXPECT_FALSE(EnumerateFileList(session.walk()));
  EXPECT_TRUE(session.run.cancelled);
  EXPECT_TRUE(session.run.targets.empty());
}

TEST_F(EnumerationTest, CancelStopsTheWalkOfDirectories) {
  MakeDir("a");
  MakeFile("a/x");
  MakeFile("y");
  session.job.app.sw_set[2] = true;
  ui.cancel_after_polls = 2;  // both passes of the top directory, then the subdirectory's first
  EXPECT_FALSE(Enumerate());
  EXPECT_TRUE(session.run.cancelled);
}

TEST_F(EnumerationTest, UnreachableShareWarnsOnceAndListsNothing) {
  session.job.app.dirfil[0] = "\\\\no-such-server\\share\\dir";
  EXPECT_FALSE(EnumerateDirectory(session.walk(), "\\\\no-such-server\\share\\dir", false));
  EXPECT_EQ(ui.Texts(testing::ScriptedUi::Message::kWarning), (Targets{S("ネットワークパスへの接続に失敗しました。")}));
  EXPECT_TRUE(session.run.targets.empty());

  EXPECT_FALSE(ConnectNetworkPath(session.host, "\\\\server", true));  // no share
  EXPECT_FALSE(ConnectNetworkPath(session.host, "Z:\\x", true));
  EXPECT_FALSE(ConnectNetworkPath(session.host, "\\\\server\\share", false));  // quiet
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(EnumerationTest, ListRowDescribesAnEntry) {
  MakeFile("f.txt");
  SetLocalMtime("f.txt", 2023, 4, 5, 6, 7, 8, 900000000);
  FindData data;
  ASSERT_TRUE(fs.Stat(E(dir.Sub("f.txt")), &data).ok());
  session.job.app.sw_opt[4] = false;
  const EntryRow row = DescribeEntry(session.job.app, session.exif, session.id3, E(dir.path()), data);
  EXPECT_EQ(row.name, "f.txt");
  EXPECT_EQ(row.last_write, "2023/04/05 06:07:08");
  EXPECT_EQ(row.creation, "");
  EXPECT_EQ(row.marker, "");
  session.job.app.sw_opt[4] = true;
  EXPECT_EQ(DescribeEntry(session.job.app, session.exif, session.id3, E(dir.path()), data).creation.size(), 19u);
}

}  // namespace
}  // namespace morva
