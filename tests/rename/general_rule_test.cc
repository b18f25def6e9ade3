#include "rename/general_rule.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text_codec.h"

namespace morva {
namespace {

// Two-byte characters whose trail byte looks like something the rule acts on.
const std::string kA = "\x83\x41";     // "ア": trail 'A'
const std::string kDi = "\x83\x61";    // "ヂ": trail 'a'
const std::string kByo = "\x95\x61";   // "病": trail 'a'
const std::string kHiiragi = "\x95\x41";  // "柊": trail 'A'
const std::string kSo = "\x83\x5C";    // "ソ": trail '\'
const std::string kHyo = "\x95\x5C";   // "表": trail '\'
const std::string kHyo2 = "\x95\x5B";  // "票": trail '['
const std::string kHyo3 = "\x95\x5D";  // "評": trail ']'
const std::string kI = "\x82\xA2";     // "い": trail is the half-width "｢"
const std::string kXu = "\x82\xA3";    // "ぅ": trail is the half-width "｣"

GeneralRuleOptions CaseOptions(int mode, int after, int widths = kTargetFullWidth | kTargetHalfWidth) {
  GeneralRuleOptions o;
  o.ipn_sel = kGeneralCase;
  o.case_mode = mode;
  o.capitalize_after = after;
  o.target_widths = widths;
  return o;
}

GeneralRuleOptions DeleteOptions(int classes, int widths) {
  GeneralRuleOptions o;
  o.ipn_sel = kGeneralDelete;
  o.delete_classes = classes;
  o.target_widths = widths;
  return o;
}

GeneralRuleOptions BracketOptions(int mode, std::uint16_t pairs, bool apart = true) {
  GeneralRuleOptions o;
  o.ipn_sel = kGeneralBrackets;
  o.bracket_mode = mode;
  o.bracket_pairs = pairs;
  o.extension_apart = apart;
  return o;
}

constexpr std::uint16_t Pair(int k) { return static_cast<std::uint16_t>(1u << (k - 1)); }

class GeneralRuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
  }

  // Code page 932 form of a UTF-8 literal, so the cases can be written readably.
  std::string J(std::string_view utf8) {
    std::string out;
    const Status s = codec_->Utf8ToCp932(utf8, &out);
    EXPECT_TRUE(s.ok()) << s.ToString();
    return out;
  }

  std::unique_ptr<TextCodec> codec_;
};

TEST_F(GeneralRuleTest, BracketPairTableIsTheCodePageForm) {
  const char* const kUtf8[16][2] = {
      {"[", "]"},   {"(", ")"},   {"{", "}"},   {"｢", "｣"},   {"［", "］"}, {"（", "）"},
      {"｛", "｝"}, {"「", "」"}, {"【", "】"}, {"〔", "〕"}, {"《", "》"}, {"『", "』"},
      {"＜", "＞"}, {"≪", "≫"}, {"“", "”"},   {"‘", "’"},
  };
  for (std::size_t k = 0; k < kBracketPairs.size(); ++k) {
    SCOPED_TRACE(k + 1);
    EXPECT_EQ(kBracketPairs[k].open, J(kUtf8[k][0]));
    EXPECT_EQ(kBracketPairs[k].close, J(kUtf8[k][1]));
    const std::size_t width = k < 4 ? 1 : 2;
    EXPECT_EQ(kBracketPairs[k].open.size(), width);
    EXPECT_EQ(kBracketPairs[k].close.size(), width);
  }
}

