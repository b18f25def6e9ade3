// Undo of a run from memory and from hand-written log text: names, times, attributes, chains, a taken
// original name, cancel and resume.

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "fileops/date_time_text.h"
#include "log/log_writer.h"
#include "platform/file_system_wrapper.h"
#include "undo/undo_from_log.h"
#include "undo/undo_run.h"

namespace morva {
namespace {

using testing::ReadFile;
using Message = testing::ScriptedUi::Message;

class UndoTest : public testing::EngineFixture {
 protected:
  FindData StatOf(const std::string& rel) {
    FindData data;
    EXPECT_TRUE(fs.Stat(E(dir.Sub(rel)), &data).ok()) << rel;
    return data;
  }

  // A log line under a fixed time stamp.
  std::string Line(const std::string& utf8, const std::string& stamp = "2024/05/06 07:08:09") {
    return stamp + "  " + S(utf8) + "\n";
  }

  // A run block of a name job in directory mode over the test directory, with the given target lines.
  std::string RunBlock(const std::string& stamp, const std::vector<std::string>& targets,
                       const std::string& function = "【大文字変換】【変換対象文字：全角,半角】【拡張子除く】") {
    std::string log = Line("■ MORVA - Version 6 - 変換実行開始 ■", stamp);
    log += Line("変換対象指定方式：【指定ディレクトリ下の変換】", stamp);
    log += Line("対象ディレクトリ（ファイル）：" + dir.path(), stamp);
    log += Line("変換対象設定内容：", stamp);
    log += Line("変換機能：" + function, stamp);
    log += Line("ディレクトリ：Z:" + Backslashed(dir.path()), stamp);
    for (const std::string& t : targets) log += Line(t, stamp);
    log += Line("変換が全て正常に終了しました。", stamp);
    log += Line("完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1", stamp);
    return log;
  }

  static std::string Backslashed(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }

