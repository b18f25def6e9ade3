#ifndef MORVA_RENAME_WIDTH_RULE_H_
#define MORVA_RENAME_WIDTH_RULE_H_

#include <cstddef>
#include <string>

// The full-width / half-width name rule ("名称全角／半角変換"): converts chosen classes of characters of
// a code page 932 text between their one-byte and two-byte forms, in one direction per call. The
// control statements "DBLCHR<" and "SGLCHR<" use the same conversion with a class set of their own.
// A pure function of its parameters over the constant tables of platform/cp932_width.h.
namespace morva {

// Bits of the class set (FNM_ZNK_CTC).
enum WidthClass : int {
  kWidthLetters = 0x1,     // "a"-"z" "A"-"Z" <-> "ａ"-"ｚ" "Ａ"-"Ｚ"
  kWidthDigits = 0x2,      // "0"-"9" <-> "０"-"９"
  kWidthSymbols = 0x4,     // "!#$%&'+,-;=@^_`~" <-> "！＃＄％＆’＋，－；＝＠＾＿‘～"
  kWidthBrackets = 0x8,    // "()[]{}｢｣" <-> "（）［］｛｝「」"
  kWidthSpace = 0x10,      // " " <-> "　"
  kWidthKatakana = 0x20,   // half-width kana <-> katakana
  kWidthHiragana = 0x40,   // half-width kana <-> hiragana
  kWidthEverything = 0x80, // any other character with a counterpart (control statements only)
};

// Bits of the kana options (FNM_ZNK_JCB).
enum WidthKanaOption : int {
  kWidthKanaSymbols = 0x1,  // also the symbols common to both kana: "｡､ｰﾞﾟ" <-> "。、ー゛゜"
  kWidthLoneMarks = 0x2,    // with kWidthKanaSymbols: to full-width, voicing marks stay apart from letters
};

// The longest text the rule may produce, in bytes.
inline constexpr std::size_t kWidthRuleMaxText = 260;

// The failure-word bit the dispatcher sets when ConvertWidth returns false ("name not built").
inline constexpr int kWidthRuleFailed = 0x100;

// Converts *text in place, character by character.
//
// To full-width, only one-byte characters change. A character of a class in `classes` takes its
// full-width form. With kWidthKatakana or kWidthHiragana a half-width kana letter becomes katakana (or
// hiragana with kWidthHiragana); a following "ﾞ" or "ﾟ" is taken with it ("ｶﾞ" -> "ガ", "ｱﾞ" -> "ア゛")
// unless both kana options are set, and "ｳ" is taken with its mark only with kWidthHiragana (where
// "ｳﾞ" gives "ヴ": the code page has no hiragana for it). The common kana symbols change only when a
// kana class and a kana option are set. kWidthEverything converts every other one-byte character with
// a full-width form.
//
// To half-width, only two-byte characters change. A full-width character of a class in `classes` takes
// its one-byte form. With kWidthKatakana a katakana "ァ"-"ヶ" is converted ("ヰ" and "ヱ" as "イ" and
// "エ", which have half-width forms; "ガ" gives the two bytes "ｶﾞ"); with kWidthHiragana a hiragana
// "ぁ"-"ん" is converted through its katakana ("ゐ" and "ゑ" as "い" and "え"). The common kana
// symbols change only when a kana class and a kana option are set. kWidthEverything converts every
// other two-byte character with a one-byte form, except where that form is a character a file name
// cannot hold ("＼" would become a path separator): such a character stays.
//
// A character without a counterpart stays as it is, and so does a lead byte cut off by the end of the
// text. Returns false, leaving *text unchanged, when the result would be longer than kWidthRuleMaxText
// bytes (a text that no character of changes is never refused); the half-width direction never
// lengthens the text and cannot fail.
bool ConvertWidth(std::string* text, bool to_full_width, int classes, int kana_options);

}  // namespace morva

#endif  // MORVA_RENAME_WIDTH_RULE_H_
