// Runs and undos killed with SIGKILL at chosen moments inside a target's changes: right after an
// attribute change, a change of times, a read-only flag lifted for the moment, or half way through a
// rename that passes through a temporary name. The next plain undo brings the tree back exactly.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "log/log_scan.h"
#include "log/log_writer.h"
#include "platform/file_system_wrapper.h"
#include "platform/move_temporary.h"
#include "undo/undo_from_log.h"

namespace morva {
namespace {

// Kills the process at the `nth` call (from 1) of `op` on a path holding `path_part`: right after the call
// is made, or, for a move with `half_way`, after its first step into the temporary name the file system
// passes through for a case-only rename (the state a kill between the two steps leaves).
class KillingFileSystem : public FileSystemWrapper {
 public:
  KillingFileSystem(FileSystem* target, FsOp op, std::string path_part, int nth, bool half_way)
      : FileSystemWrapper(target), op_(op), path_part_(std::move(path_part)), left_(nth), half_way_(half_way) {}

  Status SetAttributes(std::string_view path, std::uint32_t attributes) override {
    const Status s = FileSystemWrapper::SetAttributes(path, attributes);
    if (Fires(FsOp::kSetAttributes, path)) Die();
    return s;
  }
  Status SetTimes(std::string_view path, const FileTime* creation, const FileTime* access,
                  const FileTime* write) override {
    const Status s = FileSystemWrapper::SetTimes(path, creation, access, write);
    if (Fires(FsOp::kSetTimes, path)) Die();
    return s;
  }
  Status Move(std::string_view from, std::string_view to) override {
    if (half_way_ && Fires(FsOp::kMove, from)) {
      std::string host_from, host_to;
      if (!ToHostPath(from, &host_from).ok() || !ToHostPath(to, &host_to).ok()) _exit(97);
      const std::string temporary = host_to.substr(0, host_to.rfind('/') + 1) + MoveTemporaryName(to);
      if (rename(host_from.c_str(), temporary.c_str()) != 0) _exit(96);
      Die();
    }
    const Status s = FileSystemWrapper::Move(from, to);
    if (!half_way_ && Fires(FsOp::kMove, from)) Die();
    return s;
  }

 private:
  bool Fires(FsOp op, std::string_view path) {
    return op == op_ && path.find(path_part_) != std::string_view::npos && --left_ == 0;
  }
  [[noreturn]] static void Die() {
    raise(SIGKILL);
    _exit(99);
  }

  FsOp op_;
  std::string path_part_;
  int left_;
  bool half_way_;
};

class KilledWorkTest : public testing::EngineFixture {
 protected:
  // Name, settable attributes and last-write time of every entry of the test directory.
  std::map<std::string, std::string> Tree() {
    std::vector<FindData> entries;
    EXPECT_TRUE(fs.FindFiles(E(dir.path()), "*", &entries, nullptr).ok());
    std::map<std::string, std::string> out;
    for (const FindData& e : entries) {
      out[U(e.name)] = std::to_string(e.attributes & kAttrSettable) + " " + std::to_string(e.last_write_time);
    }
    return out;
  }

  // Runs `work` on a session like `session` over a file system that kills the process as told, in a
  // child process that must die by SIGKILL.
  template <typename Work>
  void KilledAt(FsOp op, const std::string& path_part, int nth, bool half_way, Work work) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      KillingFileSystem killing(&fs, op, path_part, nth, half_way);
      Session killed(*codec, killing, ui);
      killed.job.settings = session.job.settings;
      killed.job.app = session.job.app;
      killed.host.program_directory = session.host.program_directory;
      work(killed);
      _exit(98);  // not killed: the waitpid check below fails
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
  }

  LogUndoOutcome PlainUndo(LogUndoResult* result) {
    return UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", result);
  }

  void SetJob(bool name, bool attributes, bool times) {
    ConversionSettings& s = session.job.settings;
    s.sw_fnm = name ? 1 : 0;
    s.sw_atr = {false, false, false, false};
    if (attributes) {
      s.sw_atr[1] = true;  // hidden on
      s.atr_onb = 2;
    }
    s.sw_dtt[1] = times ? 1 : 0;
    s.dtt_date[1].Assign("2000/01/01");
    s.dtt_time[1].Assign("00:00:00");
  }

  void MakeTree(bool read_only_b) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      MakeFile(name, name);
      SetLocalMtime(name, 2011, 12, 13, 14, 15, 16, 170000000);
    }
    if (read_only_b) {
      ASSERT_TRUE(fs.SetAttributes(E(dir.Sub("b.txt")), kAttrReadOnly).ok());
    }
  }
};