  std::string LogPath() { return E(home.Sub("mvlogs.txt")); }
  void WriteLog(const std::string& text) { ASSERT_TRUE(home.WriteFile("mvlogs.txt", text)); }
};

TEST_F(UndoTest, FromMemoryRestoresNamesAndTimesToTheMillisecond) {
  MakeFile("a.txt", "a");
  MakeFile("b.txt", "b");
  MakeFile("C.txt", "c");
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  ASSERT_EQ(session.undo.size(), 2u);  // C.txt needed nothing
  EXPECT_EQ(session.undo.Head().current_path, E(dir.Sub("B.txt")));
  EXPECT_EQ(session.undo.Head().restore_path, E(dir.Sub("b.txt")));

  // The times this run would have changed: B.txt's old times are in its record, its present ones differ.
  CalendarTime when{2019, 3, 4, 5, 6, 7, 891};
  FileTime creation = 0, write = 0, access = 0;
  ASSERT_TRUE(LocalToFileTime(when, &write));
  when.millisecond = 123;
  ASSERT_TRUE(LocalToFileTime(when, &access));
  when.year = 2001;
  ASSERT_TRUE(LocalToFileTime(when, &creation));
  UndoRecord record = session.undo.Head();
  session.undo.PopHead();
  ASSERT_TRUE(format_file_time(creation, true, &record.creation_time));
  ASSERT_TRUE(format_file_time(write, true, &record.write_time));
  ASSERT_TRUE(format_file_time(access, true, &record.access_time));
  session.undo.Push(record);
  // A read-only target gets its times back and stays read-only.
  ASSERT_TRUE(fs.SetAttributes(E(dir.Sub("B.txt")), kAttrReadOnly).ok());

  ui.messages.clear();
  ui.progress.clear();
  EXPECT_TRUE(UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09").ok);
  EXPECT_TRUE(session.undo.empty());
  // The progress dialog counts the undo's targets as it goes.
  ASSERT_EQ(ui.progress.size(), 2u);
  EXPECT_EQ(ui.progress[0].counts, S("0 / 2 完了 （0%）"));
  EXPECT_EQ(ui.progress[1].counts, S("1 / 2 完了 （50%）"));
  EXPECT_EQ(ui.progress[1].title, S("MORVA - 変換状況（50%）"));
  const FindData b = StatOf("b.txt");  // before reading it moves the access time
  EXPECT_EQ(b.last_write_time, write);
  EXPECT_EQ(b.last_access_time, access);
  EXPECT_EQ(b.creation_time, creation);
  EXPECT_TRUE(b.attributes & kAttrReadOnly);
  EXPECT_EQ(ReadFile(dir.Sub("a.txt")), "a");
  EXPECT_EQ(ReadFile(dir.Sub("b.txt")), "b");
  EXPECT_EQ(ReadFile(dir.Sub("C.txt")), "c");
  EXPECT_FALSE(testing::Exists(dir.Sub("A.txt")));
  EXPECT_FALSE(testing::Exists(dir.Sub("B.txt")));

  EXPECT_EQ(ui.Texts(Message::kInformation),
            std::vector<std::string>{S("全て元に戻すことに成功しました。\n\n完全成功：2 / 一部成功：0 / 完全失敗：0 / "
                                       "総数：2　　")});
  // Nothing is left to undo.
  ui.messages.clear();
  const UndoResult again = UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09");
  EXPECT_TRUE(again.ok);
  EXPECT_EQ(again.counters.processed, 0);
}

TEST_F(UndoTest, TakenOriginalNameFailsThatTargetAndLosesNothing) {
  MakeFile("a.txt", "old a");
  MakeFile("b.txt", "old b");
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  MakeFile("a.txt", "someone else's a");  // the original name is taken meanwhile

  ui.messages.clear();
  const UndoResult undone = UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09");
  EXPECT_FALSE(undone.ok);
  EXPECT_EQ(ReadFile(dir.Sub("A.txt")), "old a");
  EXPECT_EQ(ReadFile(dir.Sub("a.txt")), "someone else's a");
  EXPECT_EQ(ReadFile(dir.Sub("b.txt")), "old b");
  EXPECT_EQ(undone.counters.full_failure, 1);
  EXPECT_EQ(undone.counters.full_success, 1);
  EXPECT_EQ(ui.Texts(Message::kInformation),
            std::vector<std::string>{S("元に戻すことに失敗したファイルがありました。ログを参照してください。\n\n完全成功："
                                       "1 / 一部成功：0 / 完全失敗：1 / 総数：2　　")});
}

TEST_F(UndoTest, DirectorySwappedForALinkAfterTheRunFailsItsTargetsAndNothingOutsideChanges) {
  session.job.app.sw_set[2] = true;  // subdirectories
  for (const bool from_log : {false, true}) {
    const std::string what = from_log ? "log" : "memory";
    SCOPED_TRACE(what);
    const std::string base = dir.Sub(what);
    for (const char* d : {"", "/home", "/tree", "/tree/a", "/tree/b", "/outside"}) MakeDir(what + d);
    MakeFile(what + "/tree/a/a.txt", "a");
    MakeFile(what + "/tree/b/b.txt", "b");
    MakeFile(what + "/outside/B.txt", "outside");
    session.host.program_directory = E(base + "/home");  // a log of its own
    session.job.app.dirfil[0] = E(base + "/tree");
    ASSERT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
    ASSERT_EQ(session.run.counters.full_success, 2);
    ASSERT_TRUE(testing::SwapForLink(base + "/tree/b", base + "/outside"));

    UndoResult undone;
    if (from_log) {
      LogUndoResult from_the_log;
      EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, morva::LogPath(session.host), "", &from_the_log),
                LogUndoOutcome::kUndone);
      undone = from_the_log.undo;
    } else {
      undone = UndoRun(session.log_context(), &session.undo, false, session.log.run_id);
    }
    EXPECT_FALSE(undone.ok);
    EXPECT_EQ(testing::HostNames(base + "/outside"), std::vector<std::string>{"B.txt"});
    EXPECT_EQ(ReadFile(base + "/outside/B.txt"), "outside");
    EXPECT_EQ(testing::HostNames(base + "/tree/b.real"), std::vector<std::string>{"B.txt"});
    EXPECT_EQ(ReadFile(base + "/tree/a/a.txt"), "a");
    EXPECT_EQ(undone.counters.full_success, 1);
    EXPECT_EQ(undone.counters.full_failure, 1);
  }
}

// Renaming an entry back changes the times of its directory: a directory whose times came back before
// the names inside it (its record is newer) has them put back once more at the end.
TEST_F(UndoTest, ADirectoryKeepsItsRestoredTimesWhenNamesInsideComeBackAfterThem) {
  MakeDir("sub");
  MakeFile("sub/X.txt");
  session.undo.Push(UndoRecord{E(dir.Sub("sub/X.txt")), E(dir.Sub("sub/x.txt")), 0, 0, "", "", ""});
  session.undo.Push(UndoRecord{E(dir.Sub("sub")), "", 0, 0, "", "2001/02/03 04:05:06.700", ""});
  ui.messages.clear();
  EXPECT_TRUE(UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09").ok);
  EXPECT_TRUE(testing::Exists(dir.Sub("sub/x.txt")));
  std::string write;
  ASSERT_TRUE(format_file_time(StatOf("sub").last_write_time, true, &write));
  EXPECT_EQ(write, "2001/02/03 04:05:06.700");
}

TEST_F(UndoTest, CancelLeavesTheRestForTheNextUndo) {
  MakeFile("a.txt");
  MakeFile("b.txt");
  MakeFile("c.txt");
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  ui.polls = 0;
  ui.cancel_after_polls = 1;
  ui.messages.clear();
  const UndoResult cancelled = UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09");
  EXPECT_TRUE(cancelled.ok);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_EQ(cancelled.counters.processed, 1);
  EXPECT_TRUE(testing::Exists(dir.Sub("c.txt")));  // newest first
  EXPECT_TRUE(testing::Exists(dir.Sub("A.txt")));
  EXPECT_EQ(session.undo.size(), 2u);
  EXPECT_EQ(ui.Texts(Message::kInformation).back(),
            S("キャンセル時点までに元に戻すことに失敗したファイルはありません。\n\n完全成功：1 / 一部成功：0 / "
              "完全失敗：0 / 総数：1　　"));

  ui.cancel_after_polls = -1;
  const UndoResult rest = UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09");
  EXPECT_TRUE(rest.ok);
  EXPECT_EQ(rest.counters.processed, 2);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));
  EXPECT_TRUE(testing::Exists(dir.Sub("b.txt")));
  EXPECT_FALSE(testing::Exists(dir.Sub("A.txt")));
}

