// The log held by one process at a time, and what a process killed while holding it leaves behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "fileops/date_time_text.h"
#include "log/log_journal.h"
#include "log/log_scan.h"
#include "log/log_trim.h"
#include "log/log_writer.h"
#include "platform/file_time.h"
#include "undo/undo_from_log.h"

namespace morva {
namespace {

class LogJournalTest : public testing::EngineFixture {
 protected:
  std::string LogFile() { return testing::ReadFile(home.Sub("mvlogs.txt")); }

  // The texts of the log's lines (after their time stamps).
  std::vector<std::string> LogTexts() {
    std::vector<std::string> out;
    const std::string log = LogFile();
    for (std::size_t start = 0; start < log.size();) {
      std::size_t end = log.find('\n', start);
      if (end == std::string::npos) end = log.size();
      out.push_back(end - start > kLogTextOffset ? U(log.substr(start + kLogTextOffset, end - start - kLogTextOffset))
                                                 : log.substr(start, end - start));
      start = end + 1;
    }
    return out;
  }

  // Kills the calling process with SIGKILL, as a person or the system kills a program: no destructor
  // runs, nothing is flushed. Work given to InKilledChild ends with it, inside the scope of its hold.
  [[noreturn]] static void DieNow() {
    raise(SIGKILL);
    _exit(99);
  }

  // Runs `work`, which ends in DieNow(), in a child process.
  template <typename Work>
  void InKilledChild(Work work) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      work();
      _exit(98);  // work that did not kill itself: the waitpid check below fails
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  }
};

TEST_F(LogJournalTest, TheNextHolderSettlesWhatAKilledHolderLeft) {
  struct Case {
    const char* what;
    std::string log_before;   // host bytes of mvlogs.txt before the killed process
    bool note_move;
    bool make_move;
    std::vector<std::string> expected;  // line texts after the next hold
  };
  const std::string dir_line = "ディレクトリ：" + U(E(dir.path()));
  const std::vector<Case> cases = {
      {"lines collected and never written", "", false, false, {"一行目", "二行目"}},
      {"a rename made but not logged", "", true, true,
       {"一行目", "二行目", dir_line, "[○名称変換]  *対象<a.txt> → *名称変換<A.txt>"}},
      {"a rename noted but not made", "", true, false, {"一行目", "二行目"}},
      {"a log whose last line an editor left without a line feed", "2024/01/01 00:00:00  edited", false, false,
       {"edited", "一行目", "二行目"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    unlink(home.Sub("mvlogs.txt").c_str());
    unlink(home.Sub("mvlogs.jnl").c_str());
    unlink(dir.Sub("A.txt").c_str());
    MakeFile("a.txt");
    if (!c.log_before.empty()) testing::WriteFile(home.Sub("mvlogs.txt"), c.log_before);

    InKilledChild([&] {
      LogHold hold(session.log_context());
      LogWriter writer(session.log_context());
      writer.AppendLine(S("一行目"));
      writer.AppendLine(S("二行目"));
      session.run.target.directory = E(dir.path());
      if (c.note_move) {
        TargetInFlight target;
        target.directory = E(dir.path());
        target.path = E(dir.Sub("a.txt"));
        target.new_path = E(dir.Sub("A.txt"));
        target.new_name = "A.txt";
        session.log.journal->NoteTarget(target);
      }
      if (c.make_move) rename(dir.Sub("a.txt").c_str(), dir.Sub("A.txt").c_str());
      DieNow();
    });
    { const LogHold hold(session.log_context()); }
    EXPECT_EQ(LogTexts(), c.expected);
    // Settled once: a second hold adds nothing.
    { const LogHold hold(session.log_context()); }
    EXPECT_EQ(LogTexts(), c.expected);
  }
}

// A holder that cannot write the log when it starts leaves a killed holder's lines in the journal for the
// next one, rather than losing them when the log opens again later.
TEST_F(LogJournalTest, LinesThatCannotBeSettledYetWaitForALaterHolder) {
  InKilledChild([&] {
    LogHold hold(session.log_context());
    LogWriter(session.log_context()).AppendLine(S("一行目"));
    DieNow();
  });
  fs.FailOn(FsOp::kOpenAppend, "mvlogs.txt", EACCES, 1);
  {
    const LogHold hold(session.log_context());
    LogWriter(session.log_context()).AppendLine(S("後の行"));
  }
  EXPECT_EQ(LogTexts(), std::vector<std::string>{"後の行"});
  { const LogHold hold(session.log_context()); }
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{"後の行", "一行目"}));
}

TEST_F(LogJournalTest, ASecondProcessWaitsForTheHolderAndSaysSo) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    {
      LogHold hold(session.log_context());
      LogWriter writer(session.log_context());
      writer.AppendLine(S("先の処理"));
      if (write(ready[1], "x", 1) != 1) _exit(2);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      writer.AppendLine(S("先の処理の終わり"));
    }
    _exit(0);
  }
  close(ready[1]);  // a child that dies early ends the read instead of hanging it
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  {
    const LogHold hold(session.log_context());
    // The whole of the other process's work is in the log before this one gets it.
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"先の処理", "先の処理の終わり"}));
  }
  ASSERT_EQ(ui.wait_notices.size(), 1u);
  EXPECT_EQ(U(ui.wait_notices[0]), "他のMORVAがログを使用中です。終わるまで待っています．．．");
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  close(ready[0]);
}

