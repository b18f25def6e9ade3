// An undo from the log stays in the tree the run was logged in: a line whose directory leaves it (a
// tampered "..\", another tree) or lies below a target directory that is a link now is refused, and
// nothing outside changes.
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/test_util.h"
#include "undo/undo_from_log.h"

namespace morva {
namespace {

using testing::Exists;
using testing::ReadFile;

class UndoLoggedTreeTest : public testing::EngineFixture {
 protected:
  std::string Line(const std::string& utf8) { return "2024/05/06 07:08:09  " + S(utf8) + "\n"; }
  std::string LineCp932(const std::string& cp932) { return "2024/05/06 07:08:09  " + cp932 + "\n"; }

  // A run block of a name job: the header's target line (code page 932) and, for each directory (an
  // engine path), one renamed file "<x>.txt" -> "<X>.txt".
  std::string RunBlock(const std::string& target_line, const std::vector<std::pair<std::string, std::string>>& lines) {
    std::string log = Line("■ MORVA - Version 6 - 変換実行開始 ■");
    log += LineCp932(target_line);
    log += Line("変換機能：【大文字変換】【変換対象文字：全角,半角】【拡張子除く】");
    for (const auto& [directory, name] : lines) {
      log += LineCp932(S("ディレクトリ：") + directory);
      std::string upper = name;
      upper[0] = static_cast<char>(upper[0] - 'a' + 'A');
      log += Line("[○名称変換]  *対象<" + name + "> → *名称変換<" + upper + ">");
    }
    log += Line("完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1");
    return log;
  }
};

TEST_F(UndoLoggedTreeTest, LinesLeavingTheTreeAreRefusedAndNothingOutsideChanges) {
  struct Case {
    const char* what;
    bool list;          // a run of a list of files, else of the directory "tree"
    bool tree_is_link;  // "tree" is swapped for a link to "outside" after the run
    std::vector<std::pair<std::string, std::string>> lines;  // directory below the test directory, name
    int refused;
  };
  const std::vector<Case> cases = {
      {"inside the tree", false, false, {{"tree", "a.txt"}, {"tree\\sub", "s.txt"}}, 0},
      {"a dotted way out", false, false, {{"tree", "a.txt"}, {"tree\\..\\outside", "o.txt"}}, 1},
      {"another tree", false, false, {{"tree", "a.txt"}, {"outside", "o.txt"}}, 1},
      {"a directory beside the tree named like it", false, false, {{"tree", "a.txt"}, {"tree2", "t.txt"}}, 1},
      {"the tree is a link now", false, true, {{"tree", "o.txt"}}, 1},
      {"a list, a dotted way out", true, false, {{"tree", "a.txt"}, {"tree\\..\\outside", "o.txt"}}, 1},
      {"a list, a directory that is a link now", true, true, {{"tree", "o.txt"}}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const testing::TempDir base;
    auto at = [&](const std::string& rel) { return base.Sub(rel); };
    for (const char* d : {"tree", "tree/sub", "tree2", "outside"}) ASSERT_EQ(mkdir(at(d).c_str(), 0755), 0);
    for (const char* f : {"tree/A.txt", "tree/sub/S.txt", "tree2/T.txt", "outside/O.txt"}) testing::WriteFile(at(f), f);
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& [directory, name] : c.lines) lines.emplace_back(E(base.path()) + "\\" + directory, name);
    const std::string target_line =
        c.list ? S("指定対象ファイル数：2") : S("対象ディレクトリ（ファイル）：") + E(at("tree"));
    ASSERT_TRUE(home.WriteFile("mvlogs.txt", RunBlock(target_line, lines)));
    if (c.tree_is_link) {
      ASSERT_EQ(rename(at("tree").c_str(), at("tree.real").c_str()), 0);
      ASSERT_EQ(symlink(at("outside").c_str(), at("tree").c_str()), 0);
    }

    ui.messages.clear();
    LogUndoResult result;
    UndoFromLog(session.log_context(), &session.undo, E(home.Sub("mvlogs.txt")), "", &result);
    EXPECT_TRUE(Exists(at("outside/O.txt")));
    EXPECT_FALSE(Exists(at("outside/o.txt")));
    EXPECT_TRUE(Exists(at("tree2/T.txt")));
    const std::string log = U(ReadFile(home.Sub("mvlogs.txt")));
    std::size_t refused = 0;
    for (std::size_t p = log.find("[▲戻しログ読取エラー（ディレクトリ）]"); p != std::string::npos;
         p = log.find("[▲戻しログ読取エラー（ディレクトリ）]", p + 1)) {
      ++refused;
    }
    EXPECT_EQ(refused, static_cast<std::size_t>(c.refused));
    if (!c.tree_is_link) {
      // What stays in the tree is undone all the same.
      EXPECT_TRUE(Exists(at("tree/a.txt")));
      EXPECT_EQ(Exists(at("tree/sub/s.txt")), c.lines.size() > 1 && c.lines[1].first == "tree\\sub");
    }
  }
}

}  // namespace
}  // namespace morva
