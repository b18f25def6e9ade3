// Declared roots: below them no call follows a symbolic link, so a directory swapped for a link after it
// was listed cannot take an operation outside the tree.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/test_trash.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/posix_confinement.h"

namespace morva {
namespace {

using testing::Exists;
using testing::HostNames;
using testing::ReadFile;
using testing::WriteFile;

class ConfinementTest : public testing::HostFixture {
 protected:
  // Builds, below `base` (relative to the temporary directory), a tree with the directories a and b and
  // a directory outside it, and names the tree through a link of the person's own ("mine"), which is
  // followed. Returns the host path of `base`.
  std::string Build(const std::string& base) {
    for (const char* d : {"", "/tree", "/tree/a", "/tree/a/sub", "/tree/b", "/tree/b/sub", "/outside", "/outside/sub"}) {
      EXPECT_EQ(mkdir(dir_.Sub(base + d).c_str(), 0755), 0) << d;
    }
    for (const char* f : {"/tree/src.txt", "/tree/a/f.txt", "/tree/b/f.txt", "/outside/f.txt"}) {
      WriteFile(dir_.Sub(base + f), f);
    }
    EXPECT_EQ(symlink("tree", dir_.Sub(base + "/mine").c_str()), 0);
    return dir_.Sub(base);
  }

  // Everything outside the tree, names and contents, to tell that nothing there changed.
  static std::string OutsideState(const std::string& base) {
    struct stat st {};
    lstat((base + "/outside/f.txt").c_str(), &st);
    std::string state;
    for (const std::string& name : HostNames(base + "/outside")) state += name + ",";
    for (const std::string& name : HostNames(base + "/outside/sub")) state += "sub/" + name + ",";
    return state + ReadFile(base + "/outside/f.txt") + "," + std::to_string(st.st_mode & 07777) + "," +
           std::to_string(st.st_mtim.tv_sec);
  }

