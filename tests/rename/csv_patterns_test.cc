#include "engine/name_step.h"
#include "rename/csv_patterns.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "core/user_interface.h"
#include "engine/validation.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

// What one line of a pattern file gives: "target -> replacement", or "refused". Targets are regular
// expressions of `regex` when it is given.
std::string ParseOne(const std::string& line, RegexService* regex = nullptr) {
  std::vector<CsvPattern> patterns;
  const int result = ParseCsvPatterns(line, regex, true, regex != nullptr, &patterns);
  if (result != kCsvLoaded) {
    EXPECT_TRUE(patterns.empty());
    return "refused at " + std::to_string(result);
  }
  if (patterns.size() != 1) return std::to_string(patterns.size()) + " patterns";
  return patterns[0].target + " -> " + patterns[0].replacement;
}

TEST(CsvPatternParseTest, LineForms) {
  EXPECT_EQ(ParseOne("\"a\",\"b\""), "a -> b");
  EXPECT_EQ(ParseOne("a\tb"), "a -> b");
  EXPECT_EQ(ParseOne("\"a\"\t\"b\""), "a -> b");
  EXPECT_EQ(ParseOne("a,b"), "refused at 1");            // an unquoted target needs a tab
  EXPECT_EQ(ParseOne("\"a\"b"), "refused at 1");         // no separator after the closing quote
  EXPECT_EQ(ParseOne("\"a\",\"b\" "), "refused at 1");   // the closing quote must end the line
  EXPECT_EQ(ParseOne("\"a\",b,c"), "a -> b,c");
  EXPECT_EQ(ParseOne("\"a\","), "a -> ");
  EXPECT_EQ(ParseOne("\"a\",\"\""), "a -> ");
  EXPECT_EQ(ParseOne("\"\",\"b\""), "refused at 1");     // empty target
  EXPECT_EQ(ParseOne("\tb"), "refused at 1");
  EXPECT_EQ(ParseOne("\"a"), "refused at 1");
  EXPECT_EQ(ParseOne("\"a\","), "a -> ");
  EXPECT_EQ(ParseOne("\"a\",\""), "refused at 1");       // an opening quote without its closing one
  EXPECT_EQ(ParseOne("\"a\",\"x\"y\""), "refused at 1"); // no escape: the field ends at the second quote
  // The unquoted target runs to the first tab; commas and quotes are part of it.
  EXPECT_EQ(ParseOne("a,b\"c\tx"), "a,b\"c -> x");
  EXPECT_EQ(ParseOne("a\tb\tc"), "refused at 1");        // a tab cannot stand in a name
}

TEST(CsvPatternParseTest, ReplacementsMustBeFileNameText) {
  for (const char* c : {"\\", "/", ":", "*", "?", "<", ">", "|", "\x1f"}) {
    EXPECT_EQ(ParseOne(std::string("\"a\",\"x") + c + "y\""), "refused at 1") << c;
  }
  EXPECT_EQ(ParseOne("\"a\",x\"y"), "refused at 1");
  // The trail byte of a two-byte character is no backslash or forbidden sign.
  EXPECT_EQ(ParseOne("\"a\",\"\x95\x5c\x83\x7c\""), "a -> \x95\x5c\x83\x7c");
  // Targets are not names: anything goes there.
  EXPECT_EQ(ParseOne("\"a?*\",\"b\""), "a?* -> b");
}

TEST(CsvPatternParseTest, RegularExpressionTargetsAreScreened) {
  const std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  const std::unique_ptr<RegexService> regex = NewPcre2RegexService(codec.get());
  EXPECT_EQ(ParseOne("\"*x\",\"y\"", regex.get()), "refused at 1");
  EXPECT_EQ(ParseOne("\"*x\",\"y\""), "*x -> y");
  EXPECT_EQ(ParseOne("\"(\\d+)\",\"n$1\"", regex.get()), "(\\d+) -> n$1");
}

