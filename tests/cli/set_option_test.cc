#include "cli/set_option.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/text_codec.h"

namespace morva {
namespace {

constexpr DesktopGeometry kDesktop{1920, 1080, 640, 480};

class SetOptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
  }
  bool Set(const std::string& argument) {
    error_.clear();
    return ApplySetOption(*codec_, japanese_, argument, kDesktop, &job_, &app_, &error_);
  }

  std::unique_ptr<TextCodec> codec_;
  const ConsoleText japanese_{UiLanguage::kJapanese};
  ConversionSettings job_;
  AppSettings app_;
  std::string error_;
};

TEST_F(SetOptionTest, AppliesJobAndApplicationKeysAsTheFileReaderDoes) {
  EXPECT_TRUE(Set("SW_FNM=1")) << error_;
  EXPECT_TRUE(Set("fnm_ipn_sel=1")) << error_;  // keys are upper-cased
  EXPECT_TRUE(Set("FNM_IPN2 = 1")) << error_;   // the file's own form
  EXPECT_EQ(job_.sw_fnm, 1);
  EXPECT_EQ(job_.fnm_ipn_sel, 1);
  EXPECT_EQ(job_.fnm_ipn2, 1);
  EXPECT_TRUE(Set("OPT_1=25")) << error_;
  EXPECT_EQ(app_.opt_1, 25);
  EXPECT_TRUE(Set("PREW=0700")) << error_;  // the reader's number rules
  EXPECT_EQ(app_.prew, 700);
  // Restating the value in force, written as the file writes it, is accepted.
  EXPECT_TRUE(Set("FNM_IPN2=1")) << error_;
  EXPECT_TRUE(Set("SW_FNM=1")) << error_;
  // A text value in code page 932.
  EXPECT_TRUE(Set("FNM_CKN1=写真")) << error_;
  EXPECT_EQ(job_.fnm_ckn1.view(), "\x8e\xca\x90\x5e");
  // SW_SET's dependency rule: [4] cleared because [3] is off.
  EXPECT_TRUE(Set("SW_SET=110010000000")) << error_;
  EXPECT_FALSE(app_.sw_set[4]);
}

TEST_F(SetOptionTest, ReportsRefusalsAndLeavesBothRecordsUnchanged) {
  job_.fnm_ipn2 = 3;
  app_.prew = 650;
  const struct {
    const char* argument;
    const char* reason;
  } cases[] = {
      {"FNM_IPN2=9", "value refused for FNM_IPN2"},  // out of range
      {"FNM_IPN2=x", "value refused for FNM_IPN2"},
      {"PREW=599", "value refused for PREW"},         // application key, value rule
      {"PREW=12", "value refused for PREW"},          // application key, length rule
      {"SW_ATR=12", "value refused for SW_ATR"},      // job key, length rule
      {"NO_SUCH_KEY=1", "unknown key NO_SUCH_KEY"},
      {"FOO=9", "unknown key FOO"},
      {"DIRFILG=/a", "unknown key DIRFILG"},
      {"SW_FNM", "expected KEY=VALUE"},
      {"=1", "the key must be"},
      {"ABCDEFGHIJKLMNOPQ=1", "the key must be"},
      {"FNM_CKN1=\xF0\x9F\x98\x80", "holds a character for which no code page 932 code is left"},  // an emoji
      {"FNM_CKN1=a\nb", "line breaks"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Set(c.argument)) << c.argument;
    EXPECT_NE(error_.find(c.reason), std::string::npos) << c.argument << ": " << error_;
  }
  EXPECT_EQ(job_.fnm_ipn2, 3);
  EXPECT_EQ(app_.prew, 650);
  std::string block;
  job_.WriteKeys(&block);
  ConversionSettings expected;
  expected.fnm_ipn2 = 3;
  std::string expected_block;
  expected.WriteKeys(&expected_block);
  EXPECT_EQ(block, expected_block);

  // The first DIRFIL wins, as in the file; the message says how to name a target instead.
  app_.dirfil[0] = "Z:\\a";
  EXPECT_FALSE(Set("DIRFIL=Z:\\b"));
  EXPECT_NE(error_.find("command line"), std::string::npos) << error_;
  EXPECT_EQ(app_.dirfil[0], std::optional<std::string>("Z:\\a"));
}

}  // namespace
}  // namespace morva
