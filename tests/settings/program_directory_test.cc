// Where the settings live: beside the executable in a build tree, under the user's configuration
// directory for an installed program or one whose directory the user may not write.
#include "settings/program_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_util.h"

namespace morva {
namespace {

using testing::TempDir;

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TEST(ProgramDirectoryTest, BesideTheExecutableOnlyWhereAnInstalledProgramWouldNeverWrite) {
  TempDir root;
  ASSERT_TRUE(root.ok());
  const std::string r = root.path();
  for (const char* d :
       {"/build", "/prefix", "/prefix/bin", "/prefix/share", "/prefix/share/morva", "/locked", "/home"}) {
    ASSERT_EQ(mkdir((r + d).c_str(), 0755), 0) << d;
  }
  ASSERT_EQ(chmod((r + "/locked").c_str(), 0555), 0);

  struct Case {
    const char* name;
    std::string executable_directory, xdg_config_home, home;
    std::string expected;  // empty: no directory can be had
  };
  std::vector<Case> cases = {
      {"build tree", r + "/build", r + "/xdg", r + "/home", r + "/build"},
      {"installed", r + "/prefix/bin", r + "/xdg", r + "/home", r + "/xdg/morva"},
      {"installed, trailing slash", r + "/prefix/bin", r + "/xdg2/", r + "/home", r + "/xdg2/morva"},
      {"no XDG_CONFIG_HOME", r + "/prefix/bin", "", r + "/home", r + "/home/.config/morva"},
      {"relative XDG_CONFIG_HOME is ignored", r + "/prefix/bin", "xdg", r + "/home", r + "/home/.config/morva"},
      {"executable unknown", "", r + "/xdg3", r + "/home", r + "/xdg3/morva"},
      {"no home at all", r + "/prefix/bin", "", "", ""},
  };
  // Root may write anywhere: only another user sees a locked directory as one.
  if (geteuid() != 0) cases.push_back({"not writable", r + "/locked", r + "/xdg4", r + "/home", r + "/xdg4/morva"});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const std::string chosen = ChooseProgramDirectory({c.executable_directory, c.xdg_config_home, c.home}, &error);
    EXPECT_EQ(chosen, c.expected);
    if (c.expected.empty()) {
      EXPECT_FALSE(error.empty());
    } else {
      EXPECT_TRUE(IsDirectory(chosen)) << "created when missing";
    }
  }
  // Nothing was written beside an installed executable.
  EXPECT_FALSE(IsDirectory(r + "/prefix/bin/morva"));
}

TEST(ProgramDirectoryTest, AFileInTheWayIsReportedNotTakenForTheDirectory) {
  TempDir root;
  ASSERT_TRUE(root.ok());
  ASSERT_TRUE(root.WriteFile("xdg", "not a directory"));
  ASSERT_EQ(mkdir((root / "bin").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((root / "share").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((root / "share/morva").c_str(), 0755), 0);
  std::string error;
  EXPECT_EQ(ChooseProgramDirectory({root / "bin", root / "xdg", root / "home"}, &error), "");
  EXPECT_NE(error.find(root / "xdg"), std::string::npos) << error;
}

}  // namespace
}  // namespace morva
