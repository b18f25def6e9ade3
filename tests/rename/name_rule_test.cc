#include "engine/name_step.h"
#include "rename/name_rule.h"

#include <string>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"

namespace morva {
namespace {

class NameRuleTest : public testing::EngineFixture {
 protected:
  // Applies the job's rule to `text`; returns the result or "<failed 0x...>".
  std::string Apply(std::string text) {
    std::uint32_t failure = 0;
    const bool ok = ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure);
    EXPECT_EQ(ok, failure == 0);
    if (!ok) return "<failed " + std::to_string(failure) + ">";
    return text;
  }
};

TEST_F(NameRuleTest, NoRuleLeavesTheText) {
  session.job.settings.sw_fnm = 0;
  EXPECT_EQ(Apply("Mixed Case.txt"), "Mixed Case.txt");
}

TEST_F(NameRuleTest, GeneralRuleReadsTheJob) {
  session.job.settings.fnm_ipn2 = 3;  // capitalised
  session.job.settings.fnm_ipnf = 1;  // after spaces
  EXPECT_EQ(Apply("ABC def_ghi"), "Abc Def_ghi");
  session.job.settings.fnm_ipnf = 5;  // and after others
  EXPECT_EQ(Apply("ABC def_ghi"), "Abc Def_Ghi");
  session.job.settings.fnm_ipn2 = 2;
  session.job.settings.fnm_ipn_tgc = 1;  // full-width only: half-width letters stay
  EXPECT_EQ(Apply("ABC"), "ABC");

  // Bracket pairs by their SW_KAKKO position: only pair 2, "(" ")".
  session.job.settings.fnm_ipn_sel = 4;
  session.job.settings.fnm_ipn4 = 1;
  session.job.settings.sw_kakko.fill(false);
  session.job.settings.sw_kakko[1] = true;
  EXPECT_EQ(Apply("[a](b)x"), "[a]x");
  session.job.settings.fnm_ipn4 = 2;
  EXPECT_EQ(Apply("[a](b)x"), "[a]bx");

  // With the extension in the text, a bracketed part reaching into the target's extension stays.
  session.job.settings.fnm_ipn4 = 1;
  session.job.settings.fnm_01 = false;
  session.run.target.extension = "(c)";
  EXPECT_EQ(Apply("a(b).(c)"), "a.(c)");
  session.job.settings.fnm_01 = true;
  EXPECT_EQ(Apply("a(b).(c)"), "a.");

  // Zero padding and its failure.
  session.job.settings.fnm_ipn_sel = 8;
  session.job.settings.fnm_ipnd = 4;
  session.job.settings.fnm_ipne = false;
  EXPECT_EQ(Apply("track7-10"), "track0007-0010");
  session.job.settings.fnm_ipnd = 9;
  EXPECT_EQ(Apply("track7"), "<failed 256>");
}

TEST_F(NameRuleTest, UnknownRuleFailsTheTarget) {
  session.job.settings.sw_fnm = 9;
  EXPECT_EQ(Apply("name"), "<failed 512>");
}

}  // namespace
}  // namespace morva