  // Swaps tree/b for a link to the outside directory, as another user could in the middle of a run.
  static void SwapB(const std::string& base) {
    ASSERT_EQ(rename((base + "/tree/b").c_str(), (base + "/tree/b.real").c_str()), 0);
    ASSERT_EQ(symlink((base + "/outside").c_str(), (base + "/tree/b").c_str()), 0);
  }
};

TEST_F(ConfinementTest, NoCallBelowARootFollowsALinkSwappedIn) {
  const FileTime when = 130000000000000000ULL;
  struct Case {
    const char* what;
    // `mine` is the engine path of the tree as the person names it, `d` that of mine\a or mine\b.
    std::function<Status(const std::string& mine, const std::string& d)> call;
  };
  const std::vector<Case> cases = {
      {"move", [&](auto&, auto& d) { return fs_->Move(d + "\\f.txt", d + "\\g.txt"); }},
      {"move out", [&](auto& mine, auto& d) { return fs_->Move(d + "\\f.txt", mine + "\\moved.txt"); }},
      {"copy from", [&](auto& mine, auto& d) { return fs_->Copy(d + "\\f.txt", mine + "\\copy.txt", false); }},
      {"copy into", [&](auto& mine, auto& d) { return fs_->Copy(mine + "\\src.txt", d + "\\c.txt", false); }},
      {"copy over", [&](auto& mine, auto& d) { return fs_->Copy(mine + "\\src.txt", d + "\\f.txt", true); }},
      {"attributes", [&](auto&, auto& d) { return fs_->SetAttributes(d + "\\f.txt", kAttrReadOnly | kAttrHidden); }},
      {"times", [&](auto&, auto& d) { return fs_->SetTimes(d + "\\f.txt", &when, &when, &when); }},
      {"mkdir", [&](auto&, auto& d) { return fs_->CreateDirectory(d + "\\new"); }},
      {"stat", [&](auto&, auto& d) {
         FindData data;
         return fs_->Stat(d + "\\f.txt", &data);
       }},
      {"list", [&](auto&, auto& d) {
         std::vector<FindData> entries;
         return fs_->FindFiles(d, "*.*", &entries, nullptr);
       }},
      {"list below", [&](auto&, auto& d) {
         std::vector<FindData> entries;
         return fs_->FindFiles(d + "\\sub", "*.*", &entries, nullptr);
       }},
      {"read", [&](auto&, auto& d) {
         std::unique_ptr<ReadableFile> file;
         return fs_->OpenRead(d + "\\f.txt", &file);
       }},
      {"trash", [&](auto&, auto& d) { return fs_->Trash(d + "\\f.txt"); }},
      {"delete", [&](auto&, auto& d) { return fs_->DeleteTree(d + "\\sub"); }},
      {"overwrite", [&](auto&, auto& d) { return fs_->Overwrite(d + "\\f.txt", 1); }},
  };
  ASSERT_FALSE(testing::TestTrash().empty());  // the trash of this test program, not the person's
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string base = Build(c.what);
    const std::string mine = E(std::string(c.what) + "/mine");
    const ConfinedScope confined(*fs_, {mine});
    const std::string before = OutsideState(base);
    // The directory nobody swapped still works, reached through the person's own link.
    const Status in_a = c.call(mine, mine + "\\a");
    if (in_a.code() == ENOTSUP) continue;  // no user extended attributes in /tmp for hidden and creation time
    EXPECT_TRUE(in_a.ok()) << in_a.ToString();
    SwapB(base);
    EXPECT_EQ(c.call(mine, mine + "\\b").code(), ELOOP);
    EXPECT_EQ(OutsideState(base), before);
    EXPECT_EQ(HostNames(base + "/tree/b.real"), (std::vector<std::string>{"f.txt", "sub"}));
    EXPECT_EQ(ReadFile(base + "/tree/b.real/f.txt"), "/tree/b/f.txt");
  }
}

TEST_F(ConfinementTest, ALinkInTheLastPlaceIsActedOnItselfAndARootMustStayPut) {
  const std::string base = Build("x");
  ASSERT_EQ(symlink((base + "/outside/f.txt").c_str(), (base + "/tree/a/link").c_str()), 0);
  {
    const ConfinedScope confined(*fs_, {E("x/mine")});
    const std::string before = OutsideState(base);
    EXPECT_EQ(fs_->Copy(E("x/mine/a/link"), E("x/mine/a/copy"), false).code(), ELOOP);
    EXPECT_EQ(fs_->SetAttributes(E("x/mine/a/link"), kAttrReadOnly).code(), ENOTSUP);
    ASSERT_TRUE(fs_->Move(E("x/mine/a/link"), E("x/mine/a/LINK")).ok());
    EXPECT_EQ(OutsideState(base), before);
    struct stat st {};
    ASSERT_EQ(lstat((base + "/tree/a/LINK").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    // The root itself is swapped: it is no longer the directory the work started in.
    ASSERT_EQ(rename((base + "/tree").c_str(), (base + "/tree.real").c_str()), 0);
    ASSERT_EQ(symlink("outside", (base + "/tree").c_str()), 0);
    EXPECT_EQ(fs_->Move(E("x/mine/f.txt"), E("x/mine/g.txt")).code(), EXDEV);
    EXPECT_EQ(OutsideState(base), before);
  }
  // Without roots the path is taken as it stands.
  FindData data;
  EXPECT_TRUE(fs_->Stat(E("x/mine/f.txt"), &data).ok());
}

// openat2 and the walk of single opens that stands in for it where the kernel lacks it agree.
TEST_F(ConfinementTest, BothWaysBelowARootRefuseLinksAndClimbs) {
  const std::string base = Build("x");
  ASSERT_EQ(mkdir((base + "/tree/a/deep").c_str(), 0755), 0);
  ASSERT_EQ(symlink("a", (base + "/tree/la").c_str()), 0);
  posix::ScopedFd root(open((base + "/tree").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  ASSERT_TRUE(root.valid());
  struct Case {
    const char* relative;
    int code;
  };
  const std::vector<Case> cases = {
      {"a", 0}, {"a/deep", 0}, {"a/./deep", 0}, {"la", ELOOP}, {"la/deep", ELOOP},
      {"a/f.txt", ENOTDIR}, {"missing", ENOENT}, {"..", EXDEV}, {"a/../../tree", EXDEV},
  };
  for (const Case& c : cases) {
    for (auto open_below : {&posix::OpenBeneath, &posix::WalkBeneath}) {
      SCOPED_TRACE(std::string(c.relative) + (open_below == &posix::WalkBeneath ? " (walk)" : ""));
      posix::ScopedFd fd;
      EXPECT_EQ(open_below(root.get(), c.relative, &fd).code(), c.code);
      EXPECT_EQ(fd.valid(), c.code == 0);
    }
  }
}

}  // namespace
}  // namespace morva
