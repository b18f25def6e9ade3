#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::EnginePath;
using testing::HostNames;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class FilesTest : public testing::HostFixture {};

TEST_F(FilesTest, ReadFileReturnsEveryByteAndRefusesWhatIsNotARegularFile) {
  std::string binary("MORVA\0\r\n\x82\xa0", 10);
  binary += std::string(200000, 'x');  // more than one read buffer
  WriteFile(dir_ / "a.dat", binary);
  std::string data = "stale";
  ASSERT_TRUE(fs_->ReadFile(E("a.dat"), FileSystem::kMaxReadFileSize, &data).ok());
  EXPECT_EQ(data, binary);
  // The caller's limit decides: the log reader accepts more than the settings reader.
  EXPECT_EQ(fs_->ReadFile(E("a.dat"), binary.size() - 1, &data).code(), EFBIG);
  ASSERT_TRUE(fs_->ReadFile(E("a.dat"), binary.size(), &data).ok());

  WriteFile(dir_ / "empty", "");
  ASSERT_TRUE(fs_->ReadFile(E("empty"), FileSystem::kMaxReadFileSize, &data).ok());
  EXPECT_EQ(data, "");

  EXPECT_EQ(fs_->ReadFile(E("missing"), FileSystem::kMaxReadFileSize, &data).code(), ENOENT);
  ASSERT_EQ(mkdir((dir_ / "sub").c_str(), 0755), 0);
  EXPECT_EQ(fs_->ReadFile(E("sub"), FileSystem::kMaxReadFileSize, &data).code(), EISDIR);
  // A pipe with no writer would block a plain open and never end.
  ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0644), 0);
  EXPECT_EQ(fs_->ReadFile(E("pipe"), FileSystem::kMaxReadFileSize, &data).code(), EINVAL);
  EXPECT_EQ(fs_->ReadFile("Q:\\a.dat", FileSystem::kMaxReadFileSize, &data).code(), EINVAL);
}

TEST_F(FilesTest, ReadFileRefusesFilesOverTheLimit) {
  // Sparse, so the test costs no disk space.
  const std::string big = dir_ / "big";
  int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, static_cast<off_t>(FileSystem::kMaxReadFileSize + 1)), 0);
  close(fd);
  std::string data;
  EXPECT_EQ(fs_->ReadFile(E("big"), FileSystem::kMaxReadFileSize, &data).code(), EFBIG);

  fd = open(big.c_str(), O_WRONLY | O_TRUNC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, static_cast<off_t>(FileSystem::kMaxReadFileSize)), 0);
  close(fd);
  ASSERT_TRUE(fs_->ReadFile(E("big"), FileSystem::kMaxReadFileSize, &data).ok());
  EXPECT_EQ(data.size(), FileSystem::kMaxReadFileSize);
}

TEST_F(FilesTest, OpenReadReadsAtAnyOffsetAndStopsShortOnlyAtTheEnd) {
  std::string bytes;
  for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i * 7);
  WriteFile(dir_ / "a.dat", bytes);
  std::unique_ptr<ReadableFile> file;
  ASSERT_TRUE(fs_->OpenRead(E("a.dat"), &file).ok());
  EXPECT_EQ(file->size(), bytes.size());
  std::string data = "stale";
  ASSERT_TRUE(file->Read(65530, 20, &data).ok());
  EXPECT_EQ(data, bytes.substr(65530, 20));
  ASSERT_TRUE(file->Read(bytes.size() - 3, 128, &data).ok());
  EXPECT_EQ(data, bytes.substr(bytes.size() - 3));
  ASSERT_TRUE(file->Read(bytes.size() + 10, 4, &data).ok());
  EXPECT_EQ(data, "");

  std::unique_ptr<ReadableFile> untouched;
  EXPECT_EQ(fs_->OpenRead(E("missing"), &untouched).code(), ENOENT);
  ASSERT_EQ(mkdir((dir_ / "sub").c_str(), 0755), 0);
  EXPECT_EQ(fs_->OpenRead(E("sub"), &untouched).code(), EISDIR);
  ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0644), 0);
  EXPECT_EQ(fs_->OpenRead(E("pipe"), &untouched).code(), EINVAL);
  EXPECT_EQ(untouched, nullptr);
}

