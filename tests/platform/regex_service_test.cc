#include "platform/regex_service.h"

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

class RegexServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(codec_, nullptr);
    ASSERT_NE(regex_, nullptr);
  }

  // Replaces in UTF-8 texts of the test (converted to code page 932 and back); "<failed>" on failure.
  std::string Replace(const std::string& text, const std::string& pattern, const std::string& replacement,
                      bool ignore_case = false) {
    std::string out = "untouched";
    const int rc = regex_->Replace(S(text), S(pattern), S(replacement), ignore_case, &out);
    if (rc != RegexService::kOk) {
      EXPECT_EQ(rc, RegexService::kFailed);
      EXPECT_EQ(out, "untouched");
      return "<failed>";
    }
    std::string utf8;
    EXPECT_TRUE(codec_->Cp932ToUtf8(out, &utf8).ok());
    return utf8;
  }
  std::string S(const std::string& utf8) { return testing::Sjis(codec_.get(), utf8); }

  std::unique_ptr<TextCodec> codec_ = NewIconvTextCodec();
  FaultInjectingTextCodec faulty_{codec_.get()};
  std::unique_ptr<RegexService> regex_ = NewPcre2RegexService(&faulty_);
};

TEST_F(RegexServiceTest, GroupsAndEveryReplacementMarker) {
  EXPECT_EQ(Replace("ab-cd.txt", "(\\w+)-(\\w+)", "$2-$1"), "cd-ab.txt");
  EXPECT_EQ(Replace("写真001.jpg", "(\\d+)", "[$&]"), "写真[001].jpg");
  EXPECT_EQ(Replace("abcde", "c", "<$`|$'>"), "ab<ab|de>de");
  EXPECT_EQ(Replace("a", "a", "$$1"), "$1");
  // A marker for a group the pattern lacks, "$0", an unknown marker and a trailing "$" stay literal.
  EXPECT_EQ(Replace("ab", "(a)", "$2$0$x$"), "$2$0$x$b");
  // "$nn" takes two digits only when that group exists.
  EXPECT_EQ(Replace("ab", "(a)", "$10"), "a0b");
  EXPECT_EQ(Replace("abcdefghijk", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "$11$10$01"), "kja");
  // A group the match did not reach gives nothing.
  EXPECT_EQ(Replace("b", "(a)|(b)", "[$1|$2]"), "[|b]");
  // Groups capture whole characters in their code page 932 form.
  EXPECT_EQ(Replace("あいう", "(い)", "「$1」"), "あ「い」う");
}

TEST_F(RegexServiceTest, GlobalReplaceAndEmptyMatches) {
  EXPECT_EQ(Replace("a.b.c", "\\.", "_"), "a_b_c");
  // An empty match is followed by a step over one whole character, never half of one.
  EXPECT_EQ(Replace("abc", "x*", "-"), "-a-b-c-");
  EXPECT_EQ(Replace("あい", "x*", "-"), "-あ-い-");
  EXPECT_EQ(Replace("aab", "a*", "-"), "--b-");
  EXPECT_EQ(Replace("", "^", "x"), "x");
  EXPECT_EQ(Replace("abc", "z", "y"), "abc");
  // The trail byte of "ソ" is 0x5C, a backslash in single-byte text; a pattern for a backslash must
  // not find it there.
  EXPECT_EQ(Replace("ソ表", "\\\\", "/"), "ソ表");
}

TEST_F(RegexServiceTest, CaseIsFoldedOnRequestAndWidthNever) {
  EXPECT_EQ(Replace("abc aBc ＡＢＣ", "ABC", "x", true), "x x ＡＢＣ");
  EXPECT_EQ(Replace("abc aBc ＡＢＣ", "ABC", "x", false), "abc aBc ＡＢＣ");
  EXPECT_EQ(Replace("ａｂｃ", "ＡＢＣ", "x", true), "x");
}

TEST_F(RegexServiceTest, CompiledPatternFollowsEachCall) {
  // The service keeps the last pattern; a new pattern, case option or replacement must take effect.
  EXPECT_EQ(Replace("aA", "a", "1"), "1A");
  EXPECT_EQ(Replace("aA", "a", "1", true), "11");
  EXPECT_EQ(Replace("aA", "a", "2"), "2A");
  EXPECT_EQ(Replace("aA", "A", "2"), "a2");
  EXPECT_TRUE(regex_->Compiles(S("a.b"), false));
  EXPECT_EQ(Replace("aA", "A", "3"), "a3");
}

