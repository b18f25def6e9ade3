// Deletion into the trash, permanent deletion and overwriting before deletion, on real trees: each acts
// on the entry itself and never reaches what a symbolic link points at.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/test_mount.h"
#include "common/test_trash.h"
#include "common/test_util.h"
#include "platform/file_system.h"

namespace morva {
namespace {

using testing::Exists;
using testing::HostNames;
using testing::ReadFile;
using testing::TestTrash;
using testing::Trashed;
using testing::WriteFile;

class DeletionTest : public testing::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    ASSERT_FALSE(TestTrash().empty());
    ASSERT_EQ(mkdir(dir_.Sub("tree").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(dir_.Sub("outside").c_str(), 0755), 0);
    WriteFile(dir_.Sub("outside/kept.txt"), "outside");
  }

  // The names and contents outside the tree, to tell that nothing there changed.
  std::string Outside() {
    std::string state;
    for (const std::string& name : HostNames(dir_.Sub("outside"))) state += name + "=" + ReadFile(dir_.Sub("outside/" + name)) + ",";
    return state;
  }

  static bool IsLink(const std::string& host) {
    struct stat st {};
    return lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  }
};

TEST_F(DeletionTest, TrashAndPermanentDeletionTakeTheEntryItself) {
  struct Case {
    const char* what;
    std::function<void(const std::string& host)> make;  // creates the entry at `host`
    // Checks the trashed entry (null: permanent deletion, which leaves nothing in the trash).
    std::function<void(const std::string& trashed)> in_trash;
  };
  auto file = [](const std::string& host) {
    WriteFile(host, "data");
    chmod(host.c_str(), 0444);  // read-only is no obstacle to deletion
  };
  auto tree = [](const std::string& host) {
    ASSERT_EQ(mkdir(host.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((host + "/sub").c_str(), 0755), 0);
    WriteFile(host + "/sub/f.txt", "f");
    ASSERT_EQ(symlink("../../../outside", (host + "/sub/out").c_str()), 0);
  };
  auto link_to = [this](const char* target) {
    return [this, target](const std::string& host) { ASSERT_EQ(symlink(dir_.Sub(target).c_str(), host.c_str()), 0); };
  };
  auto trashed_file = [](const std::string& t) { EXPECT_EQ(ReadFile(t), "data"); };
  auto trashed_tree = [](const std::string& t) {
    EXPECT_EQ(ReadFile(t + "/sub/f.txt"), "f");
    EXPECT_TRUE(IsLink(t + "/sub/out"));
  };
  auto trashed_link = [](const std::string& t) { EXPECT_TRUE(IsLink(t)); };
  const std::vector<Case> cases = {
      {"trash a read-only file", file, trashed_file},
      {"trash a tree", tree, trashed_tree},
      {"trash a link to a file", link_to("outside/kept.txt"), trashed_link},
      {"trash a link to a directory", link_to("outside"), trashed_link},
      {"delete a read-only file", file, nullptr},
      {"delete a tree", tree, nullptr},
      {"delete a link to a file", link_to("outside/kept.txt"), nullptr},
      {"delete a link to a directory", link_to("outside"), nullptr},
  };
  const ConfinedScope confined(*fs_, {E("tree")});
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "entry" + std::to_string(n++);
    const std::string host = dir_.Sub("tree/" + name);
    c.make(host);
    const Status s = c.in_trash ? fs_->Trash(E("tree/" + name)) : fs_->DeleteTree(E("tree/" + name));
    ASSERT_TRUE(s.ok()) << s.ToString();
    EXPECT_FALSE(Exists(host));
    const std::string trashed = Trashed(host);
    if (c.in_trash) {
      ASSERT_NE(trashed, "");
      c.in_trash(trashed);
    } else {
      EXPECT_EQ(trashed, "");
    }
    EXPECT_EQ(Outside(), "kept.txt=outside,");
  }
}

TEST_F(DeletionTest, NothingOnAMountInsideTheTreeIsDeletedNorOverwritten) {
  // A bind mount of a directory of the same file system: the same device, another mount.
  ASSERT_EQ(mkdir(dir_.Sub("elsewhere").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir_.Sub("elsewhere/sub").c_str(), 0755), 0);
  WriteFile(dir_.Sub("elsewhere/f.txt"), "mounted");
  WriteFile(dir_.Sub("elsewhere/sub/g.txt"), "mounted");
  ASSERT_EQ(symlink("f.txt", dir_.Sub("elsewhere/link").c_str()), 0);
  ASSERT_EQ(mkdir(dir_.Sub("tree/mnt").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir_.Sub("tree/own").c_str(), 0755), 0);
  const testing::TestMount mount = testing::TestMount::Bind(dir_.Sub("elsewhere"), dir_.Sub("tree/mnt"));
  if (!mount.ok()) GTEST_SKIP() << mount.why();
  const auto contents = [this] {
    return ReadFile(dir_.Sub("elsewhere/f.txt")) + "," + ReadFile(dir_.Sub("elsewhere/sub/g.txt")) + "," +
           (IsLink(dir_.Sub("elsewhere/link")) ? "link" : "");
  };
  ASSERT_EQ(contents(), "mounted,mounted,link");

  struct Case {
    const char* what;
    std::string path;  // below the tree
    std::function<Status(FileSystem& fs, const std::string& path)> act;
    bool into_trash;  // what the probe is asked
    int code;
  };
  const auto trash = [](FileSystem& fs, const std::string& path) { return fs.Trash(path); };
  const auto remove = [](FileSystem& fs, const std::string& path) { return fs.DeleteTree(path); };
  const auto wipe = [](FileSystem& fs, const std::string& path) { return fs.Overwrite(path, 1); };
  const std::vector<Case> cases = {
      {"trash a file in it", "mnt/f.txt", trash, true, EXDEV},
      {"trash a directory in it", "mnt/sub", trash, true, EXDEV},
      {"trash a link in it", "mnt/link", trash, true, EXDEV},
      {"delete a file in it", "mnt/f.txt", remove, false, EXDEV},
      {"delete a directory in it", "mnt/sub", remove, false, EXDEV},
      {"delete a file deeper in it", "mnt/sub/g.txt", remove, false, EXDEV},
      {"delete a link in it", "mnt/link", remove, false, EXDEV},
      {"overwrite a file in it", "mnt/f.txt", wipe, false, EXDEV},
      {"delete the mount point", "mnt", remove, false, EBUSY},
  };
  const ConfinedScope confined(*fs_, {E("tree")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = E("tree/" + c.path);
    EXPECT_EQ(fs_->ProbeDeletion(path, c.into_trash).code(), c.code);
    const Status s = c.act(*fs_, path);
    EXPECT_EQ(s.code(), c.code) << s.ToString();
    EXPECT_EQ(contents(), "mounted,mounted,link");
  }
  // A directory holding the mount does not go into the trash, where it would carry the mount along.
  EXPECT_EQ(fs_->ProbeDeletion(E("tree"), true).code(), EBUSY);
  EXPECT_EQ(fs_->Trash(E("tree")).code(), EBUSY);
  // The tree goes around the mount: the mount point stays, and the tree's directory with it.
  WriteFile(dir_.Sub("tree/own/h.txt"), "own");
  EXPECT_EQ(fs_->ProbeDeletion(E("tree"), false).code(), EBUSY);
  EXPECT_EQ(fs_->DeleteTree(E("tree")).code(), EBUSY);
  EXPECT_FALSE(Exists(dir_.Sub("tree/own")));
  EXPECT_EQ(HostNames(dir_.Sub("tree")), std::vector<std::string>{"mnt"});
  EXPECT_EQ(contents(), "mounted,mounted,link");
  EXPECT_EQ(Trashed(dir_.Sub("tree/mnt/f.txt")), "");
}

TEST_F(DeletionTest, PermanentDeletionOfADeepTreeHoldsAFewHandlesAndLeavesInvisibleNames) {
  // 300 levels, each with a file and a link out; one directory on the way holds a name Windows could not
  // hold, which is never deleted, so it and the directories above it stay.
  std::string path = dir_.Sub("tree/top");
  std::string keeper;
  for (int depth = 0; depth < 300; ++depth) {
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    WriteFile(path + "/f.txt", "f");
    ASSERT_EQ(symlink(dir_.Sub("outside").c_str(), (path + "/out").c_str()), 0);
    if (depth == 200) keeper = path;
    path += "/d";
  }
  WriteFile(keeper + "/a:b", "invisible");

  // Fewer descriptors than the tree has levels: a walk that held one per level would run out.
  struct Limit {
    Limit() { getrlimit(RLIMIT_NOFILE, &old); }
    ~Limit() { setrlimit(RLIMIT_NOFILE, &old); }
    struct rlimit old {};
  } limit;
  const int in_use = static_cast<int>(HostNames("/proc/self/fd").size());
  struct rlimit tight = limit.old;
  tight.rlim_cur = static_cast<rlim_t>(in_use + 40);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  {
    const ConfinedScope confined(*fs_, {E("tree")});
    const Status kept = fs_->DeleteTree(E("tree/top"));
    EXPECT_EQ(kept.code(), ENOTEMPTY) << kept.ToString();
    EXPECT_EQ(HostNames(keeper), std::vector<std::string>{"a:b"});
    ASSERT_EQ(unlink((keeper + "/a:b").c_str()), 0);
    const Status gone = fs_->DeleteTree(E("tree/top"));
    EXPECT_TRUE(gone.ok()) << gone.ToString();
  }
  EXPECT_FALSE(Exists(dir_.Sub("tree/top")));
  EXPECT_EQ(static_cast<int>(HostNames("/proc/self/fd").size()), in_use);
  EXPECT_EQ(Outside(), "kept.txt=outside,");
}

TEST_F(DeletionTest, OverwriteLevels) {
  // A known pattern across more than one block, so that no byte of it may survive a pass.
  std::string known(3 * 1024 * 1024 + 123, '\0');
  for (std::size_t i = 0; i < known.size(); ++i) known[i] = static_cast<char>('a' + i % 26);
  struct Case {
    const char* what;
    int level;
    std::function<void(const std::string& host)> make;
    int code;
    std::function<void(const std::string& host)> check;  // the entry afterwards
  };
  auto plain = [&](const std::string& host) { WriteFile(host, known); };
  auto read_only = [&](const std::string& host) {
    WriteFile(host, known);
    chmod(host.c_str(), 0444);
  };
  auto random_of_same_length = [&](const std::string& host) {
    const std::string after = ReadFile(host);
    ASSERT_EQ(after.size(), known.size());
    std::size_t same = 0;
    for (std::size_t i = 0; i < after.size(); ++i) same += after[i] == known[i];
    EXPECT_LT(same, known.size() / 128);  // about 1 in 256 by chance
  };
  auto empty = [](const std::string& host) {
    EXPECT_EQ(ReadFile(host), "");
    struct stat st {};
    ASSERT_EQ(stat(host.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);  // read-only cleared, and it stays cleared
  };
  auto unchanged = [&](const std::string& host) { EXPECT_EQ(ReadFile(host), known); };
  const std::vector<Case> cases = {
      {"level 1", 1, plain, 0, random_of_same_length},
      {"level 2", 2, plain, 0, empty},
      {"level 3", 3, read_only, 0, empty},
      {"level 1 of a read-only file", 1, read_only, 0, random_of_same_length},
      {"a link", 3, [&](const std::string& host) { symlink(dir_.Sub("outside/kept.txt").c_str(), host.c_str()); },
       ELOOP, [](const std::string&) {}},
      {"a directory", 3, [](const std::string& host) { mkdir(host.c_str(), 0755); }, EISDIR,
       [](const std::string& host) { EXPECT_TRUE(Exists(host)); }},
      {"a file with another name", 2,
       [&](const std::string& host) {
         WriteFile(host, known);
         link(host.c_str(), (host + ".also").c_str());
       },
       EMLINK, unchanged},
      {"no such level", 4, plain, EINVAL, unchanged},
  };
  const ConfinedScope confined(*fs_, {E("tree")});
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "file" + std::to_string(n++);
    const std::string host = dir_.Sub("tree/" + name);
    c.make(host);
    EXPECT_EQ(fs_->Overwrite(E("tree/" + name), c.level).code(), c.code);
    c.check(host);
    EXPECT_EQ(Outside(), "kept.txt=outside,");
  }
}

}  // namespace
}  // namespace morva
