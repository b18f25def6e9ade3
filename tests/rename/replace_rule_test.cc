#include "engine/name_step.h"
#include "rename/replace_rule.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "engine/validation.h"
#include "platform/regex_service.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

class ReplaceRuleTest : public testing::EngineFixture {
 protected:
  ReplaceRuleTest() { session.host.regex = &regex; }

  // ReplaceString on UTF-8 texts of the test; the result, or "<-1>" / "<-2>" with the text unchanged.
  std::string Replace(const std::string& text, const std::string& target, const std::string& replacement,
                      bool ignore_case = false, bool use_regex = false) {
    std::string t = S(text);
    const std::string before = t;
    const int rc = ReplaceString(session.host.regex, &t, S(target), S(replacement), ignore_case, use_regex);
    if (rc != kReplaceOk) {
      EXPECT_EQ(t, before);
      return "<" + std::to_string(rc) + ">";
    }
    return U(t);
  }

  // ReplaceAtPosition with `r` (replacement "X" unless set) on a UTF-8 text.
  std::string AtPosition(const std::string& text, PositionReplacement r) {
    if (r.replacement.empty()) r.replacement = "X";
    std::string t = S(text);
    if (ReplaceAtPosition(r, &t) != kReplaceOk) return "<-1>";
    return U(t);
  }


  // A job of rule 3 by string on the base names.
  void ByString(const std::string& target, const std::string& replacement, std::uint8_t options) {
    session.job.settings.sw_fnm = 3;
    session.job.settings.fnm_ckn0 = 1;
    ASSERT_TRUE(session.job.settings.fnm_ckn1.Assign(S(target)));
    ASSERT_TRUE(session.job.settings.fnm_ckn3.Assign(S(replacement)));
    session.job.settings.fnm_ckn_tgb = options;
  }

  // The refusal of a validation that must fail, in UTF-8; `refusal` keeps the whole verdict.
  std::string Refusal() {
    refusal = ValidateJob(session, false);
    EXPECT_EQ(refusal.kind, ValidationVerdict::Kind::kRefused);
    return U(refusal.message);
  }
  // The setting the last refusal names, as (page, key).
  std::vector<std::pair<int, std::string>> Focused() const { return {{refusal.page, refusal.key}}; }

  ValidationVerdict refusal;

  std::unique_ptr<RegexService> pcre2 = NewPcre2RegexService(codec.get());
  FaultInjectingRegexService regex{pcre2.get()};
};