// Runs are told apart by the second they start in, so two runs of a script never share one.
TEST_F(LogJournalTest, RunsStartedBackToBackHaveTheirOwnIdentifiersAndEachUndoes) {
  MakeFile("a.txt");
  ui.default_answer = true;
  StartConversion(session, RunMode::kRun, false);
  const std::string first = session.log.run_id;
  session.job.settings.fnm_ipn2 = 2;  // lower case
  StartConversion(session, RunMode::kRun, false);
  const std::string second = session.log.run_id;
  ASSERT_EQ(first.size(), 19u);
  EXPECT_NE(first, second);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));

  LogUndoResult result;
  ASSERT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), second, &result), LogUndoOutcome::kUndone);
  EXPECT_TRUE(testing::Exists(dir.Sub("A.txt")));
  ASSERT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), first, &result), LogUndoOutcome::kUndone);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));
  std::vector<LoggedRun> runs;
  ASSERT_EQ(ScanRuns(fs, *codec, LogPath(session.host), &runs), 2);
  EXPECT_TRUE(runs[0].undone && runs[1].undone);
}

// Processes in other time zones, or a clock set back, write stamps of any second into the log. A new
// run's identifier is none the log holds, run or quoted by an undo, and the run does not wait for the
// clock to pass a long stretch of taken seconds.
TEST_F(LogJournalTest, ANewRunNeverTakesAnIdentifierTheLogHolds) {
  // Another process's runs, one a second from a second ago to 30 seconds ahead, an undo quoting the
  // second after those, and a last line of long ago.
  std::string log;
  std::vector<std::string> taken;
  const FileTime now = CurrentFileTime();
  for (int second = -1; second <= 31; ++second) {
    const std::string stamp = LogStampOf(now + static_cast<FileTime>(second) * kTicksPerSecond);
    taken.push_back(stamp);
    if (second == 31) {
      log += stamp + "  " + S("◇ MORVA - Version 6 - 「元に戻す」（" + stamp + "）実行開始 ◇") + "\n";
    } else {
      log += stamp + "  " + S("■ MORVA - Version 6 - 変換実行開始 ■") + "\n" + stamp + "  " + S("変換機能：【大文字変換】") + "\n";
    }
  }
  log += "2001/01/01 00:00:00  " + S("完全成功：0 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：0") + "\n";
  testing::WriteFile(home.Sub("mvlogs.txt"), log);
  MakeFile("a.txt");
  ui.default_answer = true;
  session.job.app.opt_1 = 40;

  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  const std::string id = session.log.run_id;
  CalendarTime stamp;
  EXPECT_TRUE(parse_time_stamp(id, &stamp)) << id;
  EXPECT_EQ(std::count(taken.begin(), taken.end(), id), 0) << id;

  // Its undo marks it alone.
  LogUndoResult result;
  ASSERT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", &result), LogUndoOutcome::kUndone);
  std::vector<LoggedRun> runs;
  ASSERT_EQ(ScanRuns(fs, *codec, LogPath(session.host), &runs), 33);
  EXPECT_EQ(std::count_if(runs.begin(), runs.end(), [](const LoggedRun& r) { return r.undone; }), 1);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));
}

