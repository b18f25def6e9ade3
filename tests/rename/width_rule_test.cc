#include "engine/name_step.h"
#include "rename/width_rule.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "engine/validation.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

constexpr int kAllButKana = kWidthLetters | kWidthDigits | kWidthSymbols | kWidthBrackets | kWidthSpace;

class WidthRuleTest : public testing::EngineFixture {
 protected:
  // ConvertWidth on the code page 932 form of `utf8`; the result in UTF-8, or "<failed>" (after
  // checking that the text was left unchanged).
  std::string W(const std::string& utf8, bool to_full, int classes, int kana = 0) {
    const std::string before = S(utf8);
    std::string text = before;
    if (!ConvertWidth(&text, to_full, classes, kana)) {
      EXPECT_EQ(text, before) << "a refused conversion changed the text";
      return "<failed>";
    }
    return U(text);
  }

};

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct Case {
  int classes;
  int kana;
  const char* expected;
};

TEST_F(WidthRuleTest, ToFullWidthByClass) {
  // One character or more of every class, a kana letter that joins its mark, one that has no joined
  // form ("ｱﾞ"), "ｳﾞ", the common kana symbols, and characters of no class.
  const std::string in = "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ ｶﾞﾊﾟｳﾞｱﾞｦｯ｡､ｰ.･漢";
  const Case cases[] = {
      {kWidthLetters, 0, "ａＺ09!#$%&'+,-;=@^_`~()[]{}｢｣ ｶﾞﾊﾟｳﾞｱﾞｦｯ｡､ｰ.･漢"},
      {kWidthDigits, 0, "aZ０９!#$%&'+,-;=@^_`~()[]{}｢｣ ｶﾞﾊﾟｳﾞｱﾞｦｯ｡､ｰ.･漢"},
      {kWidthSymbols, 0, "aZ09！＃＄％＆’＋，－；＝＠＾＿‘～()[]{}｢｣ ｶﾞﾊﾟｳﾞｱﾞｦｯ｡､ｰ.･漢"},
      {kWidthBrackets, 0, "aZ09!#$%&'+,-;=@^_`~（）［］｛｝「」 ｶﾞﾊﾟｳﾞｱﾞｦｯ｡､ｰ.･漢"},
      {kWidthSpace, 0, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣　ｶﾞﾊﾟｳﾞｱﾞｦｯ｡､ｰ.･漢"},
      // Katakana: marks join except after "ｳ"; a mark left alone is a common symbol.
      {kWidthKatakana, 0, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ ガパウﾞア゛ヲッ｡､ｰ.･漢"},
      {kWidthKatakana, kWidthKanaSymbols, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ ガパウ゛ア゛ヲッ。、ー.･漢"},
      {kWidthKatakana, kWidthLoneMarks, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ ガパウ゛ア゛ヲッ。、ー.･漢"},
      {kWidthKatakana, 3, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ カ゛ハ゜ウ゛ア゛ヲッ。、ー.･漢"},
      // Hiragana: "ｳﾞ" joins, but its hiragana is not in the code page, so it stays katakana.
      {kWidthHiragana, 0, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ がぱヴあ゛をっ｡､ｰ.･漢"},
      {kWidthHiragana, 3, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ か゛は゜う゛あ゛をっ。、ー.･漢"},
      // Every character, kana letters included, but each on its own.
      {kWidthEverything, 0, "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　カ゛ハ゜ウ゛ア゛ヲッ。、ー．・漢"},
      {kAllButKana | kWidthKatakana, kWidthKanaSymbols,
       "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ガパウ゛ア゛ヲッ。、ー.･漢"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(W(in, true, c.classes, c.kana), c.expected) << c.classes << "/" << c.kana;
  }
  // A trail byte that looks like a letter, a digit or a mark is never converted; nor is a cut lead.
  EXPECT_EQ(W("アソ9", true, kAllButKana | kWidthKatakana, 3), "アソ９");
  std::string cut = S("a") + "\x83";
  ASSERT_TRUE(ConvertWidth(&cut, true, kWidthEverything, 3));
  EXPECT_EQ(cut, S("ａ") + "\x83");
  // The examples of the rule's description.
  EXPECT_EQ(W("abc123.txt", true, kWidthLetters | kWidthDigits), "ａｂｃ１２３.ｔｘｔ");
  EXPECT_EQ(W("ｶﾞｷﾞ", true, kWidthKatakana, 1), "ガギ");
  EXPECT_EQ(W("ｶﾞｷﾞ", true, kWidthKatakana, 3), "カ゛キ゛");
}

TEST_F(WidthRuleTest, ToHalfWidthByClass) {
  const std::string in = "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ガパヴヰヲッ゛がぱゐゎっ。、ー．・｀漢";
  const Case cases[] = {
      {kWidthLetters, 0, "aZ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ガパヴヰヲッ゛がぱゐゎっ。、ー．・｀漢"},
      {kWidthDigits, 0, "ａＺ09！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ガパヴヰヲッ゛がぱゐゎっ。、ー．・｀漢"},
      // "｀" is the code page's second full-width grave accent, not the class's own "‘".
      {kWidthSymbols, 0, "ａＺ０９!#$%&'+,-;=@^_`~（）［］｛｝「」　ガパヴヰヲッ゛がぱゐゎっ。、ー．・｀漢"},
      {kWidthBrackets, 0, "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～()[]{}｢｣　ガパヴヰヲッ゛がぱゐゎっ。、ー．・｀漢"},
      {kWidthSpace, 0, "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」 ガパヴヰヲッ゛がぱゐゎっ。、ー．・｀漢"},
      // "ヰ" becomes "ｲ"; the common symbols need a kana option.
      {kWidthKatakana, 0, "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ｶﾞﾊﾟｳﾞｲｦｯ゛がぱゐゎっ。、ー．・｀漢"},
      {kWidthKatakana, kWidthKanaSymbols,
       "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ｶﾞﾊﾟｳﾞｲｦｯﾞがぱゐゎっ｡､ｰ．・｀漢"},
      // Hiragana go through katakana: "ゐ" as "ｲ"; "ゎ" has katakana but no half-width form.
      {kWidthHiragana, 0, "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ガパヴヰヲッ゛ｶﾞﾊﾟｲヮｯ。、ー．・｀漢"},
      {kWidthHiragana, kWidthLoneMarks,
       "ａＺ０９！＃＄％＆’＋，－；＝＠＾＿‘～（）［］｛｝「」　ガパヴヰヲッﾞｶﾞﾊﾟｲヮｯ｡､ｰ．・｀漢"},
      // Every character with a half-width form; "ヰ" and the hiragana have none of their own.
      {kWidthEverything, 0, "aZ09!#$%&'+,-;=@^_`~()[]{}｢｣ ｶﾞﾊﾟｳﾞヰｦｯﾞがぱゐゎっ｡､ｰ.･`漢"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(W(in, false, c.classes, c.kana), c.expected) << c.classes << "/" << c.kana;
  }
  EXPECT_EQ(W("がっこう", false, kWidthHiragana), "ｶﾞｯｺｳ");
  EXPECT_EQ(W("ゐゑヱ", false, kWidthHiragana | kWidthKatakana), "ｲｴｴ");
  EXPECT_EQ(W("ー", false, kWidthKatakana), "ー");
  EXPECT_EQ(W("ー", false, kWidthKatakana, kWidthKanaSymbols), "ｰ");
  // A half-width form that a file name cannot hold is never produced; the character stays.
  EXPECT_EQ(W("ａ＼ｂ／ｃ：＊？＂＜＞｜．", false, kWidthEverything), "a＼b／c：＊？＂＜＞｜.");
  // A cut lead byte stays.
  std::string cut = S("ａ") + "\x82";
  ASSERT_TRUE(ConvertWidth(&cut, false, kWidthEverything, 3));
  EXPECT_EQ(cut, "a\x82");
}

TEST_F(WidthRuleTest, LengthLimit) {
  // 130 letters fill exactly 260 bytes; the 131st is refused and the text stays as it was.
  EXPECT_EQ(W(std::string(130, 'a'), true, kWidthLetters), Repeat("ａ", 130));
  EXPECT_EQ(W(std::string(131, 'a'), true, kWidthLetters), "<failed>");
  // Characters copied after the last conversion count too.
  EXPECT_EQ(W("a" + std::string(258, '.'), true, kWidthLetters), "ａ" + std::string(258, '.'));
  EXPECT_EQ(W("a" + std::string(259, '.'), true, kWidthLetters), "<failed>");
  // A long text that nothing of changes is left alone; the half-width direction never fails.
  EXPECT_EQ(W(std::string(300, '.'), true, kWidthLetters), std::string(300, '.'));
  EXPECT_EQ(W(Repeat("ａ", 200), false, kWidthLetters), std::string(200, 'a'));
}

TEST_F(WidthRuleTest, NameRuleReadsTheJobAndFailsLongNames) {
  session.job.settings.sw_fnm = 2;
  session.job.settings.fnm_znk0 = 1;
  session.job.settings.fnm_znk_ctc = kWidthLetters | kWidthKatakana;
  session.job.settings.fnm_znk_jcb = 0;
  auto apply = [&](const std::string& utf8) {
    std::string text = S(utf8);
    std::uint32_t failure = 0;
    const bool ok = ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure);
    EXPECT_EQ(ok, failure == 0);
    return ok ? U(text) : "<failed " + std::to_string(failure) + ">";
  };
  EXPECT_EQ(apply("ab1ｶﾞ"), "ａｂ1ガ");
  session.job.settings.fnm_znk_jcb = 3;
  EXPECT_EQ(apply("ab1ｶﾞ"), "ａｂ1カ゛");
  EXPECT_EQ(apply(std::string(131, 'x')), "<failed 256>");
  session.job.settings.fnm_znk0 = 2;
  EXPECT_EQ(apply("ａｂ１ガ"), "ab１ｶﾞ");
}

TEST_F(WidthRuleTest, ValidationRefusesClassSetsThatCannotWork) {
  session.job.settings.sw_fnm = 2;
  auto refusal = [&](int direction, int classes) {
    session.job.settings.fnm_znk0 = static_cast<std::int16_t>(direction);
    session.job.settings.fnm_znk_ctc = static_cast<std::uint8_t>(classes);
    const ValidationVerdict verdict = ValidateJob(session, false);
    if (verdict.accepted()) return std::string("ok");
    EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
    EXPECT_EQ(verdict.page, 2);
    EXPECT_EQ(verdict.key, "FNM_ZNK_CTC");
    return U(verdict.message);
  };
  EXPECT_EQ(refusal(1, 0), "全角／半角変換の変換対象文字が１つも指定されていません。");
  EXPECT_EQ(refusal(2, 0), "全角／半角変換の変換対象文字が１つも指定されていません。");
  EXPECT_EQ(refusal(1, kWidthKatakana | kWidthHiragana | kWidthLetters),
            "全角変換時、変換対象に「カタカナ」と「ひらがな」の両方を同時に指定できません。");
  EXPECT_EQ(refusal(2, kWidthKatakana | kWidthHiragana), "ok");
  EXPECT_EQ(refusal(1, kWidthHiragana | kWidthSpace), "ok");
}

TEST_F(WidthRuleTest, RunRenamesATree) {
  MakeDir("sub");
  MakeFile("abc 01.txt", "1");
  MakeFile("ｶﾞｷﾞ.mp3", "2");
  MakeFile("sub/ﾊﾟﾝ (1).TXT", "3");
  MakeFile("漢字.txt", "4");
  session.job.app.sw_set[2] = true;  // subdirectories too
  session.job.settings.sw_fnm = 2;
  session.job.settings.fnm_znk0 = 1;
  session.job.settings.fnm_znk_ctc = kWidthLetters | kWidthDigits | kWidthBrackets | kWidthKatakana;
  session.job.settings.fnm_znk_jcb = 0;
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 3);
  EXPECT_EQ(session.run.counters.not_needed, 1);
  EXPECT_EQ(session.run.counters.full_failure, 0);
  // The extension is left alone; the space is not a chosen class.
  EXPECT_EQ(testing::ReadFile(dir.Sub("ａｂｃ ０１.txt")), "1");
  EXPECT_EQ(testing::ReadFile(dir.Sub("ガギ.mp3")), "2");
  EXPECT_EQ(testing::ReadFile(dir.Sub("sub/パン （１）.TXT")), "3");
  EXPECT_EQ(testing::ReadFile(dir.Sub("漢字.txt")), "4");
  EXPECT_FALSE(testing::Exists(dir.Sub("abc 01.txt")));
  EXPECT_FALSE(testing::Exists(dir.Sub("ｶﾞｷﾞ.mp3")));

  // Back to half-width: the original names return.
  session.job.settings.fnm_znk0 = 2;
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 3);
  EXPECT_EQ(testing::ReadFile(dir.Sub("abc 01.txt")), "1");
  EXPECT_EQ(testing::ReadFile(dir.Sub("ｶﾞｷﾞ.mp3")), "2");
  EXPECT_EQ(testing::ReadFile(dir.Sub("sub/ﾊﾟﾝ (1).TXT")), "3");
}

}  // namespace
}  // namespace morva