TEST_F(UndoTest, AttributesFromMemoryAreSetFromTheLogMerged) {
  MakeFile("m.txt");
  MakeFile("l.txt");
  MakeFile("e.txt");
  ASSERT_TRUE(fs.SetAttributes(E(dir.Sub("m.txt")), kAttrHidden | kAttrSystem).ok());
  ASSERT_TRUE(fs.SetAttributes(E(dir.Sub("l.txt")), kAttrHidden | kAttrSystem).ok());
  ASSERT_TRUE(fs.SetAttributes(E(dir.Sub("e.txt")), kAttrHidden | kAttrReadOnly | kAttrArchive).ok());

  UndoRecord m;
  m.current_path = E(dir.Sub("m.txt"));
  m.attributes = kAttrArchive;
  session.undo.Push(m);
  EXPECT_TRUE(UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09").ok);
  EXPECT_EQ(StatOf("m.txt").attributes & kAttrSettable, kAttrArchive);

  // From the log: the logged letters replace R, H, S and A; an empty set clears all four.
  UndoRecord l;
  l.current_path = E(dir.Sub("l.txt"));
  l.attributes = kAttrReadOnly | kAttrDirectory;
  UndoRecord e;
  e.current_path = E(dir.Sub("e.txt"));
  e.attributes = kUndoEmptyAttributes;
  session.undo.Push(l);
  session.undo.Push(e);
  EXPECT_TRUE(UndoRun(session.log_context(), &session.undo, true, "2024/05/06 07:08:09").ok);
  EXPECT_EQ(StatOf("l.txt").attributes & (kAttrSettable | kAttrDirectory), kAttrReadOnly);
  EXPECT_EQ(StatOf("e.txt").attributes & kAttrSettable, 0u);
}

TEST_F(UndoTest, PartialFailureIsCountedAndReported) {
  MakeFile("b.txt");
  UndoRecord r;
  r.current_path = E(dir.Sub("b.txt"));
  r.restore_path = E(dir.Sub("a.txt"));
  r.attributes = kAttrArchive;
  session.undo.Push(r);
  fs.FailOn(FsOp::kSetAttributes, "b.txt", EIO);
  const UndoResult undone = UndoRun(session.log_context(), &session.undo, false, "2024/05/06 07:08:09");
  EXPECT_FALSE(undone.ok);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));
  EXPECT_EQ(undone.counters.partial_success, 1);
  EXPECT_EQ(ui.Texts(Message::kInformation).back(),
            S("元に戻すことに失敗したファイルがありました。ログを参照してください。\n\n完全成功：0 / 一部成功：1 / "
              "完全失敗：0 / 総数：1　　"));
}

