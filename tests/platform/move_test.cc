#include <dirent.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"
#include "platform/file_time.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::EnginePath;
using testing::HostNames;
using testing::Exists;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class MoveTest : public testing::HostFixture {
 protected:

};

TEST_F(MoveTest, NeverReplacesAndCaseOnlyRenameIsReal) {
  WriteFile(dir_.Sub("a"), "A-data");
  WriteFile(dir_.Sub("b"), "B-data");
  EXPECT_EQ(fs_->Move(E("a"), E("b")).code(), EEXIST);
  EXPECT_EQ(ReadFile(dir_.Sub("a")), "A-data");
  EXPECT_EQ(ReadFile(dir_.Sub("b")), "B-data");

  // Two hard links of one file are still two entries.
  ASSERT_EQ(link(dir_.Sub("a").c_str(), dir_.Sub("a2").c_str()), 0);
  EXPECT_EQ(fs_->Move(E("a"), E("a2")).code(), EEXIST);
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"a", "a2", "b"}));

  ASSERT_TRUE(fs_->Move(E("a"), E("A")).ok());
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"A", "a2", "b"}));
  EXPECT_EQ(ReadFile(dir_.Sub("A")), "A-data");

  // A move onto itself goes through the temporary name and back: no conflict, nothing left over.
  ASSERT_TRUE(fs_->Move(E("A"), E("A")).ok());
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"A", "a2", "b"}));

  // Directories and links move as themselves.
  ASSERT_EQ(mkdir(dir_.Sub("d").c_str(), 0755), 0);
  ASSERT_EQ(symlink("d", dir_.Sub("l").c_str()), 0);
  ASSERT_TRUE(fs_->Move(E("d"), E("D")).ok());
  ASSERT_TRUE(fs_->Move(E("l"), E("L")).ok());
  struct stat st;
  ASSERT_EQ(lstat(dir_.Sub("L").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(fs_->Move(E("D"), E("b")).code(), EEXIST);
  EXPECT_EQ(fs_->Move(E("missing"), E("x")).code(), ENOENT);
}

TEST_F(MoveTest, CreationTimeAndAttributesMoveWithTheEntry) {
  WriteFile(dir_.Sub("f"), "x");
  CalendarTime t;
  t.year = 2004;
  t.month = 3;
  t.day = 2;
  t.millisecond = 345;
  FileTime created = 0;
  ASSERT_TRUE(UtcToFileTime(t, &created));
  Status s = fs_->SetTimes(E("f"), &created, nullptr, nullptr);
  if (s.code() == ENOTSUP) GTEST_SKIP() << "no user xattrs in /tmp";
  ASSERT_TRUE(s.ok()) << s.ToString();
  ASSERT_TRUE(fs_->SetAttributes(E("f"), kAttrHidden | kAttrReadOnly).ok());
  ASSERT_TRUE(fs_->Move(E("f"), E("g")).ok());
  FindData data;
  ASSERT_TRUE(fs_->Stat(E("g"), &data).ok());
  EXPECT_EQ(data.creation_time, created);
  EXPECT_EQ(data.attributes, kAttrHidden | kAttrReadOnly);
}

TEST_F(MoveTest, InjectedFailureLeavesBothFiles) {
  WriteFile(dir_.Sub("a"), "1");
  WriteFile(dir_.Sub("b"), "2");
  FaultInjectingFileSystem faulty(fs_.get());
  faulty.FailOn(FsOp::kMove, "\\a", EIO, 1);
  EXPECT_EQ(faulty.Move(E("a"), E("c")).code(), EIO);
  EXPECT_EQ(faulty.calls(FsOp::kMove), 1);
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(faulty.Move(E("a"), E("b")).code(), EEXIST);  // the fault has fired; the real refusal
  EXPECT_EQ(ReadFile(dir_.Sub("a")), "1");
  EXPECT_EQ(ReadFile(dir_.Sub("b")), "2");
  ASSERT_TRUE(faulty.Move(E("a"), E("c")).ok());
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"b", "c"}));
}

