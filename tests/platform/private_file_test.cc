// Files only the user may read: where they go, and how they are written.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/private_file.h"

namespace morva {
namespace {

using testing::ReadFile;
using testing::TempDir;

TEST(PrivateFileTest, TheRuntimeDirectoryComesFirstThenTheCache) {
  const struct {
    const char* runtime;
    const char* cache;
    const char* home;
    const char* chosen;
  } cases[] = {
      {"/run/user/1000", "/c", "/h", "/run/user/1000/morva"},
      {"/run/user/1000/", "", "", "/run/user/1000/morva"},
      {"", "/home/me/.cache", "/h", "/home/me/.cache/morva"},
      {"relative", "also/relative", "/home/me", "/home/me/.cache/morva"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChoosePrivateDirectory(c.runtime, c.cache, c.home), c.chosen) << c.chosen;
}

std::vector<std::string> Names(const std::string& directory) {
  std::vector<std::string> names;
  DIR* d = opendir(directory.c_str());
  if (d == nullptr) return names;
  while (const dirent* e = readdir(d)) {
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
  }
  closedir(d);
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(PrivateFileTest, OwnerOnlyReplacedAtOnceAndNothingLeftBehind) {
  TempDir root;
  const mode_t umask_before = umask(0);  // the file is private whatever the umask allows
  const std::string directory = root / "cache/morva";
  std::string path;
  ASSERT_TRUE(WritePrivateFile(directory, "mvlogs.txt", "first", &path).ok());
  EXPECT_EQ(path, directory + "/mvlogs.txt");
  EXPECT_EQ(ModeOf(path), 0600u);
  EXPECT_EQ(ModeOf(directory), 0700u);
  EXPECT_EQ(ModeOf(root / "cache"), 0700u);

  // A viewer still reading the first copy keeps it whole while the next one takes its name.
  const int viewer = open(path.c_str(), O_RDONLY);
  ASSERT_GE(viewer, 0);
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  ASSERT_TRUE(WritePrivateFile(directory, "mvlogs.txt", "second", &path).ok());
  char buffer[16] = {};
  EXPECT_EQ(pread(viewer, buffer, sizeof(buffer), 0), 5);
  EXPECT_EQ(std::string(buffer), "first");
  close(viewer);
  EXPECT_EQ(ReadFile(path), "second");
  EXPECT_EQ(ModeOf(path), 0600u);
  EXPECT_EQ(Names(directory), std::vector<std::string>{"mvlogs.txt"});
  umask(umask_before);
}

TEST(PrivateFileTest, ADirectoryOthersCouldReachIsRefused) {
  TempDir root;
  ASSERT_EQ(mkdir((root / "shared").c_str(), 0777), 0);
  ASSERT_EQ(chmod((root / "shared").c_str(), 0777), 0);
  ASSERT_EQ(mkdir((root / "real").c_str(), 0700), 0);
  ASSERT_EQ(symlink((root / "real").c_str(), (root / "link").c_str()), 0);
  ASSERT_TRUE(root.WriteFile("file", ""));
  for (const char* directory : {"shared", "link", "file"}) {
    std::string path;
    EXPECT_FALSE(WritePrivateFile(root / directory, "mvlogs.txt", "x", &path).ok()) << directory;
  }
  EXPECT_TRUE(Names(root / "shared").empty());
  EXPECT_TRUE(Names(root / "real").empty());
  std::string path;
  EXPECT_FALSE(WritePrivateFile("relative", "mvlogs.txt", "x", &path).ok());
  EXPECT_FALSE(WritePrivateFile(root.path(), "a/b", "x", &path).ok());
}

}  // namespace
}  // namespace morva