// A file system that refuses to make anything read-only, so a target whose times needed its read-only
// flag lifted cannot get it back.
class ReadOnlyRefusedFileSystem : public FileSystemWrapper {
 public:
  using FileSystemWrapper::FileSystemWrapper;
  Status SetAttributes(std::string_view path, std::uint32_t attributes) override {
    if (attributes & kAttrReadOnly) return Status::Error(EIO, "injected fault");
    return FileSystemWrapper::SetAttributes(path, attributes);
  }
};

TEST_F(UndoTest, ReadOnlyFlagLostWhileRestoringTimesIsAFailure) {
  const struct {
    const char* name;
    bool refuse_read_only;
    std::uint32_t recorded_attributes;  // 0: the record restores no attributes
    bool undone;                        // UndoRun's answer
    bool read_only_after;
    const char* failure_line;  // in the log, or "" for none
  } cases[] = {
      {"kept.txt", false, 0, true, true, ""},
      {"lost.txt", true, 0, false, false,
       "[▲属性戻し失敗]  *対象<lost.txt> → *戻し更新日時<2019/03/04 05:06:07.891>\n"},
      // The recorded attributes, set after the times, are what the undo owes the target.
      {"recorded.txt", true, kAttrArchive, true, false, ""},
  };
  FileTime write = 0;
  ASSERT_TRUE(LocalToFileTime(CalendarTime{2019, 3, 4, 5, 6, 7, 891}, &write));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MakeFile(c.name);
    ASSERT_TRUE(fs.SetAttributes(E(dir.Sub(c.name)), kAttrReadOnly).ok());
    ReadOnlyRefusedFileSystem refusing(&fs);
    Session undo_session(*codec, c.refuse_read_only ? static_cast<FileSystem&>(refusing) : fs, ui);
    undo_session.host.program_directory = session.host.program_directory;
    UndoRecord r;
    r.current_path = E(dir.Sub(c.name));
    r.attributes = c.recorded_attributes;
    r.write_time = "2019/03/04 05:06:07.891";
    undo_session.undo.Push(r);

    const UndoResult undone = UndoRun(undo_session.log_context(), &undo_session.undo, false, "2024/05/06 07:08:09");
    EXPECT_EQ(undone.ok, c.undone);
    EXPECT_EQ(undone.counters.partial_success, c.undone ? 0 : 1);
    const FindData after = StatOf(c.name);
    EXPECT_EQ(after.last_write_time, write);
    EXPECT_EQ((after.attributes & kAttrReadOnly) != 0, c.read_only_after);
    const std::string log_text = ReadFile(home.Sub("mvlogs.txt"));
    EXPECT_EQ(log_text.find(S("失敗]  *対象<") + c.name) != std::string::npos, *c.failure_line != '\0');
    if (*c.failure_line != '\0') {
      EXPECT_NE(log_text.find(S(c.failure_line)), std::string::npos);
    }
  }
}