// A run the log could not hold could not be undone from it, and a plain undo would take the run before
// it instead: such a run does not start, unless the person switched the log off.
TEST_F(LogJournalTest, ARunThatCannotBeLoggedDoesNotStart) {
  struct Case {
    const char* what;
    FsOp op;            // the call that fails (kCount: none)
    const char* path;   // a part of its path
    bool missing_home;  // the program directory is not there (a mistyped --home)
    bool log_off;       // SW_OPT[1] "ログを出力しない"
    bool runs;
  };
  const std::vector<Case> cases = {
      {"the journal cannot be created", FsOp::kOpenLockedFile, "mvlogs.jnl", false, false, false},
      {"the log cannot be opened", FsOp::kOpenAppend, "mvlogs.txt", false, false, false},
      {"the log cannot be written", FsOp::kAppend, "mvlogs.txt", false, false, false},
      {"the program directory is missing", FsOp::kCount, "", true, false, false},
      {"the log is switched off", FsOp::kOpenLockedFile, "mvlogs.jnl", false, true, true},
      {"the missing directory with the log switched off", FsOp::kCount, "", true, true, true},
  };
  MakeFile("a.txt");
  ui.default_answer = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs.ClearFaults();
    if (c.op != FsOp::kCount) fs.FailOn(c.op, c.path, ENOSPC);
    session.host.program_directory = c.missing_home ? E(home.Sub("mistyped")) : E(home.path());
    session.job.app.sw_opt[AppSettings::kOptNoLog] = c.log_off;
    session.undo.Push(UndoRecord{E(dir.Sub("x")), E(dir.Sub("y")), 0, 0, "", "", ""});
    ui.messages.clear();

    const ConversionResult result = StartConversion(session, RunMode::kRun, false);
    EXPECT_EQ(result.outcome, c.runs ? ConversionOutcome::kRunFinished : ConversionOutcome::kLogUnwritable);
    EXPECT_EQ(testing::Exists(dir.Sub("A.txt")), c.runs);
    if (!c.runs) {
      EXPECT_EQ(U(ui.Texts(testing::ScriptedUi::Message::kWarning).at(0)), "ログの書き込みに失敗しました。");
      // The undo of the last run is still there: nothing has happened since.
      EXPECT_EQ(session.undo.size(), 1u);
    }
    if (testing::Exists(dir.Sub("A.txt"))) {
      ASSERT_EQ(rename(dir.Sub("A.txt").c_str(), dir.Sub("a.txt").c_str()), 0);
    }
    session.undo.Clear();
  }
  EXPECT_FALSE(testing::Exists(home.Sub("mistyped")));
}

// A log over 2 GiB (40 runs of 100,000 targets come near) is read as a stream: runs, undo and the
// trim keep working, and the trim brings it back down.
TEST_F(LogJournalTest, ALogOverTwoGigabytesStillRunsUndoesAndTrims) {
  {
    // A sparse file costs no disk: 2.1 GiB of an old, damaged log without a line feed.
    const int fd = open(home.Sub("mvlogs.txt").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, (std::int64_t{21} << 30) / 10), 0);
    close(fd);
  }
  MakeFile("a.txt");
  ui.default_answer = true;
  session.job.app.opt_1 = 1;
  StartConversion(session, RunMode::kRun, false);
  ASSERT_TRUE(session.log.run_logged);
  LogUndoResult result;
  ASSERT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", &result), LogUndoOutcome::kUndone);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));

  StartConversion(session, RunMode::kRun, false);
  struct stat st {};
  ASSERT_EQ(stat(home.Sub("mvlogs.txt").c_str(), &st), 0);
  EXPECT_LT(st.st_size, 4096);
  std::vector<LoggedRun> runs;
  ASSERT_EQ(ScanRuns(fs, *codec, LogPath(session.host), &runs), 1);
  EXPECT_EQ(runs[0].id, session.log.run_id);
}

// The trim replaces the log only when it safely can, and leaves it as a person set it up.
TEST_F(LogJournalTest, TrimKeepsAReadOnlyLogItsOwnerAndModeAndCleansUpAfterAKilledTrim) {
  std::string log;
  for (int i = 0; i < 45; ++i) {
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "2024/01/01 00:%02d:00  ", i);
    log += stamp + S("■ MORVA - Version 6 - 変換実行開始 ■") + "\n" + stamp + S("変換機能：【大文字変換】") + "\n";
  }
  struct Case {
    const char* what;
    mode_t mode;
    bool replacement_fails;
    bool trimmed;
  };
  const std::vector<Case> cases = {
      {"a writable log", 0640, false, true},
      {"a read-only log", 0444, false, false},
      {"a trimmed copy that cannot be created", 0644, true, false},
  };
  session.job.app.opt_1 = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::WriteFile(home.Sub("mvlogs.txt"), log);
    ASSERT_EQ(chmod(home.Sub("mvlogs.txt").c_str(), c.mode), 0);
    // Another user's log in a shared program directory keeps its owner (only root can test that).
    const bool foreign_owner = geteuid() == 0 && chown(home.Sub("mvlogs.txt").c_str(), 65534, 65534) == 0;
    testing::WriteFile(home.Sub("temp_mvlogs.txt"), "left by a killed trim");
    fs.ClearFaults();
    if (c.replacement_fails) fs.FailOn(FsOp::kOpenReplacement, "mvlogs.txt", ENOSPC);

    EXPECT_EQ(TrimLog(session.log_context()), c.trimmed);
    EXPECT_FALSE(testing::Exists(home.Sub("temp_mvlogs.txt")));
    struct stat st {};
    ASSERT_EQ(stat(home.Sub("mvlogs.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
    if (foreign_owner) {
      EXPECT_EQ(st.st_uid, 65534u);
    }
    std::vector<LoggedRun> runs;
    ASSERT_EQ(ScanRuns(fs, *codec, LogPath(session.host), &runs), c.trimmed ? 2 : 40);
    // Untrimmed, the log still offers its newest runs.
    EXPECT_EQ(runs.back().id, "2024/01/01 00:44:00");
  }
}

}  // namespace
}  // namespace morva
