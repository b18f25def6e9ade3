// Runs that write the real log, undone from it: the undo block's lines, a second undo of the same run,
// and random general-rule jobs over random trees that must come back exactly as they were.

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "log/log_writer.h"
#include "undo/undo_from_log.h"
#include "undo/undo_run.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

class UndoRoundTripTest : public testing::EngineFixture {
 protected:
  // The texts of the log's lines (time stamps cut off).
  std::vector<std::string> LogTexts() {
    std::vector<std::string> out;
    const std::string log = testing::ReadFile(home.Sub("mvlogs.txt"));
    std::size_t start = 0;
    while (start < log.size()) {
      std::size_t end = log.find('\n', start);
      if (end == std::string::npos) end = log.size();
      out.push_back(end - start > kLogTextOffset ? log.substr(start + kLogTextOffset, end - start - kLogTextOffset)
                                                 : std::string());
      start = end + 1;
    }
    return out;
  }

  // The tree below `root`: relative host path -> content ("/" for a directory).
  void Walk(const testing::TempDir& root, const std::string& rel, std::map<std::string, std::string>* out) {
    std::vector<FindData> entries;
    ASSERT_TRUE(fs.FindFiles(E(rel.empty() ? root.path() : root.Sub(rel)), "*", &entries, nullptr).ok());
    for (const FindData& e : entries) {
      std::string name;
      ASSERT_TRUE(codec->Cp932ToUtf8(e.name, &name).ok());
      const std::string path = rel.empty() ? name : rel + "/" + name;
      if (e.attributes & kAttrDirectory) {
        (*out)[path] = "/";
        Walk(root, path, out);
      } else {
        (*out)[path] = testing::ReadFile(root.Sub(path));
      }
    }
  }
};

TEST_F(UndoRoundTripTest, UndoFromTheLogWritesItsBlockAndMarksTheRunUndone) {
  session.job.app.sw_opt[8] = true;  // successes of the undo are logged too
  MakeFile("a.txt", "a");
  MakeFile("b.txt", "b");
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  const std::string run_id = session.log.run_id;
  ASSERT_EQ(run_id.size(), 19u);
  session.undo.Clear();  // a new program: only the log remembers the run

  LogUndoResult ok;
  ASSERT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", &ok), LogUndoOutcome::kUndone);
  EXPECT_TRUE(ok.undo.ok);
  EXPECT_TRUE(testing::Exists(dir.Sub("a.txt")));
  EXPECT_TRUE(testing::Exists(dir.Sub("b.txt")));

  const std::vector<std::string> texts = LogTexts();
  const auto extraction = std::find(texts.begin(), texts.end(),
                                    S("▽ MORVA - Version 6 - 「ログから元に戻す」（" + run_id + "）ログ抽出 ▽"));
  ASSERT_NE(extraction, texts.end());
  const std::vector<std::string> tail(extraction + 1, texts.end());
  const std::vector<std::string> expected = {
      S("全ての変換ログ抽出に成功しました。"),
      S("成功：2 / 不要：0 / 失敗：0 / 総数：2"),
      S("◇ MORVA - Version 6 - 「ログから元に戻す」（" + run_id + "）実行開始 ◇"),
      S("ディレクトリ：") + E(dir.path()),
      S("[○名称戻し]  *対象<B.txt> → *戻し名称<b.txt>"),
      S("[○名称戻し]  *対象<A.txt> → *戻し名称<a.txt>"),
      S("全て元に戻すことに成功しました。"),
      S("完全成功：2 / 一部成功：0 / 完全失敗：0 / 総数：2"),
  };
  EXPECT_EQ(tail, expected);

  // The run is undone now: not taken by default; asked for again, its names are back already and
  // nothing moves.
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", &ok), LogUndoOutcome::kAllUndone);
  ui.messages.clear();
  EXPECT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), run_id, &ok), LogUndoOutcome::kUndone);
  EXPECT_TRUE(ok.undo.ok);
  EXPECT_EQ(ui.Texts(Message::kQuestion).front(),
            S("指定の変換結果ログから元に戻します。よろしいですか？\n\n　・既に「元に戻す」が実行されているログです。"));
  EXPECT_EQ(ok.undo.counters.not_needed, 2);
  EXPECT_EQ(testing::ReadFile(dir.Sub("a.txt")), "a");
  EXPECT_EQ(LogTexts().back(), S("完全成功：2 / 一部成功：0 / 完全失敗：0 / 総数：2"));
}