TEST_F(UndoTest, ChainUndoneInReverseFromTheLog) {
  MakeFile("c.txt", "content");
  WriteLog(RunBlock("2024/05/06 07:08:09", {"[○名称変換]  *対象<a.txt> → *名称変換<b.txt>",
                                            "[○名称変換]  *対象<b.txt> → *名称変換<c.txt>"}));
  LogUndoResult ok;
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "", &ok), LogUndoOutcome::kUndone);
  EXPECT_TRUE(ok.undo.ok);
  EXPECT_EQ(ReadFile(dir.Sub("a.txt")), "content");
  EXPECT_FALSE(testing::Exists(dir.Sub("b.txt")));
  EXPECT_FALSE(testing::Exists(dir.Sub("c.txt")));
  EXPECT_EQ(ui.Texts(Message::kQuestion),
            std::vector<std::string>{S("指定の変換結果ログから元に戻します。よろしいですか？")});
}

TEST_F(UndoTest, RunAlreadyUndoneIsNotTakenByDefaultAndAsksWithItsNote) {
  MakeFile("a.txt", "a");
  std::string log = RunBlock("2024/05/06 07:08:09", {"[○名称変換]  *対象<a.txt> → *名称変換<A.txt>"});
  log += Line("◇ MORVA - Version 6 - 「ログから元に戻す」（2024/05/06 07:08:09）実行開始 ◇", "2024/05/06 08:00:00");
  log += Line("全て元に戻すことに成功しました。", "2024/05/06 08:00:00");
  log += Line("完全成功：1 / 一部成功：0 / 完全失敗：0 / 総数：1", "2024/05/06 08:00:00");
  WriteLog(log);
  LogUndoResult ok;
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "", &ok), LogUndoOutcome::kAllUndone);

  // Asked for by its identifier: the question carries the note; No changes nothing.
  ui.answers = {false};
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "2024/05/06 07:08:09", &ok), LogUndoOutcome::kDeclined);
  EXPECT_EQ(ui.Texts(Message::kQuestion).back(),
            S("指定の変換結果ログから元に戻します。よろしいですか？\n\n　・既に「元に戻す」が実行されているログです。"));
  // Yes: the name is back already, so the target is passed over and the file stays as it is.
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "2024/05/06 07:08:09", &ok), LogUndoOutcome::kUndone);
  EXPECT_TRUE(ok.undo.ok);
  EXPECT_EQ(ReadFile(dir.Sub("a.txt")), "a");
  EXPECT_EQ(ok.undo.counters.not_needed, 1);
}

