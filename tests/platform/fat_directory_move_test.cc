// A FAT card mounted through fusefat, whose rename of a directory loses everything in it: a directory
// with contents is not moved there, and nothing inside it is lost; files and empty directories move.
#include <sys/stat.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/fat_mount.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::WriteFile;

TEST(FatDirectoryMoveTest, ADirectoryWithContentsIsNeverMovedWhereItsContentsWouldBeLost) {
  testing::FatMount fat;
  if (!fat.ok()) GTEST_SKIP() << fat.why();
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  const std::string root = fat.path();
  ASSERT_EQ(mkdir((root + "/full").c_str(), 0755), 0);
  WriteFile(root + "/full/inside.txt", "kept");
  ASSERT_EQ(mkdir((root + "/empty").c_str(), 0755), 0);
  WriteFile(root + "/file.txt", "file");
  std::string e_root;
  ASSERT_TRUE(fs->FromHostPath(root, &e_root).ok());

  const struct {
    const char* from;
    const char* to;
    bool moves;
  } cases[] = {
      {"full", "renamed", false},
      {"full", "FULL", false},  // a case-only rename goes through a temporary name: two renames
      {"empty", "EMPTY", true},
      {"file.txt", "FILE.TXT", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from + std::string(" -> ") + c.to);
    const Status s = fs->Move(e_root + "\\" + c.from, e_root + "\\" + c.to);
    EXPECT_EQ(s.ok(), c.moves) << s.ToString();
    // Back again, so that every case starts from the same card; the checks below say if it went wrong.
    if (c.moves) fs->Move(e_root + "\\" + c.to, e_root + "\\" + c.from).IgnoreError();
  }
  EXPECT_EQ(ReadFile(root + "/full/inside.txt"), "kept");
  EXPECT_TRUE(Exists(root + "/empty"));
  EXPECT_EQ(ReadFile(root + "/file.txt"), "file");
}

}  // namespace
}  // namespace morva
