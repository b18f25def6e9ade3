// Copy conversion whose output directory is the targets' own directory, under any path: no copy is made
// onto its own source, and a deletion after the copy never takes the only file.
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/test_trash.h"
#include "common/test_util.h"
#include "common/start_conversion.h"

namespace morva {
namespace {

using testing::ReadFile;

class CopyOntoSourceRunTest : public testing::EngineFixture {};

TEST_F(CopyOntoSourceRunTest, TargetFailsAndNothingIsLost) {
  ASSERT_FALSE(testing::TestTrash().empty());
  enum Output { kTreeItself, kLinkToTree, kHardLinkInOut };
  struct Case {
    const char* what;
    Output output;
    bool rename;                  // a name job (upper case; "A.TXT" keeps its name) instead of a deletion
    std::array<bool, 3> sw_del;   // with `rename` false
  };
  const Case cases[] = {
      {"tree itself, into the trash", kTreeItself, false, {true, false, false}},
      {"tree itself, permanent", kTreeItself, false, {true, true, false}},
      {"tree itself, wiped", kTreeItself, false, {true, true, true}},
      {"link to the tree, permanent", kLinkToTree, false, {true, true, false}},
      {"link to the tree, wiped", kLinkToTree, false, {true, true, true}},
      {"hard link in the output, permanent", kHardLinkInOut, false, {true, true, false}},
      {"tree itself, new name equal to the old", kTreeItself, true, {}},
      {"link to the tree, new name equal to the old", kLinkToTree, true, {}},
      {"hard link in the output, new name equal to the old", kHardLinkInOut, true, {}},
  };
  const std::string kData = "the only copy of these bytes";
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string tree = dir / ("tree" + std::to_string(n));
    const std::string out = dir / ("out" + std::to_string(n));
    ++n;
    ASSERT_EQ(mkdir(tree.c_str(), 0755), 0);
    testing::WriteFile(tree + "/A.TXT", kData);
    std::string output = tree;
    if (c.output == kLinkToTree) {
      output = tree + ".link";
      ASSERT_EQ(symlink(tree.c_str(), output.c_str()), 0);
    } else if (c.output == kHardLinkInOut) {
      output = out;
      ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
      ASSERT_EQ(link((tree + "/A.TXT").c_str(), (out + "/A.TXT").c_str()), 0);
    }
    session.job.app.dirfil[0] = E(tree);
    ASSERT_TRUE(session.job.app.cpdir.Assign(E(output)));
    session.job.app.cpovw = true;
    session.job.settings.sw_fnm = c.rename ? 1 : 0;
    session.job.settings.sw_del = c.sw_del;
    session.job.settings.del_01 = 3;

    ui.messages.clear();
    const ConversionResult result = StartConversion(session, RunMode::kRun, true);
    ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(result.counters.full_success, 0);
    EXPECT_EQ(result.counters.full_failure, 1);
    EXPECT_EQ(ReadFile(tree + "/A.TXT"), kData);
    EXPECT_EQ(testing::HostNames(tree), std::vector<std::string>{"A.TXT"});
    EXPECT_EQ(testing::Trashed(tree + "/A.TXT"), "");
  }
}

}  // namespace
}  // namespace morva