TEST_F(UndoRoundTripTest, UndoOfTheLastRunQuotesItsIdentifierAndLogsOnlyFailures) {
  MakeFile("a.txt", "a");
  MakeFile("b.txt", "b");
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  MakeFile("a.txt", "taken");
  EXPECT_FALSE(UndoRun(session.log_context(), &session.undo, false, session.log.run_id).ok);
  const std::vector<std::string> texts = LogTexts();
  ASSERT_GE(texts.size(), 5u);
  const std::vector<std::string> tail(texts.end() - 5, texts.end());
  const std::vector<std::string> expected = {
      S("◇ MORVA - Version 6 - 「元に戻す」（" + session.log.run_id + "）実行開始 ◇"),
      S("ディレクトリ：") + E(dir.path()),
      S("[▲名称戻し失敗]  *対象<A.txt> →"),
      S("元に戻すことに失敗したファイルがありました。"),
      S("完全成功：1 / 一部成功：0 / 完全失敗：1 / 総数：2"),
  };
  EXPECT_EQ(tail, expected);
}

TEST_F(UndoRoundTripTest, RandomJobsOverRandomTreesComeBackExactly) {
  std::mt19937 random(20240506);
  const std::vector<std::string> pieces = {"a", "B", "c1", "(x)", "Ab", " ", "12", "ｚ", "ア", "表", "-", "7"};
  ui.default_answer = true;
  int undone = 0;
  for (int round = 0; round < 500; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // A fresh small tree and a fresh log: runs sharing a log start a second apart, which 500 rounds
    // cannot wait for.
    unlink(home.Sub("mvlogs.txt").c_str());
    testing::TempDir tree;
    session.job.app.dirfil[0] = E(tree.path());
    const int files = 1 + static_cast<int>(random() % 5);
    const bool subdirectory = random() % 2 == 0;
    if (subdirectory) {
      ASSERT_EQ(mkdir(tree.Sub("Sub d").c_str(), 0755), 0);
    }
    for (int i = 0; i < files; ++i) {
      std::string name;
      const int parts = 1 + static_cast<int>(random() % 3);
      for (int p = 0; p < parts; ++p) name += pieces[random() % pieces.size()];
      name += random() % 2 ? ".txt" : ".Dat";
      const std::string rel = (subdirectory && random() % 2 ? "Sub d/" : "") + name;
      if (testing::Exists(tree.Sub(rel))) continue;
      ASSERT_TRUE(tree.WriteFile(rel, rel));
    }
    std::map<std::string, std::string> before;
    Walk(tree, "", &before);

    ConversionSettings& s = session.job.settings;
    s = ConversionSettings();
    s.sw_fnm = 1;
    s.fnm_ipn_sel = static_cast<std::uint8_t>(1 + random() % 15);
    s.fnm_ipn2 = static_cast<std::int16_t>(1 + random() % 3);
    s.fnm_ipnf = static_cast<std::int16_t>(random() % 8);
    s.fnm_ipng = static_cast<std::int16_t>(random() % 2 ? 1 : 2);
    s.fnm_ipnd = static_cast<std::int16_t>(1 + random() % 4);
    s.fnm_ipne = random() % 2 == 0;
    s.fnm_01 = random() % 4 != 0;
    session.job.app.sw_set[2] = subdirectory;
    session.job.app.sw_opt[1] = false;

    ui.messages.clear();
    StartConversion(session, RunMode::kRun, false);
    session.undo.Clear();
    LogUndoResult ok;
    const LogUndoOutcome outcome = UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", &ok);
    // A job that changed nothing leaves nothing to undo; otherwise the undo must succeed entirely.
    if (outcome == LogUndoOutcome::kUndone) {
      EXPECT_TRUE(ok.undo.ok);
      ++undone;
    }
    std::map<std::string, std::string> after;
    Walk(tree, "", &after);
    ASSERT_EQ(after, before);
  }
  EXPECT_GT(undone, 250);  // most jobs rename something
}

}  // namespace
}  // namespace morva