TEST_F(FilesTest, WriteFileCreatesAndReplacesLeavingNoTemporaryFile) {
  ASSERT_TRUE(fs_->WriteFile(E("morva.dat"), "first").ok());
  EXPECT_EQ(ReadFile(dir_ / "morva.dat"), "first");

  // A replaced file keeps its permissions; a reader that opened the old file keeps seeing it whole.
  ASSERT_EQ(chmod((dir_ / "morva.dat").c_str(), 0640), 0);
  const int old_fd = open((dir_ / "morva.dat").c_str(), O_RDONLY);
  ASSERT_GE(old_fd, 0);
  ASSERT_TRUE(fs_->WriteFile(E("morva.dat"), std::string("second\0line", 11)).ok());
  EXPECT_EQ(ReadFile(dir_ / "morva.dat"), std::string("second\0line", 11));
  char buffer[16] = {};
  EXPECT_EQ(read(old_fd, buffer, sizeof(buffer)), 5);
  EXPECT_EQ(std::string(buffer), "first");
  close(old_fd);
  struct stat st {};
  ASSERT_EQ(stat((dir_ / "morva.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  ASSERT_TRUE(fs_->WriteFile(E("morva.dat"), "").ok());
  EXPECT_EQ(ReadFile(dir_ / "morva.dat"), "");
  EXPECT_EQ(HostNames(dir_.path()), std::vector<std::string>{"morva.dat"});
}

TEST_F(FilesTest, WriteFileRefusesDirectoriesAndMissingParentsAndReplacesALinkItself) {
  ASSERT_EQ(mkdir((dir_ / "sub").c_str(), 0755), 0);
  EXPECT_EQ(fs_->WriteFile(E("sub"), "x").code(), EISDIR);
  EXPECT_EQ(fs_->WriteFile(E("none\\a.dat"), "x").code(), ENOENT);

  WriteFile(dir_ / "target", "target");
  ASSERT_EQ(symlink("target", (dir_ / "link").c_str()), 0);
  ASSERT_TRUE(fs_->WriteFile(E("link"), "new").ok());
  EXPECT_EQ(ReadFile(dir_ / "target"), "target");
  struct stat st {};
  ASSERT_EQ(lstat((dir_ / "link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(ReadFile(dir_ / "link"), "new");
  EXPECT_EQ(HostNames(dir_.path()), (std::vector<std::string>{"link", "sub", "target"}));
}

TEST_F(FilesTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  WriteFile(dir_ / "morva.dat", "the old settings");
  const std::string engine_path = E("morva.dat");
  // A real failure in the middle of writing: a file size limit in a child process (the parent's
  // limits stay as they are). The child reports the error code as its exit status.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status s = fs_->WriteFile(engine_path, std::string(100, 'n'));
    _exit(s.code() & 0xFF);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), EFBIG);
  EXPECT_EQ(ReadFile(dir_ / "morva.dat"), "the old settings");
  EXPECT_EQ(HostNames(dir_.path()), std::vector<std::string>{"morva.dat"});
}

TEST_F(FilesTest, InjectedFaultsReachReadAndWrite) {
  FaultInjectingFileSystem faulty(fs_.get());
  faulty.FailOn(FsOp::kWriteFile, "morva", ENOSPC, 1);
  faulty.FailOn(FsOp::kReadFile, "", EIO, 1);
  EXPECT_EQ(faulty.WriteFile(E("morva.dat"), "x").code(), ENOSPC);
  EXPECT_FALSE(testing::Exists(dir_ / "morva.dat"));
  EXPECT_TRUE(faulty.WriteFile(E("morva.dat"), "x").ok());
  std::string data;
  EXPECT_EQ(faulty.ReadFile(E("morva.dat"), FileSystem::kMaxReadFileSize, &data).code(), EIO);
  EXPECT_TRUE(faulty.ReadFile(E("morva.dat"), FileSystem::kMaxReadFileSize, &data).ok());
  EXPECT_EQ(data, "x");
  EXPECT_EQ(faulty.calls(FsOp::kWriteFile), 2);
  EXPECT_EQ(faulty.calls(FsOp::kReadFile), 2);
}

}  // namespace
}  // namespace morva
