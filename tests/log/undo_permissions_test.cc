// An undo of a run that made files read-only gives back their write permission: exactly the bits the run
// took when the undo has the run in memory, and those a new file would get when it reads the run from
// the log, whose attribute letters do not tell them.

#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "undo/undo_run.h"

namespace morva {
namespace {

class UndoPermissionsTest : public testing::EngineFixture {
 protected:
  mode_t ModeOf(const std::string& rel) {
    struct stat st {};
    EXPECT_EQ(lstat(dir.Sub(rel).c_str(), &st), 0) << rel;
    return st.st_mode & 07777;
  }
};

TEST_F(UndoPermissionsTest, ReadOnlyUndoneGivesBackTheWriteBits) {
  const mode_t old_umask = umask(002);
  const struct {
    mode_t before;
    mode_t from_log;  // after an undo from the log, under umask 002
  } cases[] = {
      {0664, 0664}, {0644, 0664}, {0666, 0664}, {0600, 0600}, {0620, 0600}, {0640, 0660}, {0755, 0775},
  };
  for (const auto& c : cases) {
    const std::string name = "f" + std::to_string(c.before) + ".txt";
    SCOPED_TRACE(name);
    MakeFile(name, "data");
    ASSERT_EQ(chmod(dir.Sub(name).c_str(), c.before), 0);
  }
  session.job.settings.sw_fnm = 0;
  session.job.settings.sw_atr[0] = true;  // read-only on
  session.job.settings.atr_onb = 1;
  ui.messages.clear();
  ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  for (const auto& c : cases) {
    EXPECT_EQ(ModeOf("f" + std::to_string(c.before) + ".txt"), c.before & 0555) << c.before;
  }

  // The undo of the run in memory.
  ASSERT_EQ(session.undo.size(), std::size(cases));
  const UndoList run_records = session.undo;
  EXPECT_TRUE(UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09").ok);
  for (const auto& c : cases) EXPECT_EQ(ModeOf("f" + std::to_string(c.before) + ".txt"), c.before) << c.before;

  // The same records as the log gives them back: letters only.
  for (const auto& c : cases) ASSERT_EQ(chmod(dir.Sub("f" + std::to_string(c.before) + ".txt").c_str(), c.before & 0555), 0);
  for (UndoRecord record : run_records.records()) {
    record.write_bits = 0;
    session.undo.Push(record);
  }
  EXPECT_TRUE(UndoRun(session.log_context(), &session.undo, true, "2024/05/06 07:08:10").ok);
  for (const auto& c : cases) EXPECT_EQ(ModeOf("f" + std::to_string(c.before) + ".txt"), c.from_log) << c.before;
  umask(old_umask);
}

}  // namespace
}  // namespace morva