TEST(CsvPatternParseTest, LinesAreCountedAndCutAsTheLineBufferReadsThem) {
  std::vector<CsvPattern> patterns;
  // Empty lines and both line ends; the bad line is reported by its number.
  EXPECT_EQ(ParseCsvPatterns("\"a\",\"b\"\r\n\r\n\n\"c\"\t\"d\"\r\n\"e\",\"f\"\rx,y\n", nullptr, true, false,
                             &patterns),
            5);
  EXPECT_TRUE(patterns.empty());
  ASSERT_EQ(ParseCsvPatterns("\"a\",\"b\"\r\n\r\n\n\"c\"\t\"d\"\r\n\"e\",\"f\"\r", nullptr, true, false, &patterns),
            kCsvLoaded);
  ASSERT_EQ(patterns.size(), 3u);
  EXPECT_EQ(patterns[1].target, "c");
  EXPECT_EQ(patterns[1].line, 4);
  EXPECT_EQ(patterns[2].replacement, "f");
  EXPECT_EQ(ParseCsvPatterns("", nullptr, true, false, &patterns), kCsvLoaded);
  EXPECT_TRUE(patterns.empty());

  // A line of 597 bytes is one line; at 598 bytes the line end arrives as an empty second piece; from 599
  // bytes the rest is a line of its own.
  const std::string head = "\"a\",\"";
  auto line_of = [&](std::size_t size) { return head + std::string(size - head.size() - 1, 'x') + "\""; };
  ASSERT_EQ(ParseCsvPatterns(line_of(597) + "\n\"b\",\"c\"\n", nullptr, true, false, &patterns), kCsvLoaded);
  ASSERT_EQ(patterns.size(), 2u);
  EXPECT_EQ(patterns[1].line, 2);
  ASSERT_EQ(ParseCsvPatterns(line_of(598) + "\r\n\"b\",\"c\"\n", nullptr, true, false, &patterns), kCsvLoaded);
  ASSERT_EQ(patterns.size(), 2u);
  EXPECT_EQ(patterns[0].replacement.size(), 598 - head.size() - 1);
  EXPECT_EQ(patterns[1].line, 3);
  // The first piece lacks its closing quote.
  EXPECT_EQ(ParseCsvPatterns(line_of(599) + "\n", nullptr, true, false, &patterns), 1);
  // Unquoted, the first piece is a pattern and the second refused.
  EXPECT_EQ(ParseCsvPatterns("a\t" + std::string(700, 'x') + "\n", nullptr, true, false, &patterns), 2);
}

class CsvRuleTest : public testing::EngineFixture {
 protected:
  CsvRuleTest() {
    session.host.regex = &regex;
    session.job.settings.sw_fnm = 8;
    session.job.settings.fnm_01 = true;
    EXPECT_TRUE(home.WriteFile("patterns.csv", ""));
    EXPECT_TRUE(session.job.settings.fnm_csv_pth.Assign(E(home.Sub("patterns.csv"))));
  }

  void Patterns(const std::string& utf8, std::uint8_t options = 1) {
    ASSERT_TRUE(home.WriteFile("patterns.csv", S(utf8)));
    session.job.settings.fnm_csv_opt = options;
  }


  // The refusal of a validation that must fail, in UTF-8.
  std::string Refusal() {
    const ValidationVerdict verdict = ValidateJob(session, false);
    EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
    EXPECT_EQ(verdict.page, kPageNameRuleBase + 8);
    EXPECT_EQ(verdict.key, "FNM_CSV_PTH");
    EXPECT_TRUE(session.run.csv_patterns.empty());
    return U(verdict.message);
  }

  // The rule applied to a UTF-8 text after validation loaded the patterns; "<failed N>" on failure.
  std::string Apply(const std::string& text) {
    std::string t = S(text);
    std::uint32_t failure = 0;
    if (!ApplyNameRule(NameRuleInputsOf(session.walk()), &t, &failure)) return "<failed " + std::to_string(failure) + ">";
    return U(t);
  }

  std::unique_ptr<RegexService> pcre2 = NewPcre2RegexService(codec.get());
  FaultInjectingRegexService regex{pcre2.get()};
};

