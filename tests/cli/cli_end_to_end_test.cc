// Runs the built morva-cli binary on temporary trees, with --home in a temporary directory.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_trash.h"
#include "common/test_util.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::TempDir;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

// The locales the program runs under: Japanese unless a test asks for English. The program reads the
// variable only, so neither needs to be installed.
constexpr const char* kJapaneseLocale = "ja_JP.UTF-8";
constexpr const char* kEnglishLocale = "en_US.UTF-8";

// Runs morva-cli with `args` under `locale`, stdin from /dev/null (so no question is ever asked on a
// terminal). With `pending_signal`, that signal is already waiting when the program starts, as one sent
// while it loads.
Result RunCli(const std::vector<std::string>& args, int pending_signal = 0, const char* locale = kJapaneseLocale) {
  TempDir capture;
  Result result;
  const pid_t child = fork();
  if (child < 0) return result;
  if (child == 0) {
    std::vector<char*> argv;
    std::string program = MORVA_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (!freopen("/dev/null", "r", stdin) || !freopen((capture / "out").c_str(), "w", stdout) ||
        !freopen((capture / "err").c_str(), "w", stderr)) {
      _exit(127);
    }
    unsetenv("LANGUAGE");
    if (setenv("LC_ALL", locale, 1) != 0) _exit(127);
    if (pending_signal != 0) {
      // Blocked, raised, and kept pending across exec until the program takes it.
      sigset_t blocked;
      sigemptyset(&blocked);
      sigaddset(&blocked, pending_signal);
      if (sigprocmask(SIG_BLOCK, &blocked, nullptr) != 0 || raise(pending_signal) != 0) _exit(127);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(capture / "out");
  result.err = ReadFile(capture / "err");
  return result;
}

class CliEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.ok());
    ASSERT_TRUE(tree_.ok());
    ASSERT_EQ(mkdir((tree_ / "photos").c_str(), 0755), 0);
    ASSERT_TRUE(tree_.WriteFile("photos/a.jpg", "a"));
    ASSERT_TRUE(tree_.WriteFile("photos/b.txt", "b"));
    photos_ = tree_ / "photos";
  }
  // The job that turns names upper case with the general rule.
  std::vector<std::string> UpperCase(std::vector<std::string> rest) {
    std::vector<std::string> args = {"--home", home_.path(), "--set", "SW_FNM=1", "--set", "FNM_IPN_SEL=1",
                                     "--set", "FNM_IPN2=1"};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  }
  bool Untouched() { return Exists(photos_ + "/a.jpg") && Exists(photos_ + "/b.txt") && !Exists(photos_ + "/A.jpg"); }

  TempDir home_;
  TempDir tree_;
  std::string photos_;
};

