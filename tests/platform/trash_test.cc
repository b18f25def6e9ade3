// Deletion into the freedesktop.org trash on real trees and mounts: which trash takes an entry, what its
// .trashinfo says, and that an entry goes from the directory the work found it in.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <regex>
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
using testing::TestMount;
using testing::TestTrash;
using testing::Trashed;
using testing::WriteFile;

class TrashTest : public testing::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    ASSERT_FALSE(TestTrash().empty());
  }

  void MakeDir(const std::string& name) { ASSERT_EQ(mkdir(dir_.Sub(name).c_str(), 0755), 0); }

  static std::string Uid() { return std::to_string(getuid()); }
};

// The .trashinfo of `name` in the trash directory `trash`, checked for its form; its Path= value.
std::string InfoPath(const std::string& trash, const std::string& name) {
  const std::string info = ReadFile(trash + "/info/" + name + ".trashinfo");
  std::smatch m;
  static const std::regex kForm("\\[Trash Info\\]\nPath=([^\n]+)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
  if (!std::regex_match(info, m, kForm)) return "malformed: " + info;
  return m[1];
}

TEST_F(TrashTest, AnEntryGoesFromTheDirectoryTheWorkFoundAndItsInfoNamesWhereThatIs) {
  struct Case {
    const char* what;
    // Done to tree/d after the work has reached it and before the trash call.
    std::function<void(const std::string& dir)> change;  // `dir` holds tree/ and outside/
    const char* at_d;  // what tree/d/f.txt holds afterwards: what took the directory's name keeps it
  };
  const std::vector<Case> cases = {
      {"directory left alone", [](const std::string&) {}, nullptr},
      {"directory renamed, another in its place",
       [](const std::string& dir) {
         ASSERT_EQ(rename((dir + "/tree/d").c_str(), (dir + "/tree/d.real").c_str()), 0);
         ASSERT_EQ(mkdir((dir + "/tree/d").c_str(), 0755), 0);
         WriteFile(dir + "/tree/d/f.txt", "newcomer");
       },
       "newcomer"},
      {"directory swapped for a link outside",
       [](const std::string& dir) { ASSERT_TRUE(testing::SwapForLink(dir + "/tree/d", dir + "/outside")); },
       "outside"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A place of its own for each case: the test trash keeps what every case put there.
    const std::string place = "case" + std::to_string(n++);
    MakeDir(place);
    for (const char* name : {"/tree", "/outside", "/tree/d"}) MakeDir(place + name);
    const std::string dir = dir_.Sub(place);
    WriteFile(dir + "/tree/d/f.txt", "tree");
    WriteFile(dir + "/outside/f.txt", "outside");
    {
      const ConfinedScope confined(*fs_, {E(place + "/tree")});
      FindData data;
      ASSERT_TRUE(fs_->Stat(E(place + "/tree/d/f.txt"), &data).ok());
      c.change(dir);
      const Status s = fs_->Trash(E(place + "/tree/d/f.txt"));
      ASSERT_TRUE(s.ok()) << s.ToString();
    }
    // The entry went from where its directory is now, and its .trashinfo says so.
    const std::string original = dir + (c.at_d == nullptr ? "/tree/d/f.txt" : "/tree/d.real/f.txt");
    EXPECT_FALSE(Exists(original));
    EXPECT_EQ(ReadFile(Trashed(original)), "tree");
    EXPECT_EQ(ReadFile(dir + "/outside/f.txt"), "outside");
    if (c.at_d != nullptr) {
      EXPECT_EQ(ReadFile(dir + "/tree/d/f.txt"), c.at_d);
      EXPECT_EQ(Trashed(dir + "/tree/d/f.txt"), "");
    }
  }
}

TEST_F(TrashTest, EntriesOfOneNameGetNamesOfTheirOwnAndAPercentEncodedPath) {
  MakeDir("tree");
  const std::vector<std::string> dirs = {"tree/a", "tree/b c%", "tree/日本"};
  for (const std::string& d : dirs) {
    MakeDir(d);
    WriteFile(dir_.Sub(d + "/same name.txt"), d);
  }
  const ConfinedScope confined(*fs_, {E("tree")});
  for (const std::string& d : dirs) {
    const Status s = fs_->Trash(E(d + "/same name.txt"));
    ASSERT_TRUE(s.ok()) << s.ToString();
  }
  std::vector<std::string> paths;
  for (const std::string& d : dirs) {
    const std::string trashed = Trashed(dir_.Sub(d + "/same name.txt"));
    ASSERT_NE(trashed, "") << d;
    EXPECT_EQ(ReadFile(trashed), d);
    paths.push_back(InfoPath(TestTrash(), std::string(trashed.substr(trashed.rfind('/') + 1))));
  }
  const std::string tree = dir_.Sub("tree");
  EXPECT_EQ(paths, (std::vector<std::string>{tree + "/a/same%20name.txt", tree + "/b%20c%25/same%20name.txt",
                                             tree + "/%E6%97%A5%E6%9C%AC/same%20name.txt"}));
}

TEST_F(TrashTest, AnotherMountsEntriesGoToTheTrashAtItsTopOrStay) {
  const std::string uid = Uid();
  struct Case {
    const char* what;
    bool tmpfs;                                        // a fresh tmpfs, else a bind mount of a directory
    std::function<void(const std::string& top)> make;  // prepares the top of the mount
    std::string trash;                                 // where the entry goes, relative to the top; empty: stays
  };
  auto nothing = [](const std::string&) {};
  auto shared = [](mode_t mode) {
    return [mode](const std::string& top) {
      ASSERT_EQ(mkdir((top + "/.Trash").c_str(), 0755), 0);
      ASSERT_EQ(chmod((top + "/.Trash").c_str(), mode), 0);
    };
  };
  const std::string own = ".Trash-" + uid;
  const std::vector<Case> cases = {
      {"nothing there: a trash of this user's is made", false, nothing, own},
      {"sticky .Trash: this user's directory in it", false, shared(01777), ".Trash/" + uid},
      {".Trash without the sticky bit is not used", false, shared(0777), own},
      {".Trash a link to a sticky directory is not used", false,
       [](const std::string& top) {
         ASSERT_EQ(mkdir((top + "/elsewhere").c_str(), 01777), 0);
         ASSERT_EQ(chmod((top + "/elsewhere").c_str(), 01777), 0);
         ASSERT_EQ(symlink("elsewhere", (top + "/.Trash").c_str()), 0);
       },
       own},
      {"this user's trash is a file", false, [own](const std::string& top) { WriteFile(top + "/" + own, "x"); },
       ""},
      {"tmpfs: no trash is made", true, nothing, ""},
      {"tmpfs with a trash made already", true,
       [own](const std::string& top) { ASSERT_EQ(mkdir((top + "/" + own).c_str(), 0700), 0); }, own},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "case" + std::to_string(n++);
    MakeDir(name);
    MakeDir(name + "/source");
    MakeDir(name + "/top");
    const std::string top = dir_.Sub(name + "/top");
    TestMount mount = c.tmpfs ? TestMount::Tmpfs(top) : TestMount::Bind(dir_.Sub(name + "/source"), top);
    if (!mount.ok()) GTEST_SKIP() << mount.why();
    if (!c.tmpfs && testing::OnTmpfs(top)) GTEST_SKIP() << "the temporary directory is on a tmpfs";
    c.make(top);
    ASSERT_EQ(mkdir((top + "/sub").c_str(), 0755), 0);
    WriteFile(top + "/sub/x y", "data");
    const std::vector<std::string> before = HostNames(top);

    const ConfinedScope confined(*fs_, {E(name + "/top")});
    const Status probe = fs_->ProbeDeletion(E(name + "/top/sub/x y"), true);
    EXPECT_EQ(HostNames(top), before) << "the probe created something";
    const Status s = fs_->Trash(E(name + "/top/sub/x y"));
    EXPECT_EQ(probe.code(), s.code()) << probe.ToString() << " / " << s.ToString();
    if (c.trash.empty()) {
      EXPECT_EQ(s.code(), ENOTSUP) << s.ToString();
      EXPECT_EQ(ReadFile(top + "/sub/x y"), "data");
      EXPECT_EQ(HostNames(top), before);
      continue;
    }
    ASSERT_TRUE(s.ok()) << s.ToString();
    const std::string trash = top + "/" + c.trash;
    EXPECT_EQ(ReadFile(trash + "/files/x y"), "data");
    EXPECT_EQ(InfoPath(trash, "x y"), "sub/x%20y");  // relative to the top of the mount
    struct stat st {};
    ASSERT_EQ(lstat(trash.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, getuid());
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    // Nothing went to the home trash.
    EXPECT_EQ(Trashed(top + "/sub/x y"), "");
  }
}

}  // namespace
}  // namespace morva