TEST_F(CsvRuleTest, ValidationRefusesBadPathsAndFilesWithTheirLine) {
  session.job.settings.fnm_csv_pth.Clear();
  EXPECT_EQ(Refusal(), "置換パターンCSVファイルパスが指定されていません。");
  session.job.settings.fnm_csv_pth.Assign(E(home.Sub("missing.csv")));
  EXPECT_EQ(Refusal(), "置換パターンCSVファイルパスが不正です。");
  session.job.settings.fnm_csv_pth.Assign("patterns.csv");
  EXPECT_EQ(Refusal(), "置換パターンCSVファイルパスが不正です。");
  session.job.settings.fnm_csv_pth.Assign(E(home.path()));
  EXPECT_EQ(Refusal(), "置換パターンCSVファイルのオープンに失敗しました。");
  session.job.settings.fnm_csv_pth.Assign(E(home.Sub("patterns.csv")));
  fs.FailOn(FsOp::kReadFile, "patterns", EIO, 1);
  EXPECT_EQ(Refusal(), "置換パターンCSVファイルのオープンに失敗しました。");
  fs.FailOn(FsOp::kReadFile, "patterns", ENOMEM, 1);
  EXPECT_EQ(Refusal(), "メモリ不足により失敗しました。");

  Patterns("\"a\",\"b\"\n");
  EXPECT_TRUE(ValidateJob(session, false).accepted());
  EXPECT_EQ(session.run.csv_patterns.size(), 1u);
}