TEST_F(CliEndToEndTest, CheckAcceptsAJobAndRefusesAMissingTarget) {
  Result r = RunCli(UpperCase({"check", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");

  r = RunCli(UpperCase({"check", photos_ + "/none"}));
  EXPECT_EQ(r.status, 2);
  // The program's message as it is, then the setting and the path it holds.
  EXPECT_NE(r.err.find("指定された変換対象は存在しません。\n  (setting: DIRFIL = " + photos_ + "/none)\n"),
            std::string::npos)
      << r.err;
  EXPECT_TRUE(Untouched());
}

// Date naming cannot name directories: validation asks to leave them out. Without --yes (and without a
// terminal) the answer is No and the job is refused; with --yes they are left out and the job goes on.
TEST_F(CliEndToEndTest, ADateJobOnDirectoriesGoesOnWithoutThemAfterYes) {
  ASSERT_EQ(mkdir((photos_ + "/sub").c_str(), 0755), 0);
  const std::string question =
      "日時による名称変換を行う場合、「ディレクトリも対象」指定はできません。\n「ディレクトリも対象」指定を外しますか？";
  const std::vector<std::string> job = {"--home", home_.path(), "--set", "SW_FNM=5", "--set", "SW_SET=110100000000"};
  auto with = [&job](std::vector<std::string> rest) {
    std::vector<std::string> args = job;
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  };

  Result r = RunCli(with({"check", photos_}));
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, question + " [y/N] n (no terminal; --yes answers Yes)\n");

  r = RunCli(with({"--yes", "check", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, question + " [y/N] y (--yes)\n");

  r = RunCli(with({"--yes", "preview", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find(question + " [y/N] y (--yes)\n"), 0u) << r.err;
  EXPECT_NE(r.out.find("\t" + photos_ + "/a.jpg\t"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("sub"), std::string::npos) << r.out;
  EXPECT_TRUE(Untouched());
}

// People read host paths: the preview names each target by its host path whichever form the target was
// given in, and a check of an ID3 job names the song it finds at fault the same way.
TEST_F(CliEndToEndTest, PreviewPrintsRowsInHostFormAndChangesNothing) {
  const std::string album = tree_ / "写真 アルバム";
  ASSERT_EQ(mkdir(album.c_str(), 0755), 0);
  ASSERT_TRUE(tree_.WriteFile("写真 アルバム/夏.jpg", "a"));
  ASSERT_TRUE(tree_.WriteFile("写真 アルバム/b.txt", "b"));
  std::string engine_album = "Z:" + album;
  for (char& c : engine_album) c = c == '/' ? '\\' : c;
  const std::string rows = "change\t" + album + "/b.txt\tB.txt\t\n"
                           "unchanged\t" + album + "/夏.jpg\t夏.jpg\t\n";
  const struct {
    const char* given_as;
    std::vector<std::string> targets;
    std::string out;
  } cases[] = {
      {"host directory", {album}, rows},
      {"engine directory", {engine_album}, rows},
      {"host and engine files",
       {album + "/夏.jpg", engine_album + "\\b.txt"},
       "unchanged\t" + album + "/夏.jpg\t夏.jpg\t\n"
       "change\t" + album + "/b.txt\tB.txt\t\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given_as);
    std::vector<std::string> args = {"preview"};
    args.insert(args.end(), c.targets.begin(), c.targets.end());
    const Result r = RunCli(UpperCase(args));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "抽出総数：2　　　変換対象：1　　　成功/不要：2　　　変換失敗：0\n");
    EXPECT_EQ(r.out.find("Z:"), std::string::npos);
  }
  EXPECT_EQ(testing::HostNames(album), (std::vector<std::string>{"b.txt", "夏.jpg"}));
  EXPECT_FALSE(Exists(home_ / "morva.dat"));
}

TEST_F(CliEndToEndTest, RunRenamesAfterYesAndKeepsTheJobOnlyWithSave) {
  // Without --yes and without a terminal the question is answered No: declined.
  Result r = RunCli(UpperCase({"run", photos_}));
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("変換を開始します。よろしいですか？"), std::string::npos) << r.err;
  EXPECT_TRUE(Untouched());

  r = RunCli(UpperCase({"--yes", "run", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
  EXPECT_TRUE(Exists(photos_ + "/B.txt"));
  EXPECT_FALSE(Exists(photos_ + "/a.jpg"));
  EXPECT_EQ(r.out, "changed\t" + photos_ + "/a.jpg\tA.jpg\t\nchanged\t" + photos_ + "/b.txt\tB.txt\t\n");
  EXPECT_NE(r.err.find("変換が全て正常に終了しました。\n\n完全成功：2 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：2　　\n"),
            std::string::npos)
      << r.err;

  // Nothing of the call stays behind: a second call without --set and without a target has no job
  // and no target, and is refused rather than repeating the first.
  ASSERT_EQ(rename((photos_ + "/A.jpg").c_str(), (photos_ + "/a.jpg").c_str()), 0);
  ASSERT_EQ(rename((photos_ + "/B.txt").c_str(), (photos_ + "/b.txt").c_str()), 0);
  EXPECT_FALSE(Exists(home_ / "morva.dat"));
  r = RunCli({"--home", home_.path(), "--yes", "run"});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("対象ディレクトリが指定されていません。"), std::string::npos) << r.err;
  EXPECT_TRUE(Untouched());

  // With --save the job and the target are kept, as the desktop program keeps them.
  r = RunCli(UpperCase({"--yes", "--save", "run", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string saved = ReadFile(home_ / "morva.dat");
  EXPECT_EQ(saved.rfind("MORVA Settings Version", 0), 0u);
  EXPECT_NE(saved.find("SW_FNM = 1\n"), std::string::npos);
  ASSERT_EQ(rename((photos_ + "/A.jpg").c_str(), (photos_ + "/a.jpg").c_str()), 0);
  r = RunCli({"--home", home_.path(), "--yes", "run"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
  EXPECT_EQ(ReadFile(home_ / "morva.dat"), saved) << "a run without --save leaves the file as it was";
}

TEST_F(CliEndToEndTest, APatternFileIsNamedByItsHostPath) {
  ASSERT_TRUE(home_.WriteFile("patterns.csv", "\"a\",\"photo\"\n\"b\"\t\"memo\"\n"));
  Result r = RunCli({"--home", home_.path(), "--yes", "--set", "SW_FNM=8", "--set", "FNM_CSV_PTH=" + (home_ / "patterns.csv"),
                     "run", photos_});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/photo.jpg"));
  EXPECT_TRUE(Exists(photos_ + "/memo.txt"));

  r = RunCli({"--home", home_.path(), "--set", "SW_FNM=8", "--set", "FNM_CSV_PTH = " + (home_ / "none.csv"), "check",
              photos_});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("置換パターンCSVファイルパスが不正です。"), std::string::npos) << r.err;
}

// A replacement holding bytes that are no character (a lead byte before a NUL, a two-byte code the code
// page leaves unassigned) gives a name the host cannot hold: the preview says so, as the run finds it.
TEST_F(CliEndToEndTest, ThePreviewRefusesANameTheHostCannotHold) {
  for (const std::string& broken : {std::string("ph\x9E\0x", 5), std::string("ph\x85\x40x")}) {
    ASSERT_TRUE(home_.WriteFile("patterns.csv", "\"a\"," + broken + "\n"));
    const std::vector<std::string> job = {"--home", home_.path(), "--yes", "--set", "SW_FNM=8",
                                          "--set", "FNM_CSV_PTH=" + (home_ / "patterns.csv")};
    std::vector<std::string> preview = job, run = job;
    preview.insert(preview.end(), {"preview", photos_});
    run.insert(run.end(), {"run", photos_});
    Result r = RunCli(preview);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("ファイル名として使用不可文字の存在により失敗："), std::string::npos) << r.out;
    r = RunCli(run);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(Exists(photos_ + "/a.jpg"));
  }
}

TEST_F(CliEndToEndTest, TheTargetHistoryTellsPathsApartByLetterCase) {
  // "Photos" beside "photos": two directories here, though one to Windows.
  ASSERT_EQ(mkdir((tree_ / "Photos").c_str(), 0755), 0);
  ASSERT_TRUE(tree_.WriteFile("Photos/keep.jpg", "k"));
  Result r = RunCli(UpperCase({"--yes", "--save", "--set", "FNM_IPN2=2", "run", tree_ / "Photos"}));
  ASSERT_EQ(r.status, 0) << r.err;
  // The stored history now holds "Photos"; naming "photos" converts "photos".
  r = RunCli(UpperCase({"--yes", "run", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
  EXPECT_TRUE(Exists(tree_ / "Photos/keep.jpg"));
  EXPECT_FALSE(Exists(tree_ / "Photos/KEEP.jpg"));
}

TEST_F(CliEndToEndTest, AnEngineFormTargetWithDotsIsConvertedAsItsPreviewSays) {
  ASSERT_EQ(mkdir((photos_ + "/sub").c_str(), 0755), 0);
  std::string engine = "Z:" + photos_;
  for (char& c : engine) c = c == '/' ? '\\' : c;
  // The directory itself and its subdirectory too, named through "sub\.\\..".
  const std::vector<std::string> job = {"--set", "SW_SET=111110000000", engine + "\\sub\\.\\\\.."};
  std::vector<std::string> preview = {"preview"};
  preview.insert(preview.end(), job.begin(), job.end());
  Result r = RunCli(UpperCase(preview));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "change\t" + photos_ + "/a.jpg\tA.jpg\t\n"
                   "change\t" + photos_ + "/b.txt\tB.txt\t\n"
                   "change\t" + photos_ + "/sub\tSUB\t\n"
                   "change\t" + photos_ + "\tPHOTOS\t\n");
  std::vector<std::string> run = {"--yes", "run"};
  run.insert(run.end(), job.begin(), job.end());
  r = RunCli(UpperCase(run));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("完全成功：4 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：4"), std::string::npos) << r.err;
  EXPECT_TRUE(Exists(tree_ / "PHOTOS/A.jpg"));
  EXPECT_TRUE(Exists(tree_ / "PHOTOS/B.txt"));
  EXPECT_TRUE(Exists(tree_ / "PHOTOS/SUB"));
}

TEST_F(CliEndToEndTest, ListModeTakesExactlyTheNamedTargetsInHostOrEngineForm) {
  ASSERT_TRUE(tree_.WriteFile("photos/c.txt", "c"));
  std::string engine_b = "Z:" + photos_ + "/b.txt";
  for (char& c : engine_b) {
    if (c == '/') c = '\\';
  }
  const Result r = RunCli(UpperCase({"--yes", "run", photos_ + "/a.jpg", engine_b}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("総数：2"), std::string::npos) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
  EXPECT_TRUE(Exists(photos_ + "/B.txt"));
  EXPECT_TRUE(Exists(photos_ + "/c.txt"));
}

TEST_F(CliEndToEndTest, RefusedJobsExitTwoWithoutTouchingAFile) {
  // Validation refuses the empty rule selection of the general rule.
  Result r = RunCli({"--home", home_.path(), "--yes", "--set", "SW_FNM=1", "--set", "FNM_IPN_SEL=0", "run",
                     photos_});
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_FALSE(r.err.empty());
  // A refused --set.
  r = RunCli(UpperCase({"--yes", "--set", "FNM_IPN2=7", "run", photos_}));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--set FNM_IPN2=7: value refused for FNM_IPN2 (it takes: 1 大文字変換"), std::string::npos)
      << r.err;
  // A --settings file that is not there.
  r = RunCli(UpperCase({"--yes", "--settings", home_ / "none.dat", "run", photos_}));
  EXPECT_EQ(r.status, 2);
  // Usage: one line, and where to read more.
  r = RunCli({"--home", home_.path(), "eval"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "morva-cli: eval takes a control statement and one path (got 0 arguments)\n"
                   "try morva-cli eval --help, or morva-cli --help\n");
  EXPECT_TRUE(Untouched());
  EXPECT_FALSE(Exists(home_ / "morva.dat"));
}

TEST_F(CliEndToEndTest, ASignalBeforeTheWalkStopsTheRunBeforeItsFirstChange) {
  const struct {
    int signal_number;
    int status;
  } cases[] = {{SIGINT, 130}, {SIGTERM, 143}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.signal_number);
    const Result r = RunCli(UpperCase({"--yes", "run", photos_}), c.signal_number);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_TRUE(Untouched());
  }
}

TEST_F(CliEndToEndTest, ASettingsFileThatCannotBeSavedAfterARunExitsOne) {
  // A directory where the settings file belongs: the save fails as on a full disk.
  ASSERT_EQ(mkdir((home_ / "morva.dat").c_str(), 0755), 0);
  const Result r = RunCli(UpperCase({"--yes", "--save", "run", photos_}));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("settings could not be saved"), std::string::npos) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
}

TEST_F(CliEndToEndTest, CheckOfAnId3JobNamesASongAKilledWriteLeftAndChangesNothing) {
  // What a tag write killed after its first bytes leaves: the song half written, its copy beside it.
  const std::string song = photos_ + "/song.mp3";
  testing::WriteFile(song, std::string(4096, 'a'));
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  std::string engine_song;
  ASSERT_TRUE(fs->FromHostPath(song, &engine_song).ok());
  {
    std::unique_ptr<FileUpdate> update;
    ASSERT_TRUE(fs->OpenUpdate(engine_song, engine_song + ".bak", &update).ok());
    ASSERT_TRUE(update->Write(0, "half").ok());
  }
  const std::string half = ReadFile(song);
  const Result r = RunCli({"--home", home_.path(), "--set", "SW_ID3=1000000", "--set", "ID3_CTS=10", "--set",
                           "SW_SET=100001000000", "--set", "SET_11=*.mp3", "check", photos_});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find(song + "\t中断された書き込みの安全コピー"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(song), half);
  EXPECT_TRUE(Exists(song + ".bak"));
}

TEST_F(CliEndToEndTest, AFailedTargetMakesTheRunExitOne) {
  // B.txt is taken already, so b.txt cannot become it.
  ASSERT_TRUE(tree_.WriteFile("photos/B.txt", "taken"));
  Result r = RunCli(UpperCase({"preview", photos_}));
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.out.find("既に存在する名称への変換により失敗：B.txt"), std::string::npos) << r.out;
  r = RunCli(UpperCase({"--yes", "run", photos_}));
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("変換に失敗したファイルがありました。"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("failed\t" + photos_ + "/b.txt\tb.txt\t[▲名称変換失敗]\n"), std::string::npos) << r.out;
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
  EXPECT_EQ(ReadFile(photos_ + "/B.txt"), "taken");
  EXPECT_EQ(ReadFile(photos_ + "/b.txt"), "b");
}

TEST_F(CliEndToEndTest, DeletionIntoTheTrashIsPreviewedRunAndNeverUndone) {
  ASSERT_FALSE(testing::TestTrash().empty());  // HOME and XDG_DATA_HOME of morva-cli: the test's trash
  const std::vector<std::string> job = {"--home", home_.path(), "--set", "SW_FNM=0", "--set", "SW_DEL=100"};
  auto with = [&job](std::vector<std::string> rest) {
    std::vector<std::string> args = job;
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  };
  Result r = RunCli(with({"preview", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "change\t" + photos_ + "/a.jpg\t\t\tファイル削除（ごみ箱使用）\n"
                   "change\t" + photos_ + "/b.txt\t\t\tファイル削除（ごみ箱使用）\n");
  EXPECT_TRUE(Untouched());

  r = RunCli(with({"--yes", "run", photos_}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(testing::HostNames(photos_), std::vector<std::string>{});
  EXPECT_EQ(ReadFile(testing::Trashed(photos_ + "/a.jpg")), "a");
  EXPECT_EQ(ReadFile(testing::Trashed(photos_ + "/b.txt")), "b");
  r = RunCli({"--home", home_.path(), "runs"});
  ASSERT_GT(r.out.size(), 19u);
  EXPECT_EQ(r.out.substr(19), "\t不可\t" + photos_ + "\t【ファイル削除】\n");
  r = RunCli({"--home", home_.path(), "--yes", "undo"});
  EXPECT_EQ(r.status, 2);
}

TEST_F(CliEndToEndTest, RunsListsTheLogAndUndoTakesTheNewestRunBack) {
  // No log yet: nothing to list, which is no error.
  Result r = RunCli({"--home", home_.path(), "runs"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  ASSERT_TRUE(home_.WriteFile("mvlogs.txt", ""));
  r = RunCli({"--home", home_.path(), "runs"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");

  r = RunCli(UpperCase({"--yes", "run", photos_}));
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_TRUE(Exists(photos_ + "/A.jpg"));
  r = RunCli({"--home", home_.path(), "runs"});
  EXPECT_EQ(r.status, 0) << r.err;
  ASSERT_GT(r.out.size(), 19u);
  const std::string id = r.out.substr(0, 19);
  const std::string target = photos_;  // the log names the engine path; people read the host's
  EXPECT_EQ(r.out.substr(19), "\t未\t" + target + "\t【大文字変換】【変換対象文字：全角,半角】【拡張子除く】\n");

  // Without --yes and without a terminal the question is answered No.
  r = RunCli({"--home", home_.path(), "undo"});
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
  r = RunCli({"--home", home_.path(), "--yes", "undo"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Untouched());
  EXPECT_NE(r.out.find("全て元に戻すことに成功しました。"), std::string::npos) << r.out;
  r = RunCli({"--home", home_.path(), "runs"});
  EXPECT_EQ(r.out, id + "\t済み\t" + target + "\t【大文字変換】【変換対象文字：全角,半角】【拡張子除く】\n");

  // Nothing left to undo by default; by its identifier it is undone again, passing over the names that
  // are back already.
  r = RunCli({"--home", home_.path(), "--yes", "undo"});
  EXPECT_EQ(r.status, 2);
  r = RunCli({"--home", home_.path(), "--yes", "undo", id.substr(0, 10), id.substr(11)});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("既に「元に戻す」が実行されているログです。"), std::string::npos) << r.err;
  EXPECT_TRUE(Untouched());
  r = RunCli({"--home", home_.path(), "--yes", "undo", "2000/01/01 00:00:00"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("no run 2000/01/01 00:00:00"), std::string::npos) << r.err;
}

// `log` shows the log as a person here reads it: UTF-8, line feeds, host paths; `log RUN-ID` the block
// of that run alone. Reading it changes nothing.
TEST_F(CliEndToEndTest, LogPrintsTheLogWithHostPathsAndOneRunsBlock) {
  Result r = RunCli({"--home", home_.path(), "log"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("ログが見つかりませんでした。"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  ASSERT_TRUE(home_.WriteFile("mvlogs.txt", ""));
  r = RunCli({"--home", home_.path(), "log"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");

  // Two runs: one in a directory with a Japanese name and a space, one a copy into another.
  const std::string photos = tree_ / "写真 フォルダ";
  const std::string copies = tree_ / "出力 先";
  ASSERT_EQ(mkdir(photos.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(copies.c_str(), 0755), 0);
  ASSERT_TRUE(tree_.WriteFile("写真 フォルダ/夏 a.jpg", "a"));
  r = RunCli(UpperCase({"--yes", "run", photos}));
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunCli(UpperCase({"--yes", "--copy-to", copies, "run", photos_}));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string log = ReadFile(home_ / "mvlogs.txt");

  r = RunCli({"--home", home_.path(), "log"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string whole = r.out;
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::string cp932;
  EXPECT_TRUE(codec->Utf8ToCp932(whole, &cp932).ok()) << "UTF-8 throughout";
  EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), std::count(log.begin(), log.end(), '\n'));
  EXPECT_EQ(whole.find('\r'), std::string::npos);
  EXPECT_EQ(whole.find("Z:"), std::string::npos) << whole;
  for (const std::string& shown : {"対象ディレクトリ（ファイル）：" + photos + "\n", "ディレクトリ：" + photos + "\n",
                                   "【出力先：" + copies + "】\n", std::string("*対象<夏 a.jpg> → *名称変換<夏 A.jpg>")}) {
    EXPECT_NE(whole.find(shown), std::string::npos) << shown << "\n" << whole;
  }

  r = RunCli({"--home", home_.path(), "runs"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> ids = {r.out.substr(0, 19), r.out.substr(r.out.find('\n') + 1, 19)};
  for (const std::string& id : ids) {
    const std::size_t begin = whole.find(id + "  ■ MORVA");
    const std::size_t counts = whole.find("完全成功：", begin);
    ASSERT_NE(counts, std::string::npos) << id;
    const std::string block = whole.substr(begin, whole.find('\n', counts) + 1 - begin);
    r = RunCli({"--home", home_.path(), "log", id});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, block) << id;
    // Typed without quotes, as two arguments.
    r = RunCli({"--home", home_.path(), "log", id.substr(0, 10), id.substr(11)});
    EXPECT_EQ(r.out, block) << id;
  }
  EXPECT_NE(RunCli({"--home", home_.path(), "log", ids[0]}).out.find(photos), std::string::npos);

  for (const std::string unknown : {"2000/01/01 00:00:00", "yesterday"}) {
    r = RunCli({"--home", home_.path(), "log", unknown});
    EXPECT_EQ(r.status, 2) << unknown;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(unknown), std::string::npos) << r.err;
  }
  EXPECT_NE(r.err.find("YYYY/MM/DD hh:mm:ss"), std::string::npos) << r.err;
  EXPECT_NE(RunCli({"--home", home_.path(), "log", "2000/01/01 00:00:00"}).err.find("no run 2000/01/01 00:00:00"),
            std::string::npos);
  EXPECT_EQ(ReadFile(home_ / "mvlogs.txt"), log) << "reading leaves the log as it was";
}

// A run the log cannot take would be a run nobody can undo: it does not start (exit 2, the program's
// message, nothing renamed), also for a mistyped --home. With the log switched off it runs.
TEST_F(CliEndToEndTest, ARunTheLogCannotTakeIsRefusedAndChangesNothing) {
  // A log that cannot be appended to: a directory stands where the file would be.
  ASSERT_EQ(mkdir((home_ / "mvlogs.txt").c_str(), 0755), 0);
  Result r = RunCli(UpperCase({"--yes", "run", photos_}));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("ログの書き込みに失敗しました。"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("処理は継続します"), std::string::npos) << r.err;
  EXPECT_TRUE(Untouched());
  ASSERT_EQ(rmdir((home_ / "mvlogs.txt").c_str()), 0);

  const std::string mistyped = home_ / "mistyped";
  std::vector<std::string> job = UpperCase({"--yes", "run", photos_});
  job[1] = mistyped;
  r = RunCli(job);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;
  EXPECT_TRUE(Untouched());
  EXPECT_FALSE(Exists(mistyped));

  // Without a log the run goes ahead, and writes nothing in the mistyped directory.
  job.insert(job.begin() + 2, {"--set", "SW_OPT=0100000000000000"});
  r = RunCli(job);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/A.jpg"));
  EXPECT_FALSE(Exists(mistyped));
  ASSERT_EQ(rename((photos_ + "/A.jpg").c_str(), (photos_ + "/a.jpg").c_str()), 0);
  ASSERT_EQ(rename((photos_ + "/B.txt").c_str(), (photos_ + "/b.txt").c_str()), 0);

  // A log with no run that can be undone (only a copy conversion) says so, rather than that every run
  // has been undone.
  ASSERT_EQ(mkdir((tree_ / "copies").c_str(), 0755), 0);
  r = RunCli(UpperCase({"--yes", "--copy-to", tree_ / "copies", "run", photos_}));
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunCli({"--home", home_.path(), "--yes", "undo"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("the log holds no run that can be undone"), std::string::npos) << r.err;
}

TEST_F(CliEndToEndTest, APresetIsListedAndRunsAfterTheSettingsFile) {
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  ASSERT_NE(codec, nullptr);
  const auto cp = [&](std::string_view utf8) { return Cp932Text(*codec, utf8); };
  ASSERT_TRUE(home_.WriteFile("morvaset.dat", cp("MORVA - 変換設定保存ファイル Version 6.1b \n\n<大文字>\n") +
                                                  "SW_FNM = 1\nFNM_IPN_SEL = 1\nFNM_IPN2 = 1\n"));
  ASSERT_TRUE(home_.WriteFile("morvascr.dat", cp("MORVA - 変換制御文保存ファイル Version 6.1b \n\n<s> <F>_1\n")));

  Result r = RunCli({"--home", home_.path(), "presets"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "変換設定\t大文字\n変換制御文\ts\t<F>_1\n");

  r = RunCli({"--home", home_.path(), "--preset", "none", "--yes", "run", photos_});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("no whole-job preset named 'none'"), std::string::npos) << r.err;
  EXPECT_TRUE(Untouched());

  // --set applies on top of the preset: the extension is converted too.
  r = RunCli({"--home", home_.path(), "--preset", "大文字", "--set", "FNM_01=0", "--yes", "run", photos_});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Exists(photos_ + "/A.JPG"));
  EXPECT_TRUE(Exists(photos_ + "/B.TXT"));
}

// Under a locale that is not Japanese every text a person reads is English: the engine's messages and
// questions, the preview's reasons and counts, a run's rows and summary, the listings' words, the keys'
// places and values, the help. Only names and what the log itself holds stay as they are; the commands
// do what they do in Japanese, the log stays Japanese.
TEST_F(CliEndToEndTest, EveryTextIsEnglishUnderAnEnglishLocale) {
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  ASSERT_NE(codec, nullptr);
  ASSERT_TRUE(home_.WriteFile("morvaset.dat", Cp932Text(*codec, "MORVA - 変換設定保存ファイル Version 6.1b \n\n<大文字>\n") +
                                                  "SW_FNM = 1\nFNM_IPN_SEL = 1\nFNM_IPN2 = 1\n"));
  // b.txt cannot become B.txt, which is taken: the run fails for it and renames a.jpg.
  ASSERT_TRUE(tree_.WriteFile("photos/B.txt", "taken"));
  const std::string missing = photos_ + "/none";
  const std::string function = "【大文字変換】【変換対象文字：全角,半角】【拡張子除く】";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> says;
    std::string japanese_kept;  // a name or a text of the log, shown as it is
  };
  const Case cases[] = {
      {UpperCase({"check", missing}), 2, {"The target does not exist.\n  (setting: DIRFIL = " + missing + ")\n"}, ""},
      {UpperCase({"--set", "FNM_IPN2=7", "check", photos_}), 2,
       {"value refused for FNM_IPN2 (it takes: 1 upper case (abc→ABC), 2 lower case (ABC→abc)"}, ""},
      {UpperCase({"preview", photos_}), 1,
       {"fail\t" + photos_ + "/b.txt\tb.txt\tFailed, the name already exists: B.txt\n",
        "Found: 3   To convert: 1   Succeeded/unchanged: 2   Failed: 1\n"},
       ""},
      {UpperCase({"run", photos_}), 3, {"Start the conversion? [y/N] n"}, ""},
      {UpperCase({"--yes", "run", photos_}), 1,
       {"failed\t" + photos_ + "/b.txt\tb.txt\t[rename failed]\n", "Some files could not be converted."},
       ""},
      {{"--home", home_.path(), "runs"}, 0, {"\tyes\t" + photos_ + "\t" + function + "\n"}, function},
      {{"--home", home_.path(), "--yes", "undo"}, 0, {"Undo the chosen run from the log? [y/N] y", "All files were restored."}, ""},
      {{"--home", home_.path(), "runs"}, 0, {"\tdone\t"}, function},
      {{"--home", home_.path(), "presets"}, 0, {"job\t大文字\n"}, "大文字"},
      {{"--home", home_.path(), "keys"}, 0, {"\nFNM_IPN_SEL\tRename > Case and characters\tChange case (☆), "}, ""},
      {{"--help"}, 0, {"identifier, no/done/yes (cannot be undone,"}, ""},
      {{"help", "presets"}, 0, {"kind (job, statement or replacement)"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const Result r = RunCli(c.args, 0, kEnglishLocale);
    EXPECT_EQ(r.status, c.status) << r.err;
    std::string said = r.out + r.err;
    for (const std::string& text : c.says) EXPECT_NE(said.find(text), std::string::npos) << text << "\nin:\n" << said;
    if (!c.japanese_kept.empty()) {
      for (std::size_t at = said.find(c.japanese_kept); at != std::string::npos; at = said.find(c.japanese_kept)) {
        said.erase(at, c.japanese_kept.size());
      }
    }
    EXPECT_FALSE(testing::HasJapaneseWord(said)) << said;
  }
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(ReadFile(photos_ + "/B.txt"), "taken");
  // The log is a format: Japanese whatever the locale.
  std::string log_text;
  ASSERT_TRUE(codec->Cp932ToUtf8(ReadFile(home_ / "mvlogs.txt"), &log_text).ok());
  EXPECT_NE(log_text.find("[▲名称変換失敗]"), std::string::npos) << log_text;
}

}  // namespace
}  // namespace morva

namespace morva {
namespace {

// Every name a Linux user has is seen: characters without a code page 932 form take user-defined codes
// that the next process understands, so a run over them is undone from the log after a restart, byte for
// byte. Names the engine could not tell apart or hold stay hidden, untouched and counted.
TEST_F(CliEndToEndTest, EveryNameTheHostShowsIsConvertedAndUndoneAfterARestart) {
  struct Case {
    std::string before;
    std::string after;  // upper case: letters without a code page 932 form stay as they are
  };
  std::string long_base = "é";
  for (int i = 0; i < 84; ++i) long_base += "あ";
  const Case cases[] = {
      {"café.jpg", "CAFé.jpg"},
      {"Motörhead - Ace.mp3", "MOTöRHEAD - ACE.mp3"},
      {"Straße.txt", "STRAßE.txt"},
      {"한국어 a.txt", "한국어 A.txt"},
      {"中文简体 b.txt", "中文简体 B.txt"},
      {"smile \U0001F600.png", "SMILE \U0001F600.png"},
      {"minus\u2212sign.jpg", "MINUS\u2212SIGN.jpg"},
      {"cafe\u0301 c.txt", "CAFE\u0301 C.txt"},
      {"\uE000private d.txt", "\uE000PRIVATE D.txt"},
      {"写真 e.jpg", "写真 E.jpg"},
      {long_base + "f", long_base + "F"},  // 255 bytes of UTF-8
  };
  ASSERT_EQ(std::string(cases[10].before).size(), 255u);
  const std::string hidden[] = {"bad:name.jpg", "not utf-8 \xff.txt", "control \x01.txt"};
  ASSERT_EQ(unlink((photos_ + "/a.jpg").c_str()), 0);
  ASSERT_EQ(unlink((photos_ + "/b.txt").c_str()), 0);
  for (const Case& c : cases) ASSERT_TRUE(tree_.WriteFile("photos/" + c.before, c.before)) << c.before;
  for (const std::string& name : hidden) ASSERT_TRUE(tree_.WriteFile("photos/" + name, name));
  const std::vector<std::string> names_before = testing::HostNames(photos_);

  Result r = RunCli(UpperCase({"preview", photos_}));
  ASSERT_EQ(r.status, 0) << r.err;
  for (const Case& c : cases) {
    EXPECT_NE(r.out.find(c.before), std::string::npos) << c.before << "\n" << r.out;
    EXPECT_NE(r.out.find("\t" + c.after + "\t\n"), std::string::npos) << c.after << "\n" << r.out;
  }
  EXPECT_NE(r.err.find("3 name(s) passed over"), std::string::npos) << r.err;

  r = RunCli(UpperCase({"--yes", "run", photos_}));
  ASSERT_EQ(r.status, 0) << r.err;
  for (const Case& c : cases) EXPECT_EQ(ReadFile(photos_ + "/" + c.after), c.before) << c.after;
  for (const std::string& name : hidden) EXPECT_EQ(ReadFile(photos_ + "/" + name), name);
  EXPECT_NE(ReadFile(home_ / "mvchars.txt").find("\tU+00E9\té\n"), std::string::npos);

  // A later process, undoing the run by its identifier from the log, reads the codes back.
  r = RunCli({"--home", home_.path(), "runs"});
  ASSERT_GT(r.out.size(), 19u) << r.err;
  const std::string id = r.out.substr(0, 19);
  r = RunCli({"--home", home_.path(), "--yes", "undo", id});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(testing::HostNames(photos_), names_before);
  for (const Case& c : cases) EXPECT_EQ(ReadFile(photos_ + "/" + c.before), c.before) << c.before;
}

TEST_F(CliEndToEndTest, EvalPrintsTheNameAStatementGivesOneTarget) {
  struct Case {
    std::vector<std::string> args;  // after --home
    int status;
    const char* out;
    const char* err;  // a text stderr holds
  };
  const std::string photo = photos_ + "/a.jpg";
  const std::vector<Case> cases = {
      // Extension handling is on by default: the statement names the base name.
      {{"eval", "\\UPPER<<F>>_<C-3,10+5>", photo}, 0, "A_010.jpg\n", ""},
      {{"--set", "FNM_01=0", "eval", "<F>_<E>", photo}, 0, "a_jpg\n", ""},
      // A directory is the target itself, not its contents.
      {{"eval", "<F>-<E>", photos_}, 0, "photos-\n", ""},
      {{"eval", "\\FOO<x>", photo}, 2, "", "関数　\\FOO<...>　は不正です。"},
      {{"eval", "a/b", photo}, 2, "", "通常文字として指定できない以下の文字が指定されています。"},
      {{"eval", "<F>", photos_ + "/none.jpg"}, 2, "", "no such file or directory"},
      // A character outside code page 932 is one of the statement's characters; bytes that are not UTF-8
      // are refused.
      {{"eval", "\xF0\x9F\x98\x80", photo}, 0, "\xF0\x9F\x98\x80.jpg\n", ""},
      {{"eval", "a\xFF", photo}, 2, "", "the statement is not UTF-8 text"},
      {{"eval", std::string(201, 'x'), photo}, 2, "", "longer than 200 bytes"},
      // A name the file system cannot hold fails the target: exit 1, the reason on stderr.
      {{"eval", "\\CHGSTR<<F>:\"a\",\"x/y\">", photo}, 1, "", "ファイル名として使用不可文字"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--home", home_.path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(args[args.size() - 2]);
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_TRUE(Untouched());
  EXPECT_FALSE(Exists(home_ / "morva.dat"));
}

}  // namespace
}  // namespace morva

namespace morva {
namespace {

// Splits output into its lines.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = text.find('\n', pos);
    lines.push_back(text.substr(pos, end - pos));
    pos = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

// What `show` prints is taken back by --set line for line, into the same job on a machine that has
// never seen it; `keys` shows each key with its place in the window and its value in that job.
TEST_F(CliEndToEndTest, ShowPrintsTheJobAsLinesSetTakesBackAndKeysShowsWhereTheyAre) {
  const std::vector<std::string> job = {"--set", "SW_FNM=3",          "--set", "FNM_CKN1=a = b",
                                        "--set", "FNM_CKN3=置換",     "--set", "SW_DTT=10000",
                                        "--set", "DTT_11=2020/01/02", "--set", "SW_SET=111100000000",
                                        "--set", "SET_DTS=1",         "--set", "SET_DT1=2021/02/03 04:05:06",
                                        "--set", "CPOVW=1"};
  std::vector<std::string> args = {"--home", home_.path()};
  args.insert(args.end(), job.begin(), job.end());
  args.push_back("show");
  const Result shown = RunCli(args);
  ASSERT_EQ(shown.status, 0) << shown.err;
  for (const char* line : {"SW_FNM = 3", "FNM_CKN1 = a = b", "FNM_CKN3 = 置換", "DTT_11 = 2020/01/02",
                           "SW_SET = 111100000000", "SET_DT1 = 2021/02/03 04:05:06", "CPOVW = 1"}) {
    EXPECT_NE(shown.out.find(std::string(line) + "\n"), std::string::npos) << line;
  }
  // Window placement and the histories are no part of the job; an empty time bound is left out.
  EXPECT_EQ(shown.out.find("WINX"), std::string::npos);
  EXPECT_EQ(shown.out.find("SET_12"), std::string::npos);
  EXPECT_EQ(shown.out.find("SET_DT2"), std::string::npos);

  TempDir other_home;
  std::vector<std::string> replay = {"--home", other_home.path()};
  for (const std::string& line : Lines(shown.out)) {
    replay.push_back("--set");
    replay.push_back(line);
  }
  replay.push_back("show");
  const Result replayed = RunCli(replay);
  EXPECT_EQ(replayed.status, 0) << replayed.err;
  EXPECT_EQ(replayed.out, shown.out);

  args.back() = "keys";
  const Result keys = RunCli(args);
  ASSERT_EQ(keys.status, 0) << keys.err;
  const std::vector<std::string> rows = Lines(keys.out);
  const auto row = [&](const std::string& key) {
    for (const std::string& r : rows) {
      if (r.starts_with(key + "\t")) return r;
    }
    return std::string();
  };
  EXPECT_EQ(row("FNM_CKN1"), "FNM_CKN1\t名称変換 > 名称文字列置換\t対象文字列\t文字列（200バイト以内）\ta = b");
  EXPECT_TRUE(row("SW_FNM").starts_with("SW_FNM\t名称変換\t名称変換機能選択\t0 名称変換しない、")) << row("SW_FNM");
  EXPECT_TRUE(row("SW_FNM").ends_with("\t3"));
  EXPECT_TRUE(row("CPOVW").starts_with("CPOVW\tコピー変換用出力先ディレクトリの指定\t同一名称のファイルが存在しても上書きコピーする\t"));
  EXPECT_TRUE(row("WINX").starts_with("WINX\t（ウィンドウの配置）\t")) << row("WINX");
  EXPECT_EQ(row("FNM_IPN1"), "FNM_IPN1\t（旧版）\tFNM_IPN_SEL の 1 に当たる旧版のキー\t1 オン、0 オフ\t");
  // Every row has its five columns.
  for (const std::string& r : rows) EXPECT_EQ(std::count(r.begin(), r.end(), '\t'), 4) << r;
  EXPECT_FALSE(Exists(home_ / "morva.dat"));

  const Result version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("morva-cli ") + MORVA_VERSION + "\n");
}

}  // namespace
}  // namespace morva

namespace morva {
namespace {

// What python3's json module reads in `json_lines` (a file): for each object a line of its type and
// members (strings as JSON again, so that a tab or a line break in them shows), or the parser's error.
std::string ParsedByPython(const std::string& json_lines) {
  TempDir dir;
  const std::string input = dir / "in.json";
  const std::string output = dir / "out.txt";
  testing::WriteFile(input, json_lines);
  const std::string script =
      "import json, sys\n"
      "out = open(sys.argv[2], 'w', encoding='utf-8')\n"
      "for line in open(sys.argv[1], encoding='utf-8', errors='strict', newline='\\n'):\n"
      "    o = json.loads(line)\n"
      "    keys = ['source', 'target', 'state', 'reason'] if o['type'] == 'target' else \\\n"
      "        ['command', 'total', 'change', 'changed', 'failed', 'run_id'] if o['type'] == 'summary' else \\\n"
      "        ['id', 'undoable', 'undone', 'target', 'function']\n"
      "    out.write(' '.join([o['type']] + [json.dumps(o[k], ensure_ascii=False) for k in keys if k in o]) + '\\n')\n";
  testing::WriteFile(dir / "parse.py", script);
  const std::string command = "python3 " + (dir / "parse.py") + " " + input + " " + output + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "popen failed";
  std::string errors;
  char buffer[256];
  for (std::size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) errors.append(buffer, n);
  const int status = pclose(pipe);
  return status == 0 ? ReadFile(output) : "python3: " + errors;
}

// The NUL-terminated fields of --null output.
std::vector<std::string> NullFields(const std::string& out) {
  std::vector<std::string> fields;
  for (std::size_t pos = 0; pos < out.size();) {
    const std::size_t end = out.find('\0', pos);
    if (end == std::string::npos) {
      fields.push_back("unterminated: " + out.substr(pos));
      break;
    }
    fields.push_back(out.substr(pos, end - pos));
    pos = end + 1;
  }
  return fields;
}

// Names as Linux allows them, a tab, a line break and quotes in the directory above the targets (a
// backslash is no part of a path the engine takes): every form carries them whole, JSON through a real parser, --null byte for byte, the text
// form as escapes on one line.
TEST_F(CliEndToEndTest, EveryOutputFormCarriesAnyNameWhole) {
  const std::string dir = tree_ / "we\"ird\tdir\nname 'q'";
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  ASSERT_TRUE(tree_.WriteFile("we\"ird\tdir\nname 'q'/a.jpg", "a"));
  ASSERT_TRUE(tree_.WriteFile("we\"ird\tdir\nname 'q'/b.txt", "b"));
  ASSERT_TRUE(tree_.WriteFile("we\"ird\tdir\nname 'q'/B.txt", "taken"));
  const std::string a = dir + "/a.jpg", b = dir + "/b.txt";
  // The path as json.dumps writes it.
  const std::string json_dir = tree_.path() + "/we\\\"ird\\tdir\\nname 'q'";
  const std::string fails = "\"既に存在する名称への変換により失敗：B.txt\"";

  const struct {
    std::vector<std::string> args;
    int status;
    std::string parsed;  // for --json: what python reads
  } cases[] = {
      {{"preview", a, b},
       1,
       "target \"" + json_dir + "/a.jpg\" \"" + json_dir + "/A.jpg\" \"change\" \"\"\n"
       "target \"" + json_dir + "/b.txt\" \"" + json_dir + "/b.txt\" \"fail\" " + fails + "\n"
       "summary \"preview\" 2 1 1\n"},
      {{"--yes", "run", a, b},
       1,
       "target \"" + json_dir + "/a.jpg\" \"" + json_dir + "/A.jpg\" \"changed\" \"\"\n"
       "target \"" + json_dir + "/b.txt\" \"" + json_dir + "/b.txt\" \"failed\" \"[▲名称変換失敗]\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[c.args.size() - 3]);
    for (const char* form : {"--json", "--null", "text"}) {
      SCOPED_TRACE(form);
      std::vector<std::string> args = c.args;
      if (std::string(form) != "text") args.insert(args.begin(), form);
      const Result r = RunCli(UpperCase(args));
      EXPECT_EQ(r.status, c.status) << r.err;
      if (std::string(form) == "--json") {
        const std::string parsed = ParsedByPython(r.out);
        // A run's summary carries its identifier, which the log gave it.
        EXPECT_EQ(parsed.substr(0, c.parsed.size()), c.parsed) << parsed;
        if (c.args[1] == "run") {
          EXPECT_TRUE(parsed.substr(c.parsed.size()).starts_with("summary \"run\" 2 1 1 \"")) << parsed;
        }
      } else if (std::string(form) == "--null") {
        EXPECT_EQ(NullFields(r.out), (std::vector<std::string>{a, dir + "/A.jpg", b, b}));
      } else {
        // One line per target; the controls of the name as escapes.
        const std::string shown = tree_ / "we\"ird\\tdir\\nname 'q'";
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << r.out;
        EXPECT_EQ(r.out.find(shown + "/a.jpg\tA.jpg\t"), r.out.find('\t') + 1) << r.out;
      }
      // Put back for the next form.
      if (Exists(dir + "/A.jpg")) {
        ASSERT_EQ(rename((dir + "/A.jpg").c_str(), a.c_str()), 0);
      }
    }
  }

  // runs: one object per run, and --null's four fields per run.
  Result r = RunCli({"--home", home_.path(), "--json", "runs"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string parsed = ParsedByPython(r.out);
  EXPECT_EQ(std::count(parsed.begin(), parsed.end(), '\n'), 3) << parsed;
  EXPECT_NE(parsed.find(" true false \"2ファイル\" \"【大文字変換】【変換対象文字：全角,半角】【拡張子除く】\"\n"),
            std::string::npos)
      << parsed;
  r = RunCli({"--home", home_.path(), "-0", "runs"});
  const std::vector<std::string> fields = NullFields(r.out);
  ASSERT_EQ(fields.size(), 12u) << r.out;
  EXPECT_EQ(fields[1], "未");
  EXPECT_EQ(fields[2], "2ファイル");
}

}  // namespace
}  // namespace morva
