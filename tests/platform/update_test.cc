#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/test_util.h"
#include "platform/file_system.h"

namespace morva {
namespace {

using testing::HostNames;
using testing::ReadFile;
using testing::WriteFile;

class UpdateTest : public testing::HostFixture {
 protected:
  // A file of `size` bytes with a recognisable pattern, mode 0640 and a last-write time in 2001.
  std::string MakeFile(const std::string& name, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
    WriteFile(dir_ / name, bytes);
    EXPECT_EQ(chmod((dir_ / name).c_str(), 0640), 0);
    struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 5}};
    EXPECT_EQ(utimensat(AT_FDCWD, (dir_ / name).c_str(), times, 0), 0);
    return bytes;
  }
  struct stat StatOf(const std::string& name) {
    struct stat st {};
    EXPECT_EQ(lstat((dir_ / name).c_str(), &st), 0) << name;
    return st;
  }
};

TEST_F(UpdateTest, SafetyCopyIsTheWholeFileAndNeverReplaces) {
  const std::string bytes = MakeFile("a.mp3", 300000);
  std::unique_ptr<FileUpdate> update;
  ASSERT_TRUE(fs_->OpenUpdate(E("a.mp3"), E("a.mp3.bak"), &update).ok());
  EXPECT_EQ(ReadFile(dir_ / "a.mp3.bak"), bytes);
  EXPECT_EQ(StatOf("a.mp3.bak").st_mode & 0777, 0640u);
  EXPECT_EQ(StatOf("a.mp3.bak").st_mtim.tv_sec, 1000000000);
  std::string read;
  ASSERT_TRUE(update->original().Read(299990, 100, &read).ok());
  EXPECT_EQ(read, bytes.substr(299990));
  EXPECT_EQ(update->original().size(), bytes.size());

  // A second update of the same name is refused and leaves the first copy alone.
  std::unique_ptr<FileUpdate> second;
  EXPECT_EQ(fs_->OpenUpdate(E("a.mp3"), E("a.mp3.bak"), &second).code(), EEXIST);
  EXPECT_EQ(second, nullptr);
  update.reset();  // never written: the copy goes with it
  EXPECT_EQ(HostNames(dir_.path()), std::vector<std::string>{"a.mp3"});

  ASSERT_EQ(symlink("a.mp3", (dir_ / "link.mp3").c_str()), 0);
  EXPECT_EQ(fs_->OpenUpdate(E("link.mp3"), E("link.mp3.bak"), &update).code(), ELOOP);
  ASSERT_EQ(mkdir((dir_ / "d").c_str(), 0755), 0);
  EXPECT_EQ(fs_->OpenUpdate(E("d"), E("d.bak"), &update).code(), EISDIR);
  EXPECT_EQ(fs_->OpenUpdate(E("none"), E("none.bak"), &update).code(), ENOENT);
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"a.mp3", "d", "link.mp3"}));
}

// Each way an update ends: what the file holds and whether its safety copy is left.
TEST_F(UpdateTest, CommitRestoreOrLeave) {
  struct Case {
    const char* name;
    std::function<void(FileUpdate&)> steps;
    std::function<std::string(const std::string&)> expected;  // from the former contents
    bool copy_left;
  };
  const std::vector<Case> cases = {
      {"write in place, commit",
       [](FileUpdate& u) {
         ASSERT_TRUE(u.Write(10, "XYZ").ok());
         ASSERT_TRUE(u.Commit().ok());
       },
       [](const std::string& old) { return old.substr(0, 10) + "XYZ" + old.substr(13); }, false},
      {"a longer head and the rest from the copy, commit",
       [](FileUpdate& u) {
         ASSERT_TRUE(u.Write(0, std::string(5000, 'H')).ok());
         ASSERT_TRUE(u.CopyOriginal(100, 5000).ok());
         ASSERT_TRUE(u.Write(u.original().size() - 100 + 5000, "END").ok());
         ASSERT_TRUE(u.Commit().ok());
       },
       [](const std::string& old) { return std::string(5000, 'H') + old.substr(100) + "END"; }, false},
      {"a shorter head, commit",
       [](FileUpdate& u) {
         ASSERT_TRUE(u.Write(0, "h").ok());
         ASSERT_TRUE(u.CopyOriginal(7000, 1).ok());
         ASSERT_TRUE(u.Commit().ok());
       },
       [](const std::string& old) { return "h" + old.substr(7000); }, false},
      {"rewritten, then restored",
       [](FileUpdate& u) {
         ASSERT_TRUE(u.Write(0, std::string(9000, 'H')).ok());
         ASSERT_TRUE(u.CopyOriginal(0, 9000).ok());
         ASSERT_TRUE(u.Restore().ok());
       },
       [](const std::string& old) { return old; }, false},
      {"written, then left without an end: the copy stays",
       [](FileUpdate& u) { ASSERT_TRUE(u.Write(0, "X").ok()); },
       [](const std::string& old) { return "X" + old.substr(1); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string old = MakeFile("a.mp3", 200000);
    {
      std::unique_ptr<FileUpdate> update;
      ASSERT_TRUE(fs_->OpenUpdate(E("a.mp3"), E("a.mp3.bak3"), &update).ok());
      c.steps(*update);
    }
    EXPECT_EQ(ReadFile(dir_ / "a.mp3"), c.expected(old));
    EXPECT_EQ(StatOf("a.mp3").st_mode & 0777, 0640u);
    if (c.expected(old) == old) {
      EXPECT_EQ(StatOf("a.mp3").st_mtim.tv_sec, 1000000000);
    }
    if (c.copy_left) {
      EXPECT_EQ(ReadFile(dir_ / "a.mp3.bak3"), old);
      unlink((dir_ / "a.mp3.bak3").c_str());
    }
    EXPECT_EQ(HostNames(dir_.path()), std::vector<std::string>{"a.mp3"});
  }
}

}  // namespace
}  // namespace morva