TEST_F(KilledWorkTest, ARunKilledInsideATargetsChangesIsUndoneExactly) {
  struct Case {
    const char* what;
    bool name, attributes, times, read_only_b;
    FsOp op;
    const char* path_part;  // of the call that is killed: b.txt as the run has renamed it by then
    bool half_way;
  };
  const std::vector<Case> cases = {
      {"killed right after an attribute change", true, true, false, false, FsOp::kSetAttributes, "B.txt", false},
      {"killed right after a change of times", true, false, true, false, FsOp::kSetTimes, "B.txt", false},
      {"killed with read-only lifted for the times", false, false, true, true, FsOp::kSetAttributes, "b.txt", false},
      {"killed half way through a case-only rename", true, false, false, false, FsOp::kMove, "b.txt", true},
      {"killed half way through a rename, times to come", true, false, true, false, FsOp::kMove, "b.txt", true},
  };
  ui.default_answer = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir fresh_home;
    session.host.program_directory = E(fresh_home.path());
    for (const char* name : {"a.txt", "b.txt", "c.txt", "A.txt", "B.txt", "C.txt"}) unlink(dir.Sub(name).c_str());
    MakeTree(c.read_only_b);
    SetJob(c.name, c.attributes, c.times);
    const std::map<std::string, std::string> before = Tree();

    KilledAt(c.op, c.path_part, 1, c.half_way, [](Session& killed) { StartConversion(killed, RunMode::kRun, false); });
    EXPECT_NE(Tree(), before);

    LogUndoResult result;
    ASSERT_EQ(PlainUndo(&result), LogUndoOutcome::kUndone);
    EXPECT_TRUE(result.undo.ok);
    EXPECT_EQ(Tree(), before);
    fs.SetAttributes(E(dir.Sub("b.txt")), 0).IgnoreError();  // for the next case, whatever this one left
  }
}

// An undo killed part way leaves its run half undone: the run is not shown undone, and the next plain
// undo goes on with it (passing over the names already back) rather than undoing the run before it.
TEST_F(KilledWorkTest, AnUndoKilledPartWayIsFinishedByTheNextPlainUndo) {
  struct Case {
    const char* what;
    bool times, read_only_b;
    FsOp op;
    const char* path_part;
    int nth;
    bool half_way;
  };
  const std::vector<Case> cases = {
      {"killed after its first rename", false, false, FsOp::kMove, ".txt", 1, false},
      {"killed half way through a case-only rename", false, false, FsOp::kMove, ".txt", 2, true},
      {"killed with read-only lifted for the times", true, true, FsOp::kSetAttributes, "B.txt", 1, false},
  };
  ui.default_answer = true;
  testing::TempDir other;  // the run before: a plain undo must not take it
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir fresh_home;
    session.host.program_directory = E(fresh_home.path());
    for (const char* name : {"a.txt", "b.txt", "c.txt", "A.txt", "B.txt", "C.txt"}) unlink(dir.Sub(name).c_str());
    unlink(other.Sub("X.txt").c_str());
    ASSERT_TRUE(other.WriteFile("x.txt", "x"));
    SetJob(true, false, c.times);
    session.job.app.dirfil[0] = E(other.path());
    ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
    session.job.app.dirfil[0] = E(dir.path());
    MakeTree(c.read_only_b);
    const std::map<std::string, std::string> before = Tree();
    ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
    const std::string run_id = session.log.run_id;

    KilledAt(c.op, c.path_part, c.nth, c.half_way, [&run_id](Session& killed) {
      LogUndoResult killed_result;
      UndoFromLog(killed.log_context(), &killed.undo, LogPath(killed.host), run_id, &killed_result);
    });
    std::vector<LoggedRun> runs;
    ASSERT_EQ(ScanRuns(fs, *codec, LogPath(session.host), &runs), 2);
    EXPECT_FALSE(runs[1].undone);

    LogUndoResult result;
    ASSERT_EQ(PlainUndo(&result), LogUndoOutcome::kUndone);
    EXPECT_TRUE(result.undo.ok);
    EXPECT_EQ(Tree(), before);
    EXPECT_TRUE(testing::Exists(other.Sub("X.txt")));
    ASSERT_EQ(ScanRuns(fs, *codec, LogPath(session.host), &runs), 2);
    EXPECT_TRUE(runs[1].undone);
    EXPECT_FALSE(runs[0].undone);
    fs.SetAttributes(E(dir.Sub("b.txt")), 0).IgnoreError();  // for the next case, whatever this one left
  }
}

}  // namespace
}  // namespace morva