// A case-insensitive directory: tmpfs mounted with casefolding and a directory flagged +F. Needs root
// and a kernel with Unicode casefolding; skipped otherwise.
TEST_F(MoveTest, CaseInsensitiveFileSystem) {
  const std::string mount_point = dir_.Sub("mnt");
  ASSERT_EQ(mkdir(mount_point.c_str(), 0755), 0);
  if (mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "casefold") != 0) {
    GTEST_SKIP() << "cannot mount a casefolding tmpfs: " << strerror(errno);
  }
  struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{mount_point};
  const std::string ci = mount_point + "/ci";
  ASSERT_EQ(mkdir(ci.c_str(), 0755), 0);
  const std::string command = "chattr +F '" + ci + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "chattr +F refused";
  WriteFile(ci + "/x", "probe");
  if (!Exists(ci + "/X")) GTEST_SKIP() << "directory is not case-insensitive";
  unlink((ci + "/x").c_str());

  WriteFile(ci + "/a", "A-data");
  WriteFile(ci + "/B", "B-data");
  const std::string a = EnginePath(codec_.get(), ci + "/a");
  const std::string upper_a = EnginePath(codec_.get(), ci + "/A");
  const std::string lower_b = EnginePath(codec_.get(), ci + "/b");
  ASSERT_TRUE(fs_->Move(a, upper_a).ok());
  EXPECT_EQ(HostNames(ci), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(fs_->Move(upper_a, lower_b).code(), EEXIST);
  EXPECT_EQ(HostNames(ci), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(ReadFile(ci + "/A"), "A-data");
  EXPECT_EQ(ReadFile(ci + "/B"), "B-data");

  std::vector<FindData> entries;
  ASSERT_TRUE(fs_->FindFiles(EnginePath(codec_.get(), ci), "*.*", &entries, nullptr).ok());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "A");
}

TEST_F(MoveTest, CopyKeepsDataModeAndLastWriteTime) {
  std::string data(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 131 + i / 7);
  WriteFile(dir_.Sub("src"), data);
  ASSERT_EQ(chmod(dir_.Sub("src").c_str(), 0750), 0);
  struct timespec times[2] = {{1000000000, 0}, {1234567890, 123456700}};
  ASSERT_EQ(utimensat(AT_FDCWD, dir_.Sub("src").c_str(), times, 0), 0);

  ASSERT_TRUE(fs_->Copy(E("src"), E("dst"), false).ok());
  EXPECT_EQ(ReadFile(dir_.Sub("dst")), data);
  struct stat st;
  ASSERT_EQ(stat(dir_.Sub("dst").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1234567890);
  EXPECT_EQ(st.st_mtim.tv_nsec, 123456700);

  // An existing destination is refused without overwrite and replaced with it.
  WriteFile(dir_.Sub("other"), "other");
  EXPECT_EQ(fs_->Copy(E("other"), E("dst"), false).code(), EEXIST);
  EXPECT_EQ(ReadFile(dir_.Sub("dst")), data);
  ASSERT_TRUE(fs_->Copy(E("other"), E("dst"), true).ok());
  EXPECT_EQ(ReadFile(dir_.Sub("dst")), "other");

  // A read-only destination is never replaced, as with the Windows copy.
  ASSERT_EQ(chmod(dir_.Sub("dst").c_str(), 0444), 0);
  EXPECT_EQ(fs_->Copy(E("src"), E("dst"), true).code(), EACCES);
  EXPECT_EQ(ReadFile(dir_.Sub("dst")), "other");

  // Failures leave nothing behind.
  EXPECT_EQ(fs_->Copy(E("missing"), E("x"), false).code(), ENOENT);
  EXPECT_EQ(fs_->Copy(E("src"), E("nodir/x"), false).code(), ENOENT);
  ASSERT_EQ(mkdir(dir_.Sub("d").c_str(), 0755), 0);
  EXPECT_EQ(fs_->Copy(E("d"), E("x"), false).code(), EISDIR);
  EXPECT_EQ(fs_->Copy(E("src"), E("d"), true).code(), EISDIR);
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"d", "dst", "other", "src"}));
  EXPECT_TRUE(HostNames(dir_.Sub("d")).empty());
}

TEST_F(MoveTest, CopyCarriesStoredAttributesButNotCreationTime) {
  WriteFile(dir_.Sub("src"), "x");
  const FileTime created = 130000000000000000ULL;
  Status s = fs_->SetTimes(E("src"), &created, nullptr, nullptr);
  if (s.code() == ENOTSUP) GTEST_SKIP() << "no user xattrs in /tmp";
  ASSERT_TRUE(fs_->SetAttributes(E("src"), kAttrHidden | kAttrArchive).ok());
  ASSERT_TRUE(fs_->Copy(E("src"), E("dst"), false).ok());
  FindData data;
  ASSERT_TRUE(fs_->Stat(E("dst"), &data).ok());
  EXPECT_EQ(data.attributes, kAttrHidden | kAttrArchive);
  EXPECT_NE(data.creation_time, created);
}

TEST_F(MoveTest, CreateDirectory) {
  ASSERT_TRUE(fs_->CreateDirectory(E("new")).ok());
  struct stat st;
  ASSERT_EQ(stat(dir_.Sub("new").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(fs_->CreateDirectory(E("new")).code(), EEXIST);
  WriteFile(dir_.Sub("file"), "");
  EXPECT_EQ(fs_->CreateDirectory(E("file")).code(), EEXIST);
  ASSERT_EQ(symlink("nowhere", dir_.Sub("dangling").c_str()), 0);
  EXPECT_EQ(fs_->CreateDirectory(E("dangling")).code(), EEXIST);
  EXPECT_EQ(fs_->CreateDirectory(E("no/parent")).code(), ENOENT);
}

}  // namespace
}  // namespace morva