TEST_F(RegexServiceTest, EscapesOfTheScriptEngines) {
  struct Case {
    const char* pattern;
    const char* text;
    const char* result;  // with the matches replaced by "#"; "<failed>" when the pattern is refused
  };
  const Case cases[] = {
      {"\\u30A2", "アイア", "#イ#"},
      {"\\u30a2", "ア", "#"},
      {"[\\u3041-\\u3093]+", "aあいz", "a#z"},
      {"\\u0041", "aA", "a#"},
      {"\\u00411", "A1", "#"},  // four digits at most
      // Without four digits "\u" is a "u"; "\U" is a "U".
      {"\\u00", "u00u0", "#u0"},
      {"\\u", "au", "a#"},
      {"\\U", "UuU", "#u#"},
      // "\x" takes exactly two digits, and braces are a count.
      {"\\x41", "A", "#"},
      {"\\x4", "x4", "#"},
      {"\\x{2}", "xxx", "#x"},
      // A surrogate matches nothing in text that came from code page 932.
      {"\\uD83D", "ab", "ab"},
      {"a|\\uD83D\\uDE00", "ab", "#b"},
      {"\\u{30A2}", "ア", "#"},
      {"\\u{110000}", "a", "<failed>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Replace(c.text, c.pattern, "#"), c.result);
    EXPECT_EQ(regex_->Compiles(S(c.pattern), false), std::string(c.result) != "<failed>");
  }
  // The replacement knows "$" markers only: escapes stay as they are written.
  EXPECT_EQ(Replace("ア", "\\u30A2", "\\u0041$&"), "\\u0041ア");
}

TEST_F(RegexServiceTest, InvalidAndRunawayPatternsFail) {
  EXPECT_FALSE(regex_->Compiles(S("(a"), false));
  EXPECT_FALSE(regex_->Compiles(S("a{2,1}"), true));
  EXPECT_TRUE(regex_->Compiles(S("(ab)+\\d"), true));
  EXPECT_EQ(Replace("aaa", "(a", "x"), "<failed>");

  // Backtracking without end ends at the work limit, quickly.
  const std::string many(250, 'a');
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(Replace(many, "(a*)*b", "x"), "<failed>");
  EXPECT_EQ(Replace(many + "c", "^(a+)+$", "x"), "<failed>");
  const auto spent = std::chrono::steady_clock::now() - begin;
  EXPECT_LT(spent, std::chrono::seconds(2));
  // The same pattern on a text where it is cheap still works, and so does the next pattern.
  EXPECT_EQ(Replace("aab", "(a*)*b", "x"), "x");
  EXPECT_EQ(Replace(many, "a+", "x"), "x");

  // A replacement that repeats the text before every match would take gigabytes; it stops at the bound.
  std::string out = "untouched";
  EXPECT_EQ(regex_->Replace(std::string(40000, 'a'), "a", "$`$`", false, &out), RegexService::kTooLong);
  EXPECT_EQ(out, "untouched");
  EXPECT_EQ(Replace(std::string(300, 'a'), "a", "$`"), std::string(300 * 299 / 2, 'a'));
}

TEST_F(RegexServiceTest, TextsWithoutAnotherFormFail) {
  // The result has no code page 932 form.
  faulty_.FailOn(CodecOp::kUtf8ToCp932, "", EILSEQ, 1);
  EXPECT_EQ(Replace("abc", "b", "x"), "<failed>");
  // The text, a new pattern or a new replacement cannot be read as Unicode.
  faulty_.FailOn(CodecOp::kCp932ToUtf8, "name", EILSEQ, 1);
  EXPECT_EQ(Replace("name", "a", "x"), "<failed>");
  faulty_.FailOn(CodecOp::kCp932ToUtf8, "pat", EILSEQ, 1);
  EXPECT_EQ(Replace("pattern", "pat", "x"), "<failed>");
  faulty_.FailOn(CodecOp::kCp932ToUtf8, "new", EILSEQ, 1);
  EXPECT_EQ(Replace("pattern", "t", "new"), "<failed>");
  // Once the faults are spent everything works again.
  EXPECT_EQ(Replace("pattern", "t", "new"), "panewnewern");
}

}  // namespace
}  // namespace morva