TEST_F(ReplaceRuleTest, PlainReplacement) {
  // The second match is found after the first replacement, which is not searched again.
  EXPECT_EQ(Replace("abab", "ab", "b"), "bb");
  EXPECT_EQ(Replace("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(Replace("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(Replace("xyz", "q", "r"), "xyz");
  EXPECT_EQ(Replace("a-b-c", "-", ""), "abc");
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
  // Letter case is folded on request, width never.
  EXPECT_EQ(Replace("abc aBc ＡＢＣ", "ABC", "x", true), "x x ＡＢＣ");
  EXPECT_EQ(Replace("abc aBc ＡＢＣ", "ABC", "x", false), "abc aBc ＡＢＣ");
  EXPECT_EQ(Replace("ａｂｃ ABC", "ＡＢＣ", "x", true), "x ABC");
  // "ソ" is 0x83 0x5C: its trail byte followed by "A" is "\A" in single-byte text, and never a match.
  const std::string so_a = "ソA";
  std::string text = S(so_a);
  ASSERT_EQ(text, "\x83\x5C" "A");
  EXPECT_EQ(ReplaceString(nullptr, &text, "\\A", "x", false, false), kReplaceOk);
  EXPECT_EQ(text, "\x83\x5C" "A");
  EXPECT_EQ(Replace("表示\\A", "\\A", "x"), "表示x");
  // A two-byte target matches whole characters only.
  EXPECT_EQ(Replace("ソソ", "ソ", "そ"), "そそ");
}

TEST_F(ReplaceRuleTest, PlainReplacementStopsAt260Bytes) {
  EXPECT_EQ(Replace(std::string(130, 'a'), "a", "bb"), std::string(260, 'b'));
  EXPECT_EQ(Replace(std::string(131, 'a'), "a", "bb"), "<-1>");
  // The limit is on the length of the result.
  EXPECT_EQ(Replace(std::string(250, 'a') + "cc", "cc", "dddddddddddd"), "<-1>");
  EXPECT_EQ(Replace(std::string(250, 'a') + "cc", "cc", "dddddddddd"), std::string(250, 'a') + "dddddddddd");
}

TEST_F(ReplaceRuleTest, RegexReplacementGoesThroughTheService) {
  EXPECT_EQ(Replace("img_001.jpg", "img_(\\d+)", "写真$1", false, true), "写真001.jpg");
  EXPECT_EQ(Replace("ABC abc", "abc", "[$&]", true, true), "[ABC] [abc]");
  EXPECT_EQ(Replace("ABC abc", "abc", "[$&]", false, true), "ABC [abc]");
  EXPECT_EQ(Replace("aaa", "(a", "x", false, true), "<-2>");
  EXPECT_EQ(Replace(std::string(250, 'a'), "(a*)*b", "x", false, true), "<-2>");
  // A result over 260 bytes fails as the plain replacement does.
  EXPECT_EQ(Replace(std::string(130, 'a'), "a", "$&$&", false, true), std::string(260, 'a'));
  EXPECT_EQ(Replace(std::string(131, 'a'), "a", "$&$&", false, true), "<-1>");
  // A failing or missing service fails the replacement.
  regex.FailReplaceOn("", 1);
  EXPECT_EQ(Replace("abc", "b", "x", false, true), "<-2>");
  EXPECT_EQ(Replace("abc", "b", "x", false, true), "axc");
  session.host.regex = nullptr;
  EXPECT_EQ(Replace("abc", "b", "x", false, true), "<-2>");
}

TEST_F(ReplaceRuleTest, ReplacementByPosition) {
  PositionReplacement after_3_2;
  after_3_2.position = 3;
  after_3_2.all = false;
  after_3_2.count = 2;
  EXPECT_EQ(AtPosition("abcdef", after_3_2), "abXef");
  PositionReplacement before_3_2 = after_3_2;
  before_3_2.backward = true;
  EXPECT_EQ(AtPosition("abcdef", before_3_2), "aXdef");
  // From the last byte: position 2 is "e".
  PositionReplacement from_end = after_3_2;
  from_end.from_end = true;
  from_end.position = 2;
  EXPECT_EQ(AtPosition("abcdef", from_end), "abcdX");
  from_end.backward = true;
  EXPECT_EQ(AtPosition("abcdef", from_end), "abcXf");
  // The range is cut at the ends of the text; a position past the end is the last byte.
  PositionReplacement long_range = after_3_2;
  long_range.count = 50;
  EXPECT_EQ(AtPosition("abcdef", long_range), "abX");
  long_range.position = 99;
  EXPECT_EQ(AtPosition("abcdef", long_range), "abcdeX");
  // From the last byte, backwards, everything: the whole text.
  PositionReplacement whole;
  whole.from_end = true;
  whole.backward = true;
  EXPECT_EQ(AtPosition("abcdef", whole), "X");
  PositionReplacement all_after;
  all_after.position = 4;
  EXPECT_EQ(AtPosition("abcdef", all_after), "abcX");

  // A count of 0 inserts: after position 6 is the end, before position 1 the start.
  PositionReplacement insert;
  insert.position = 6;
  insert.all = false;
  insert.count = 0;
  EXPECT_EQ(AtPosition("abcdef", insert), "abcdefX");
  insert.backward = true;
  EXPECT_EQ(AtPosition("abcdef", insert), "abcdeXf");
  insert.position = 1;
  EXPECT_EQ(AtPosition("abcdef", insert), "Xabcdef");
  EXPECT_EQ(AtPosition("", insert), "X");
}

TEST_F(ReplaceRuleTest, PositionBoundariesInsideTwoByteCharacters) {
  // "aあb" is a, 0x82, 0xA0, b: byte 3 is the second byte of "あ".
  PositionReplacement r;
  r.position = 3;
  r.all = false;
  r.count = 1;
  r.take_whole = true;
  EXPECT_EQ(AtPosition("aあb", r), "aXb");
  r.take_whole = false;
  EXPECT_EQ(AtPosition("aあb", r), "aあXb");
  // A range ending on the first byte of "あ".
  r.position = 1;
  r.count = 2;
  r.take_whole = true;
  EXPECT_EQ(AtPosition("aあb", r), "Xb");
  r.take_whole = false;
  EXPECT_EQ(AtPosition("aあb", r), "Xあb");
  // Both ends inside characters: "あいう", bytes 2 to 5.
  r.position = 2;
  r.count = 4;
  r.take_whole = true;
  EXPECT_EQ(AtPosition("あいう", r), "X");
  r.take_whole = false;
  EXPECT_EQ(AtPosition("あいう", r), "あXう");
  // An insertion point inside a character moves to one of its ends.
  r.count = 0;
  r.backward = true;
  r.take_whole = true;
  EXPECT_EQ(AtPosition("あい", r), "Xあい");
  r.take_whole = false;
  EXPECT_EQ(AtPosition("あい", r), "あXい");
}

TEST_F(ReplaceRuleTest, PositionResultOver260BytesFails) {
  PositionReplacement r;
  r.position = 1;
  r.backward = true;
  r.all = false;
  r.count = 0;
  r.replacement = std::string(200, 'y');
  EXPECT_EQ(AtPosition(std::string(60, 'a'), r), std::string(200, 'y') + std::string(60, 'a'));
  std::string text(61, 'a');
  EXPECT_EQ(ReplaceAtPosition(r, &text), kReplaceTooLong);
  EXPECT_EQ(text, std::string(61, 'a'));
  // Replacing instead of inserting leaves room.
  r.count = 1;
  EXPECT_EQ(AtPosition(std::string(61, 'a'), r), std::string(200, 'y') + std::string(60, 'a'));
}

TEST_F(ReplaceRuleTest, PatternScreen) {
  for (const char* bad : {"", "()", "(", "(*a)", "(|a)", "*a", ")a", "+a", "?a", "{1}", ".x", "a.", "a.)", "|a", "a|",
                          "a|)", "[]", "[", "a[*]", "a[?]", "a[|]", "[^]", "a\\", "\\\\.", "a\\.", "\\("}) {
    EXPECT_FALSE(CheckPattern(bad)) << bad;
  }
  for (const char* good : {"a.b", "\\d+", "(ab)+", "(a", "a|b", "[a-z]", "[^a]", "\\\\", "\\.a", "a\\\\b", "\\(a", "x*"}) {
    EXPECT_TRUE(CheckPattern(good)) << good;
  }
  // A two-byte character is skipped whole: "ソ" ends in 0x5C, which is no backslash here.
  EXPECT_TRUE(CheckPattern(S("ソ")));
  EXPECT_TRUE(CheckPattern(S("(ソ)")));
  EXPECT_FALSE(CheckPattern(S("ソ.")));
  // The escapes the service takes in the script engines' way pass the screen, and the other way round.
  for (const char* escape : {"\\u30A2", "[\\u3041-\\u3093]", "\\u00", "\\u", "\\U", "\\x4", "\\x{2}", "\\uD83D",
                             "\\u{30A2}", "a\\u", "\\u("}) {
    EXPECT_EQ(CheckPattern(escape), pcre2->Compiles(escape, true)) << escape;
  }
}

TEST_F(ReplaceRuleTest, ValidationOfTheRule) {
  const int page = kPageNameRuleBase + 3;
  const std::string forbidden = "置換文字列に以下の文字は指定できません。\n\\ / : * ? \" < > | \\n \\r \\t";
  auto focus = [&](const char* key) { return std::vector<std::pair<int, std::string>>{{page, key}}; };

  ByString("a", "b", 0);
  EXPECT_TRUE(ValidateJob(session, false).accepted());
  ByString("", "b", 0);
  EXPECT_EQ(Refusal(), "置換対象文字列が指定されていません。");
  EXPECT_EQ(Focused(), focus("FNM_CKN1"));
  // A plain target is never screened as a pattern.
  ByString("(", "b", 0);
  EXPECT_TRUE(ValidateJob(session, false).accepted());
  // Patterns: one the screen refuses, one only the service refuses, one that passes both.
  ByString("a.", "b", 2);
  EXPECT_EQ(Refusal(), "正規表現に誤りがあります。");
  EXPECT_EQ(Focused(), focus("FNM_CKN1"));
  ByString("(a", "b", 2);
  EXPECT_EQ(Refusal(), "正規表現に誤りがあります。");
  ByString("(a)+\\d", "$1", 3);
  EXPECT_TRUE(ValidateJob(session, false).accepted());
  session.host.regex = nullptr;
  EXPECT_EQ(Refusal(), "正規表現に誤りがあります。");
  session.host.regex = &regex;
  ByString("a", "b:c", 0);
  EXPECT_EQ(Refusal(), forbidden);
  EXPECT_EQ(Focused(), focus("FNM_CKN3"));
  ByString("a", "表", 0);  // 0x95 0x5C: its trail byte is no backslash
  EXPECT_TRUE(ValidateJob(session, false).accepted());

  // By position.
  ConversionSettings& s = session.job.settings;
  s.fnm_ckn0 = 2;
  s.fnm_ckn3.Clear();
  s.fnm_ckn5 = true;
  s.fnm_ckn8 = 2;
  struct Case {
    const char* position;
    const char* count;
    const char* message;
    const char* key;
  };
  for (const Case& c : std::vector<Case>{
           {"1", "0", "", ""},
           {"200", "200", "", ""},
           {"", "1", "置換対象の指定バイト目が指定されていません。", "FNM_CKN6"},
           {"0", "1", "置換対象の指定バイト目は1～200の範囲で指定してください。", "FNM_CKN6"},
           {"201", "1", "置換対象の指定バイト目は1～200の範囲で指定してください。", "FNM_CKN6"},
           {"1", "", "置換対象の指定バイト分が指定されていません。", "FNM_CKN9"},
           {"1", "201", "置換対象の指定バイト分は0～200の範囲で指定してください。", "FNM_CKN9"},
           {"1x", "1", "置換対象の指定バイト目は1～200の範囲で指定してください。", "FNM_CKN6"},
       }) {
    SCOPED_TRACE(std::string(c.position) + "/" + c.count);
    s.fnm_ckn6.Assign(c.position);
    s.fnm_ckn9.Assign(c.count);
    if (*c.message == '\0') {
      EXPECT_TRUE(ValidateJob(session, false).accepted());
      continue;
    }
    EXPECT_EQ(Refusal(), c.message);
    EXPECT_EQ(Focused(), focus(c.key));
  }
  // Without a position or a count their texts are not read.
  s.fnm_ckn6.Clear();
  s.fnm_ckn9.Clear();
  s.fnm_ckn5 = false;
  s.fnm_ckn8 = 1;
  EXPECT_TRUE(ValidateJob(session, false).accepted());
  s.fnm_ckn3.Assign("a?b");
  EXPECT_EQ(Refusal(), forbidden);
}

TEST_F(ReplaceRuleTest, NameRuleFailures) {
  std::uint32_t failure = 0;
  ByString("a", "bb", 0);
  std::string text(131, 'a');
  EXPECT_FALSE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(failure, 0x100u);

  failure = 0;
  ByString("(a*)*b", "x", 2);
  text = std::string(250, 'a');
  EXPECT_FALSE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(failure, 0x200u);

  // Case-sensitive is bit 1 of the options: without it case is folded.
  failure = 0;
  ByString("A", "x", 0);
  text = "aA";
  EXPECT_TRUE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(text, "xx");
  ByString("A", "x", 1);
  text = "aA";
  EXPECT_TRUE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(text, "ax");
  EXPECT_EQ(failure, 0u);

  // By position, with the job's texts.
  session.job.settings.fnm_ckn0 = 2;
  session.job.settings.fnm_ckn5 = true;
  session.job.settings.fnm_ckn6.Assign("2");
  session.job.settings.fnm_ckn7 = 1;
  session.job.settings.fnm_ckn8 = 2;
  session.job.settings.fnm_ckn9.Assign("3");
  text = "abcdef";
  EXPECT_TRUE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(text, "axef");
  session.job.settings.fnm_ckn9.Assign("0");
  session.job.settings.fnm_ckn3.Assign(std::string(200, 'y'));
  text = std::string(61, 'a');
  EXPECT_FALSE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(failure, 0x100u);
}

TEST_F(ReplaceRuleTest, RunRenamesWithARegularExpression) {
  MakeFile("img_001.jpg", "1");
  MakeFile("img_002.jpg", "2");
  MakeFile("img_003.jpg", "3");
  MakeFile("notes.txt", "n");
  ByString("img_(\\d+)", "写真-$1", 2);
  regex.FailReplaceOn("002", 1);  // one target meets a failing service
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 2);
  EXPECT_EQ(session.run.counters.full_failure, 1);
  EXPECT_EQ(session.run.counters.not_needed, 1);
  EXPECT_EQ(testing::ReadFile(dir.Sub("写真-001.jpg")), "1");
  EXPECT_EQ(testing::ReadFile(dir.Sub("写真-003.jpg")), "3");
  EXPECT_EQ(testing::ReadFile(dir.Sub("img_002.jpg")), "2");
  EXPECT_EQ(testing::ReadFile(dir.Sub("notes.txt")), "n");
  EXPECT_FALSE(testing::Exists(dir.Sub("img_001.jpg")));

  // An invalid pattern is refused before anything is renamed.
  ByString("(img", "x", 2);
  const ConversionResult refused = StartConversion(session, RunMode::kRun, false);
  EXPECT_EQ(refused.outcome, ConversionOutcome::kRefused);
  EXPECT_EQ(U(refused.verdict.message), "正規表現に誤りがあります。");
  EXPECT_TRUE(testing::Exists(dir.Sub("img_002.jpg")));
}

}  // namespace
}  // namespace morva
