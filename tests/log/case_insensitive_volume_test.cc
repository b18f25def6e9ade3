// Runs and undos on a FAT file system, which ignores letter case: a change of case alone is a real
// rename there, and a name another entry holds in other case is refused without losing either file.
#include <cerrno>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/fat_mount.h"
#include "common/start_conversion.h"
#include "log/log_writer.h"
#include "undo/undo_from_log.h"
#include "undo/undo_run.h"

namespace morva {
namespace {

using testing::ReadFile;

class CaseInsensitiveVolumeTest : public testing::EngineFixture {
 protected:
  // Each name in the card's directory with the contents of its file.
  std::map<std::string, std::string> Files() {
    std::map<std::string, std::string> files;
    for (const std::string& name : testing::HostNames(card_)) files[name] = ReadFile(card_ + "/" + name);
    return files;
  }

  // Runs the general rule's case conversion (1 upper, 2 lower) over the card, logged below `log`.
  void RunCase(int which, const std::string& log) {
    session.job.settings.sw_fnm = 1;
    session.job.settings.fnm_ipn2 = static_cast<std::int16_t>(which);
    Run(log);
  }

  void Run(const std::string& log) {
    session.host.program_directory = E(home.Sub(log));
    EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  }

  testing::FatMount fat_;
  std::string card_ = fat_.path();
};

TEST_F(CaseInsensitiveVolumeTest, CaseOnlyRenamesAndUndoAreRealAndTakenNamesAreRefused) {
  if (!fat_.ok()) GTEST_SKIP() << fat_.why();
  testing::WriteFile(card_ + "/abc.txt", "1");
  testing::WriteFile(card_ + "/Other.txt", "2");
  for (const char* log : {"collide", "upper", "lower"}) ASSERT_EQ(mkdir(home.Sub(log).c_str(), 0755), 0);
  session.job.app.dirfil[0] = E(card_);
  const std::string abc = E(card_ + "/abc.txt");

  struct Step {
    const char* what;
    std::function<void()> act;
    std::map<std::string, std::string> files;
    int done;    // targets converted (or put back)
    int failed;  // targets refused
  };
  const std::vector<Step> steps = {
      {"a name another entry holds in other case",
       [&] {
         session.job.settings.sw_fnm = 3;  // replace "abc" by "OTHER": other.txt is Other.txt to FAT
         ASSERT_TRUE(session.job.settings.fnm_ckn1.Assign("abc"));
         ASSERT_TRUE(session.job.settings.fnm_ckn3.Assign("OTHER"));
         Run("collide");
       },
       {{"Other.txt", "2"}, {"abc.txt", "1"}}, 0, 1},
      {"the same by a move", [&] { EXPECT_EQ(fs.Move(abc, E(card_ + "/OTHER.TXT")).code(), EEXIST); },
       {{"Other.txt", "2"}, {"abc.txt", "1"}}, 0, 1},
      {"upper case", [&] { RunCase(1, "upper"); }, {{"ABC.txt", "1"}, {"OTHER.txt", "2"}}, 2, 0},
      {"lower case", [&] { RunCase(2, "lower"); }, {{"abc.txt", "1"}, {"other.txt", "2"}}, 2, 0},
      {"undo of the last run",
       [&] {
         const UndoResult undone = UndoRun(session.log_context(), &session.undo, false, session.log.run_id);
         EXPECT_TRUE(undone.ok);
         session.run.counters = undone.counters;
       },
       {{"ABC.txt", "1"}, {"OTHER.txt", "2"}}, 2, 0},
      {"undo of the first run from the log",
       [&] {
         session.host.program_directory = E(home.Sub("upper"));
         LogUndoResult undone;
         EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", &undone), LogUndoOutcome::kUndone);
         EXPECT_TRUE(undone.undo.ok);
         session.run.counters = undone.undo.counters;
       },
       {{"Other.txt", "2"}, {"abc.txt", "1"}}, 2, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    session.run.counters = RunCounters();
    session.run.counters.full_failure = step.failed;  // a bare move counts nothing
    step.act();
    EXPECT_EQ(Files(), step.files);
    EXPECT_EQ(session.run.counters.full_success, step.done);
    EXPECT_EQ(session.run.counters.full_failure, step.failed);
  }
}

}  // namespace
}  // namespace morva
