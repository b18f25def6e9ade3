// A copy whose destination is its own source, under any path, is refused and leaves the source whole.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

class CopyOntoSourceTest : public testing::HostFixture {};

TEST_F(CopyOntoSourceTest, RefusedUnderEveryPathAndTheSourceStays) {
  struct Case {
    const char* what;
    const char* to;    // below the temporary directory
    bool hard_link;    // `to` is made a hard link of the source first
    bool overwrite;
    bool confined;     // the work's roots are declared, as in a run
  };
  const Case cases[] = {
      {"same path", "tree/a.txt", false, true, false},
      {"same path, no overwrite", "tree/a.txt", false, false, false},
      {"same path, confined", "tree/a.txt", false, true, true},
      {"through a link to the directory", "link/a.txt", false, true, false},
      {"through a link to the directory, confined", "link/a.txt", false, true, true},
      {"through dots", "tree/../tree/a.txt", false, true, false},
      {"hard link", "out/b.txt", true, true, false},
      {"hard link, confined", "out/b.txt", true, true, true},
  };
  const std::string kData = "the only copy of these bytes";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const testing::TempDir d;
    auto E = [&](const std::string& name) { return testing::EnginePath(codec_.get(), d / name); };
    ASSERT_EQ(mkdir((d / "tree").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((d / "out").c_str(), 0755), 0);
    ASSERT_EQ(symlink((d / "tree").c_str(), (d / "link").c_str()), 0);
    WriteFile(d / "tree/a.txt", kData);
    if (c.hard_link) {
      ASSERT_EQ(link((d / "tree/a.txt").c_str(), (d / c.to).c_str()), 0);
    }
    struct stat before {};
    ASSERT_EQ(stat((d / "tree/a.txt").c_str(), &before), 0);

    Status s;
    if (c.confined) {
      const ConfinedScope confined(*fs_, {E("tree"), E(c.to[0] == 'l' ? "link" : "out")});
      s = fs_->Copy(E("tree/a.txt"), E(c.to), c.overwrite);
    } else {
      s = fs_->Copy(E("tree/a.txt"), E(c.to), c.overwrite);
    }
    EXPECT_EQ(s.code(), EINVAL) << s.ToString();
    struct stat after {};
    ASSERT_EQ(stat((d / "tree/a.txt").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(ReadFile(d / "tree/a.txt"), kData);
    EXPECT_EQ(ReadFile(d / c.to), kData);
    EXPECT_EQ(HostNames(d / "tree"), std::vector<std::string>{"a.txt"});
  }

  // Another file with the same contents is an ordinary destination.
  WriteFile(dir_ / "a", kData);
  WriteFile(dir_ / "a.txt", kData);
  EXPECT_TRUE(fs_->Copy(E("a"), E("a.txt"), true).ok());
}

}  // namespace
}  // namespace morva