TEST_F(UndoTest, HandDamagedLogUndoesWhatItCanRead) {
  MakeFile("B.txt", "b");
  MakeFile("D.txt", "d");
  MakeFile("F.txt", "f");
  MakeFile("secret", "keep");
  std::string log = Line("a line from another program") + "\n" + "short\n" + std::string(3000, 'x') + "\n";
  log += RunBlock("2024/05/06 07:08:09",
                  {"[○名称変換]  *対象<b.txt> → *名称変換<B.txt>",
                   "[○名称変換] [○日時変換]  *対象<c.txt> *作成日時<2013/13/01 00:00:00.000> → *名称変換<C.txt>",
                   "[○名称変換]  *対象<d.txt> → *名称変換<D.txt>",
                   "[○名称変換]  *対象<e.txt> → *名称変換<..\\..\\secret>",
                   "[○属性変換]  *対象<f.txt> *属性<RA → *属性変換<A",
                   "[○名称変換]  *対象<f.txt> → *名称変換<>",
                   "[○名称変換]  *対象<",
                   "[▲名称変換失敗]  *対象<g.txt>",
                   "garbage [○ *対象<x>",
                   "[○日時変換]  *対象<F.txt> *更新日時<2020/01/02 03:04:05.6> → *更新日時変換<2021/01/01 00:00:00.000>"});
  WriteLog(log);

  LogUndoResult ok;
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "", &ok), LogUndoOutcome::kUndone);
  EXPECT_TRUE(ok.undo.ok);
  EXPECT_EQ(ReadFile(dir.Sub("b.txt")), "b");
  EXPECT_EQ(ReadFile(dir.Sub("d.txt")), "d");
  EXPECT_EQ(ReadFile(dir.Sub("F.txt")), "f");
  EXPECT_EQ(ReadFile(dir.Sub("secret")), "keep");
  const std::vector<std::string> questions = ui.Texts(Message::kQuestion);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[1], S("ログ内容が不正のため抽出に失敗した変換ログがありました。ログを参照してください。\nこのまま「元に戻す」を"
                            "実行してもよろしいですか？\n\n成功：2 / 不要：0 / 失敗：5 / 総数：7　　"));
  // The read errors in the extraction block: the failing fields, the path, the rest of the line.
  const std::string log_text = ReadFile(home.Sub("mvlogs.txt"));
  EXPECT_NE(log_text.find(S("  [▲戻しログ読取エラー（作成日時）] *対象<") + E(dir.Sub("c.txt")) +
                          S(">  *作成日時<2013/13/01 00:00:00.000> → *名称変換<C.txt>\n")),
            std::string::npos);
  EXPECT_NE(log_text.find(S("  [▲戻しログ読取エラー（属性）] *対象<") + E(dir.Sub("f.txt")) + S(">  *属性<RA → *属性変換<A\n")),
            std::string::npos);
  EXPECT_NE(log_text.find(S("  ログ内容が不正のため抽出に失敗した変換ログがありました。\n")), std::string::npos);

  // No to the question after the read errors: nothing is undone and nothing is left to undo.
  MakeFile("x.txt");
  WriteLog(RunBlock("2024/05/06 09:00:00", {"[○名称変換]  *対象<y.txt> → *名称変換<x.txt>",
                                            "[○名称変換]  *対象<z.txt> → *名称変換<>"}));
  ui.answers = {true, false};
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "", &ok), LogUndoOutcome::kDeclined);
  EXPECT_TRUE(testing::Exists(dir.Sub("x.txt")));
  EXPECT_TRUE(session.undo.empty());
}

TEST_F(UndoTest, RunsThatCannotBeUndone) {
  LogUndoResult ok;
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "", &ok), LogUndoOutcome::kNoLog);
  EXPECT_EQ(ui.Texts(Message::kWarning).back(), S("ログが見つかりませんでした。"));
  WriteLog(Line("nothing here"));
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "", &ok), LogUndoOutcome::kNoRuns);
  EXPECT_EQ(ui.Texts(Message::kWarning).back(), S("ログには変換実行結果がありませんでした。"));

  WriteLog(RunBlock("2024/05/06 07:08:09", {"[○ファイル削除]  *対象<a.txt> → *ファイル削除"}, "【ファイル削除】") +
           RunBlock("2024/05/06 07:08:10", {"[▲名称変換失敗]  *対象<a.txt>"}));
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "2024/05/06 07:08:09", &ok), LogUndoOutcome::kNotUndoable);
  EXPECT_EQ(ui.Texts(Message::kWarning).back(), S("指定のログからは元に戻すことができません。"));
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "", &ok), LogUndoOutcome::kNothingToUndo);
  EXPECT_EQ(ui.Texts(Message::kInformation).back(), S("ログには元に戻すものが存在しませんでした。"));
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(), "2000/01/01 00:00:00", &ok), LogUndoOutcome::kUnknownRun);

  // An undo record of the last run waiting: the question says it will be lost.
  session.undo.Push(UndoRecord{});
  LoggedRun run;
  run.undone = true;
  EXPECT_EQ(UndoFromLogQuestion(session.host.codec, session.undo, run),
            S("指定の変換結果ログから元に戻します。よろしいですか？\n\n　・既に「元に戻す」が実行されているログです。\n　・"
              "実行すると「元に戻す」ことはできなくなります。"));
}

}  // namespace
}  // namespace morva