TEST_F(CsvRuleTest, ValidationReportsTheFirstBadLineWhateverItsFault) {
  // Faults: a line out of format, a pattern the screen refuses, one that only the service cannot compile.
  struct Case {
    const char* file;
    std::uint8_t options;
    int line;
  };
  const Case cases[] = {
      {"\"a\",\"b\"\n\n\"c\",\"d?\"\n", 1, 3},
      {"\"a\",\"b\"\n\"[[:foo:]]\",\"d\"\n", 2, 2},
      {"\"[[:foo:]]\",\"b\"\nx,y\n", 2, 1},
      {"\"a\",\"b\"\n\"(a\",\"b\"\n\"*x\",\"y\"\n", 3, 2},
      {"\"*x\",\"y\"\n\"[[:foo:]]\",\"b\"\n", 2, 1},
      {"x,y\n\"[[:foo:]]\",\"b\"\n", 2, 1},
      // Without regular expressions a target is only text.
      {"\"[[:foo:]]\",\"b\"\nx,y\n", 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Patterns(c.file, c.options);
    EXPECT_EQ(Refusal(), "置換パターンCSVファイルの内容が不正です。（" + std::to_string(c.line) + "行目）");
  }
}

TEST_F(CsvRuleTest, PatternsApplyInOrderAndFailuresKeepTheRest) {
  Patterns("\"a\",\"b\"\n\"b\",\"c\"\n");
  ASSERT_TRUE(ValidateJob(session, false).accepted());
  EXPECT_EQ(Apply("ab"), "cc");  // each pattern works on the previous result
  EXPECT_EQ(Apply("AB"), "AB");  // case-sensitive (bit 1)

  Patterns("\"a\",\"b\"\n\"b\",\"c\"\n", 0);
  ASSERT_TRUE(ValidateJob(session, false).accepted());
  EXPECT_EQ(Apply("AB"), "cc");
  // Case folding stays within one width.
  EXPECT_EQ(Apply("ＡＢ"), "ＡＢ");

  Patterns("写真\t\"photo\"\n\"(\\d+)_(\\d+)\",\"$2-$1\"\n", 2);
  ASSERT_TRUE(ValidateJob(session, false).accepted());
  EXPECT_EQ(Apply("写真12_34"), "photo34-12");
  EXPECT_EQ(Apply("ｘ"), "ｘ");

  // A replacement that would pass 260 bytes fails the target; so does a failing service.
  std::vector<CsvPattern> patterns = {{"a", std::string(200, 'x'), 1}, {"b", "c", 2}};
  std::string text = "aab";
  EXPECT_EQ(ApplyCsvPatterns(&regex, patterns, true, false, &text), 0x100u);
  EXPECT_EQ(text, "aac");  // the failed pattern left the text, the next one still applied
  patterns = {{"a", "b", 1}, {"b", "c", 2}};
  regex.FailReplaceOn("", 1);
  text = "ab";
  EXPECT_EQ(ApplyCsvPatterns(&regex, patterns, true, true, &text), 0x200u);
  EXPECT_EQ(text, "ac");
  Patterns("\"b\",\"" + std::string(200, 'x') + "\"\n");
  ASSERT_TRUE(ValidateJob(session, false).accepted());
  EXPECT_EQ(Apply("abc"), "a" + std::string(200, 'x') + "c");
  EXPECT_EQ(Apply(std::string(61, 'a') + "b"), "<failed 256>");
  text = "name";
  EXPECT_EQ(ApplyCsvPatterns(&regex, {}, true, true, &text), 0u);
  EXPECT_EQ(text, "name");
}

TEST_F(CsvRuleTest, AFileSavedAsUtf8IsReadLikeOneInCodePage932) {
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    const char* what;
    std::string bytes;    // the file as an editor saved it
    const char* outcome;  // the rule's result for "IMG_旅行", or the refusal
  } cases[] = {
      {"code page 932", S("\"IMG_\",\"写真_\"\n\"旅行\"\t京都\n"), "写真_京都"},
      {"UTF-8", "\"IMG_\",\"写真_\"\n\"旅行\"\t京都\n", "写真_京都"},
      {"UTF-8 with a byte-order mark, Windows line ends", bom + "\"IMG_\",\"写真_\"\r\n旅行\t京都\r\n", "写真_京都"},
      {"ASCII with a byte-order mark", bom + "IMG_\tpic_\n", "pic_旅行"},
      {"UTF-8, a character without a code page 932 form", "\"IMG_\",\"写真_\"\n\"旅行\"\t한국\n",
       "置換パターンCSVファイルの内容が不正です。（2行目）"},
      {"a byte-order mark, then bytes that are not UTF-8", bom + "a\tb\n\n\x82\xA0\tc\n",
       "置換パターンCSVファイルの内容が不正です。（3行目）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(home.WriteFile("patterns.csv", c.bytes));
    session.job.settings.fnm_csv_opt = 1;
    const std::string outcome = std::string(c.outcome);
    if (outcome.starts_with("置換")) {
      EXPECT_EQ(Refusal(), outcome);
    } else {
      ASSERT_TRUE(ValidateJob(session, false).accepted());
      EXPECT_EQ(Apply("IMG_旅行"), outcome);
    }
  }
}

TEST_F(CsvRuleTest, RunRenamesByThePatternsAndFreesThem) {
  MakeFile("IMG_0001.JPG", "1");
  MakeFile("IMG_0002.JPG", "2");
  MakeFile("memo.txt", "m");
  Patterns("\"IMG_\",\"旅行_\"\n\"_0+\"\t_\n", 3);
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 2);
  EXPECT_EQ(session.run.counters.not_needed, 1);
  EXPECT_EQ(testing::ReadFile(dir.Sub("旅行_1.JPG")), "1");
  EXPECT_EQ(testing::ReadFile(dir.Sub("旅行_2.JPG")), "2");
  EXPECT_EQ(testing::ReadFile(dir.Sub("memo.txt")), "m");
  EXPECT_TRUE(session.run.csv_patterns.empty());

  // A bad line refuses the whole job: nothing is renamed.
  Patterns("\"memo\",\"note\"\n\"x\",\"a|b\"\n");
  ui.messages.clear();
  const ConversionResult refused = StartConversion(session, RunMode::kRun, false);
  EXPECT_EQ(refused.outcome, ConversionOutcome::kRefused);
  EXPECT_EQ(U(refused.verdict.message), "置換パターンCSVファイルの内容が不正です。（2行目）");
  EXPECT_TRUE(ui.messages.empty());  // nothing asked, nothing shown: the front end shows the verdict
  EXPECT_TRUE(testing::Exists(dir.Sub("memo.txt")));
  EXPECT_TRUE(session.run.csv_patterns.empty());
}

}  // namespace
}  // namespace morva
