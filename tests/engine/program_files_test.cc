// The program's own directory and files inside the converted tree are never targets: a run passes them
// over, counts them, and leaves them, and the directories holding them, as they were.
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/test_util.h"
#include "common/start_conversion.h"
#include "engine/program_files.h"
#include "log/log_journal.h"
#include "log/log_trim.h"
#include "log/log_writer.h"
#include "settings/preset_file.h"
#include "settings/settings_file.h"

namespace morva {
namespace {

using testing::Exists;
using testing::ReadFile;

TEST(ProgramFileNamesTest, NameEveryFileTheProgramKeeps) {
  std::vector<std::string_view> kept = {kSettingsFileName, kLogFileName, kLogJournalFileName, kLogTrimFileName};
  for (PresetKind kind : {PresetKind::kJob, PresetKind::kStatement, PresetKind::kReplacement}) {
    kept.push_back(PresetFileName(kind));
  }
  for (std::string_view name : kept) {
    EXPECT_NE(std::find(kProgramFileNames.begin(), kProgramFileNames.end(), name), kProgramFileNames.end()) << name;
  }
}

class ProgramFilesRunTest : public testing::EngineFixture {
 protected:
  // The tree `root` (below the temporary directory): the program directory cfg/morva with its settings,
  // a preset, and a log holding an earlier run; a file of the log's name elsewhere; a hard link of the
  // settings file; an ordinary file.
  void MakeTree(const std::string& root) {
    MakeDir(root);
    MakeDir(root + "/cfg");
    MakeDir(root + "/cfg/morva");
    MakeDir(root + "/other");
    MakeFile(root + "/cfg/morva/morva.dat", "settings");
    MakeFile(root + "/cfg/morva/morvaset.dat", "presets");
    MakeFile(root + "/cfg/morva/mvlogs.txt", "earlier runs\r\n");
    MakeFile(root + "/cfg/keep.txt", "k");
    MakeFile(root + "/other/mvlogs.txt", "not the log");
    ASSERT_EQ(link(dir.Sub(root + "/cfg/morva/morva.dat").c_str(), dir.Sub(root + "/settings-link").c_str()), 0);
    session.host.program_directory = E(dir.Sub(root + "/cfg/morva"));
  }
};

TEST_F(ProgramFilesRunTest, PassedOverCountedAndUntouched) {
  enum Job { kRename, kDelete, kReadOnly };
  struct Case {
    const char* what;
    Job job;
    bool list;                     // list mode naming program entries, else the whole tree recursively
    std::size_t passed_over;
    std::vector<std::string> gone;  // what the job was allowed to take (renamed or deleted)
  };
  const std::vector<Case> cases = {
      {"rename the tree", kRename, false, 3, {"other/mvlogs.txt", "cfg/keep.txt", "other"}},
      {"delete the tree", kDelete, false, 3, {"other/mvlogs.txt", "cfg/keep.txt", "other"}},
      {"make the tree read-only", kReadOnly, false, 3, {}},
      {"rename a list", kRename, true, 5, {"other/mvlogs.txt"}},
      {"delete a list", kDelete, true, 5, {"other/mvlogs.txt"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string root = "case" + std::to_string(n++);
    auto at = [&](const std::string& rel) { return dir.Sub(root + "/" + rel); };
    MakeTree(root);
    session.job.settings = ConversionSettings();
    session.job.app.dirfil[0] = E(dir.Sub(root));
    session.job.app.sw_set[AppSettings::kSetRecurse] = true;
    session.job.app.sw_set[AppSettings::kSetDirectories] = true;
    if (c.job == kRename) {
      session.job.settings.sw_fnm = 1;
      session.job.settings.fnm_ipn_sel = 1;
      session.job.settings.fnm_ipn2 = 1;
    } else if (c.job == kDelete) {
      session.job.settings.sw_del = {true, true, false};
    } else {
      session.job.settings.sw_atr[0] = true;
      session.job.settings.atr_onb = 1;
    }
    session.job.app.set_0 = c.list ? 2 : 1;
    session.job.app.list_items = {E(at("cfg/morva/mvlogs.txt")), E(at("cfg/morva/morvaset.dat")),
                     E(at("settings-link")),        E(at("cfg/morva")),
                     E(at("cfg")),                  E(at("other/mvlogs.txt"))};

    const ConversionResult result = StartConversion(session, RunMode::kRun, false);
    ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(result.program_entries, c.passed_over);
    EXPECT_EQ(result.counters.full_failure, 0);
    EXPECT_EQ(ReadFile(at("cfg/morva/morva.dat")), "settings");
    EXPECT_EQ(ReadFile(at("cfg/morva/morvaset.dat")), "presets");
    EXPECT_EQ(ReadFile(at("settings-link")), "settings");
    EXPECT_EQ(ReadFile(at("cfg/morva/mvlogs.txt")).rfind("earlier runs\r\n", 0), 0u);
    EXPECT_TRUE(Exists(at("cfg/morva/mvlogs.jnl")));
    struct stat st {};
    ASSERT_EQ(stat(at("cfg/morva/mvlogs.txt").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);
    ASSERT_EQ(stat(at("cfg/morva/morva.dat").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);
    for (const char* rel : {"cfg/keep.txt", "other/mvlogs.txt", "other"}) {
      const bool gone = std::find(c.gone.begin(), c.gone.end(), rel) != c.gone.end();
      EXPECT_EQ(Exists(at(rel)), !gone) << rel;
    }
  }
}

}  // namespace
}  // namespace morva