TEST_F(GeneralRuleTest, CaseModesAndCapitalisationTriggers) {
  constexpr int kBoth = kTargetFullWidth | kTargetHalfWidth;
  struct Case {
    const char* in;
    int mode;
    int after;
    int widths;
    const char* want;
  };
  const std::vector<Case> cases = {
      {"ABC def_ghi", kCaseCapitalize, kAfterSpace, kBoth, "Abc Def_ghi"},
      {"ABC def_ghi", kCaseCapitalize, kAfterSpace | kAfterOther, kBoth, "Abc Def_Ghi"},
      {"x1y2z", kCaseCapitalize, kAfterDigit, kBoth, "X1Y2Z"},
      // A character that is not a letter at the start uses up the start trigger unless its class is one.
      {"ｱbc", kCaseCapitalize, 0, kBoth, "ｱbc"},
      {"ｱbc", kCaseCapitalize, kAfterOther, kBoth, "ｱBc"},
      {"1abc", kCaseCapitalize, kAfterDigit, kBoth, "1Abc"},
      // Full-width letters map to full-width letters; a full-width space triggers like a half-width one.
      {"ａＢＣ　ｄｅｆ", kCaseCapitalize, kAfterSpace, kBoth, "Ａｂｃ　Ｄｅｆ"},
      {"ａ　b", kCaseCapitalize, kAfterSpace, kBoth, "Ａ　B"},
      // Greek letters are "other": not converted, and they trigger as other characters.
      {"αb", kCaseCapitalize, kAfterOther, kBoth, "αB"},
      {"ΑB", kCaseLower, 0, kBoth, "Αb"},
      {"aBｃＤ", kCaseUpper, 0, kBoth, "ABＣＤ"},
      {"aBｃＤ", kCaseLower, 0, kBoth, "abｃｄ"},
      // A character of a width that is not processed is copied and leaves the flag alone.
      {"x ａb", kCaseCapitalize, kAfterSpace, kTargetHalfWidth, "X ａB"},
      {"x ａb", kCaseCapitalize, kAfterSpace, kBoth, "X Ａb"},
      {"ab　cd", kCaseCapitalize, kAfterSpace, kTargetHalfWidth, "Ab　cd"},
      {"ｘ ｙ", kCaseCapitalize, kAfterSpace, kTargetFullWidth, "Ｘ ｙ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    std::string text = J(c.in);
    ConvertCharacters(CaseOptions(c.mode, c.after, c.widths), &text);
    EXPECT_EQ(text, J(c.want));
  }

  // The trigger is set before the deletion test: a deleted space still capitalises the next letter.
  GeneralRuleOptions o = CaseOptions(kCaseCapitalize, kAfterSpace);
  o.ipn_sel |= kGeneralDelete;
  o.delete_classes = kDeleteSpace;
  std::string text = "abc def";
  ConvertCharacters(o, &text);
  EXPECT_EQ(text, "AbcDef");
}

TEST_F(GeneralRuleTest, DeletionOfEachClassPerWidth) {
  // Half-width: a 5 space _ ｱ; full-width: Ｂ ６ ideographic space ア.
  const std::string in = J("a5 _ｱＢ６　ア");
  constexpr int kFull = kTargetFullWidth;
  constexpr int kHalf = kTargetHalfWidth;
  constexpr int kBoth = kFull | kHalf;
  struct Case {
    int classes;
    int widths;
    const char* want;
  };
  const std::vector<Case> cases = {
      {kDeleteSpace, kBoth, "a5_ｱＢ６ア"},
      {kDeleteSpace, kHalf, "a5_ｱＢ６　ア"},
      {kDeleteSpace, kFull, "a5 _ｱＢ６ア"},
      {kDeleteDigit, kBoth, "a _ｱＢ　ア"},
      {kDeleteDigit, kHalf, "a _ｱＢ６　ア"},
      {kDeleteDigit, kFull, "a5 _ｱＢ　ア"},
      {kDeleteLetter, kBoth, "5 _ｱ６　ア"},
      {kDeleteLetter, kHalf, "5 _ｱＢ６　ア"},
      {kDeleteLetter, kFull, "a5 _ｱ６　ア"},
      {kDeleteOther, kBoth, "a5 Ｂ６　"},
      {kDeleteOther, kHalf, "a5 Ｂ６　ア"},
      {kDeleteOther, kFull, "a5 _ｱＢ６　"},
      {kDeleteSpace | kDeleteDigit | kDeleteLetter | kDeleteOther, kBoth, ""},
      {kDeleteSpace | kDeleteDigit | kDeleteLetter | kDeleteOther, kHalf, "Ｂ６　ア"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.classes << "/" << c.widths);
    std::string text = in;
    ConvertCharacters(DeleteOptions(c.classes, c.widths), &text);
    EXPECT_EQ(text, J(c.want));
  }
}

TEST_F(GeneralRuleTest, TrailBytesAreNeverLettersOrBrackets) {
  const std::string kanji = kA + kDi + kByo + kHiiragi + kSo + kHyo;
  for (int mode : {kCaseUpper, kCaseLower, kCaseCapitalize}) {
    SCOPED_TRACE(mode);
    std::string text = kanji + "b";
    ConvertCharacters(CaseOptions(mode, 0), &text);
    EXPECT_EQ(text, kanji + (mode == kCaseUpper ? "B" : "b"));
  }
  std::string text = kanji + "b";
  ConvertCharacters(DeleteOptions(kDeleteLetter, kTargetFullWidth | kTargetHalfWidth), &text);
  EXPECT_EQ(text, kanji);
  text = kanji + "b";
  ConvertCharacters(DeleteOptions(kDeleteOther, kTargetHalfWidth), &text);
  EXPECT_EQ(text, kanji + "b");

  // No bracket pair matches a trail byte, in either mode.
  const std::string look_alikes = kHyo2 + kHyo3 + kI + kXu;
  for (int mode : {kBracketDeletePart, kBracketDeleteOnly}) {
    text = look_alikes;
    RemoveBrackets(BracketOptions(mode, 0xFFFF), 0, &text);
    EXPECT_EQ(text, look_alikes);
  }
  // The closing search skips a trail byte that looks like the closing bracket.
  text = "a[" + kHyo3 + "b]c";
  RemoveBrackets(BracketOptions(kBracketDeletePart, Pair(1)), 0, &text);
  EXPECT_EQ(text, "ac");
  text = "\xB1\xA2" + kI + kXu + "\xA3x";  // ｱ｢いぅ｣x
  RemoveBrackets(BracketOptions(kBracketDeletePart, Pair(4)), 0, &text);
  EXPECT_EQ(text, "\xB1x");
}

TEST_F(GeneralRuleTest, BracketModes) {
  struct Case {
    const char* in;
    int mode;
    std::uint16_t pairs;
    const char* want;
  };
  const std::uint16_t k12 = Pair(1) | Pair(2);
  const std::vector<Case> cases = {
      {"file[01](copy)", kBracketDeletePart, k12, "file"},
      {"file[01](copy)", kBracketDeleteOnly, k12, "file01copy"},
      {"file[01](copy)", kBracketDeleteOnly, Pair(1), "file01(copy)"},
      {"a(b", kBracketDeletePart, Pair(2), "a(b"},
      {"a(b", kBracketDeleteOnly, Pair(2), "ab"},
      {"a)b(c)", kBracketDeletePart, Pair(2), "a)b"},
      {"a(b(c)d)e", kBracketDeletePart, Pair(2), "ad)e"},
      // After a deletion the character that moved up is examined too.
      {"(a)(b)c", kBracketDeletePart, Pair(2), "c"},
      {"[(x)]y", kBracketDeleteOnly, k12, "xy"},
      {"ｱ｢ｲ｣ｳ", kBracketDeletePart, Pair(4), "ｱｳ"},
      {"ｱ｢ｲ｣ｳ", kBracketDeleteOnly, Pair(4), "ｱｲｳ"},
      {"あ【い】う", kBracketDeletePart, Pair(9), "あう"},
      {"あ【い】う", kBracketDeleteOnly, Pair(9), "あいう"},
      {"あ【い】う", kBracketDeletePart, Pair(8), "あ【い】う"},
      {"“引用”と‘語’", kBracketDeletePart, Pair(15) | Pair(16), "と"},
      {"≪a≫＜b＞", kBracketDeleteOnly, Pair(13) | Pair(14), "ab"},
      // A pair only closes with its own closing character, not with one of the other width.
      {"（a)b）c", kBracketDeletePart, Pair(2) | Pair(6), "c"},
      {"（a)b）c", kBracketDeletePart, Pair(2), "（a)b）c"},
      // A mode that is neither leaves the text alone.
      {"(a)", 0, Pair(2), "(a)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    std::string text = J(c.in);
    RemoveBrackets(BracketOptions(c.mode, c.pairs), 0, &text);
    EXPECT_EQ(text, J(c.want));
  }
}

TEST_F(GeneralRuleTest, BracketedPartReachingIntoTheExtensionIsKept) {
  const std::uint16_t k12 = Pair(1) | Pair(2);
  struct Case {
    const char* in;
    std::size_t extension_length;
    bool apart;
    int mode;
    const char* want;
  };
  const std::vector<Case> cases = {
      // "report(draft.v2)": the extension is "v2)".
      {"report(draft.v2)", 3, false, kBracketDeletePart, "report(draft.v2)"},
      {"report(draft.v2)", 3, true, kBracketDeletePart, "report"},
      {"report(draft.v2)", 0, false, kBracketDeletePart, "report"},
      {"report(draft.v2)", 3, false, kBracketDeleteOnly, "reportdraft.v2"},
      // Parts that close before the extension still go, also those inside a kept part.
      {"a(b)c(d.e)f", 3, false, kBracketDeletePart, "ac(d.e)f"},
      {"x(a[b]c.d)", 2, false, kBracketDeletePart, "x(ac.d)"},
      // A part wholly inside the extension stays as well.
      {"song.m(4)a", 5, false, kBracketDeletePart, "song.m(4)a"},
      {"song(4).m4a", 3, false, kBracketDeletePart, "song.m4a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    std::string text = c.in;
    RemoveBrackets(BracketOptions(c.mode, k12, c.apart), c.extension_length, &text);
    EXPECT_EQ(text, c.want);
  }
}

TEST_F(GeneralRuleTest, PaddingWholeTextAndTrailingOnly) {
  struct Case {
    std::string in;
    int width;
    bool trailing;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"a5b0012c", 3, false, "a005b012c"},
      {"track7-10", 4, false, "track0007-0010"},
      {"track7-10", 4, true, "track7-0010"},
      {"abc", 3, true, "abc"},
      {"0000", 2, true, "00"},
      {"000", 1, false, "0"},
      {"x000y", 3, false, "x000y"},
      {"123456789", 3, false, "123456789"},
      {"00123456789", 3, false, "123456789"},
      {"a1", 8, false, "a00000001"},
      {"v01.02", 1, true, "v01.2"},
      // Full-width digits are not digits here.
      {J("１２3"), 2, false, J("１２03")},
      {J("第1話"), 2, false, J("第01話")},
      {J("第1話"), 2, true, J("第1話")},
      // A digit-looking byte after a lead byte is that character's trail, never part of a run.
      {"a\x81" "55", 3, false, "a\x81" "5005"},
      {"a\x81" "55", 3, true, "a\x81" "5005"},
      {"a\x81" "5", 3, true, "a\x81" "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in << " width " << c.width << (c.trailing ? " trailing" : ""));
    std::string text = c.in;
    EXPECT_TRUE(PadDigits(&text, c.width, c.trailing));
    EXPECT_EQ(text, c.want);
  }

  for (int width : {-1, 0, 9}) {
    std::string text = "a1";
    EXPECT_FALSE(PadDigits(&text, width, false)) << width;
    EXPECT_FALSE(PadDigits(&text, width, true)) << width;
    EXPECT_EQ(text, "a1");
  }
}

TEST_F(GeneralRuleTest, PaddingOverTheLengthLimitFails) {
  for (bool trailing : {false, true}) {
    SCOPED_TRACE(trailing);
    std::string text = std::string(252, 'x') + "1";
    ASSERT_TRUE(PadDigits(&text, 8, trailing));
    EXPECT_EQ(text.size(), kGeneralRuleMaxText);
    EXPECT_EQ(text.substr(252), "00000001");

    const std::string too_long = std::string(253, 'x') + "1";
    text = too_long;
    EXPECT_FALSE(PadDigits(&text, 8, trailing));
    EXPECT_EQ(text, too_long);
  }
  // The text after the padded run counts too, not only what was built when the zeros went in.
  const std::string early = "1" + std::string(258, 'x');
  std::string text = early;
  EXPECT_FALSE(PadDigits(&text, 8, false));
  EXPECT_EQ(text, early);
}

TEST_F(GeneralRuleTest, ConvertGeneralRunsTheStepsInOrder) {
  // Brackets go before the character pass: the first letter left is capitalised.
  GeneralRuleOptions o = BracketOptions(kBracketDeletePart, Pair(1));
  o.ipn_sel |= kGeneralCase;
  o.case_mode = kCaseCapitalize;
  std::string text = "[ab]cD";
  EXPECT_EQ(ConvertGeneral(o, 0, &text), 0);
  EXPECT_EQ(text, "Cd");

  // Padding goes before the character pass, and the padded digits trigger capitalisation.
  o = CaseOptions(kCaseCapitalize, kAfterDigit);
  o.ipn_sel |= kGeneralPad;
  o.pad_width = 3;
  text = "a7b";
  EXPECT_EQ(ConvertGeneral(o, 0, &text), 0);
  EXPECT_EQ(text, "A007B");

  // A base name with two bracketed parts through the whole rule, extension handled apart.
  o = BracketOptions(kBracketDeletePart, Pair(1) | Pair(2));
  text = "file[01](copy)";
  EXPECT_EQ(ConvertGeneral(o, 3, &text), 0);
  EXPECT_EQ(text, "file");

  // Nothing enabled: unchanged.
  text = "Any Name";
  EXPECT_EQ(ConvertGeneral(GeneralRuleOptions{}, 0, &text), 0);
  EXPECT_EQ(text, "Any Name");

  // Every character deleted: an empty result is still a success.
  o = DeleteOptions(kDeleteLetter | kDeleteSpace, kTargetHalfWidth);
  text = "a b";
  EXPECT_EQ(ConvertGeneral(o, 0, &text), 0);
  EXPECT_EQ(text, "");
}

TEST_F(GeneralRuleTest, ConvertGeneralReportsPaddingFailure) {
  // A failed padding leaves the text as the bracket step made it and skips the character pass.
  GeneralRuleOptions o = BracketOptions(kBracketDeletePart, Pair(1));
  o.ipn_sel |= kGeneralCase | kGeneralPad;
  o.case_mode = kCaseUpper;
  o.pad_width = 9;
  std::string text = "[x]abc1";
  EXPECT_EQ(ConvertGeneral(o, 0, &text), kGeneralRuleFailed);
  EXPECT_EQ(text, "abc1");

  o.pad_width = 8;
  const std::string long_name = "abc1" + std::string(252, 'x');
  text = "[x]" + long_name;
  EXPECT_EQ(ConvertGeneral(o, 0, &text), kGeneralRuleFailed);
  EXPECT_EQ(text, long_name);

  text = "[x]abc1";
  EXPECT_EQ(ConvertGeneral(o, 0, &text), 0);
  EXPECT_EQ(text, "ABC00000001");

  // Input longer than any name the rule may return is refused untouched.
  const std::string oversize(kGeneralRuleMaxText + 1, 'a');
  text = oversize;
  EXPECT_EQ(ConvertGeneral(CaseOptions(kCaseUpper, 0), 0, &text), kGeneralRuleFailed);
  EXPECT_EQ(text, oversize);
}

}  // namespace
}  // namespace morva
