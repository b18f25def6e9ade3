#ifndef MORVA_RENAME_GENERAL_RULE_H_
#define MORVA_RENAME_GENERAL_RULE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The general name rule ("名称一般変換"): bracket processing, zero padding of half-width digit runs, case
// conversion with capitalisation after chosen characters, and deletion of character classes. The text
// is code page 932; every step works on whole characters, so the trail byte of a two-byte character is
// never taken for a bracket, a digit or a letter.
//
// These are pure functions of their parameters. The settings record owns the values; the name-rule
// dispatcher copies the record's fields into GeneralRuleOptions and turns a failure into the target's
// failure word.
namespace morva {

// Bits of GeneralRuleOptions::ipn_sel: which steps run.
enum GeneralStep : int {
  kGeneralCase = 0x1,      // case conversion (FNM_IPN1)
  kGeneralDelete = 0x2,    // deletion of character classes (FNM_IPN8)
  kGeneralBrackets = 0x4,  // bracket processing (FNM_IPN3)
  kGeneralPad = 0x8,       // zero padding (FNM_IPNC)
};

// GeneralRuleOptions::case_mode.
enum GeneralCaseMode : int {
  kCaseUpper = 1,       // "大文字変換(abc→ABC)"
  kCaseLower = 2,       // "小文字変換(ABC→abc)"
  kCaseCapitalize = 3,  // "先頭大文字、以下小文字(ABC→Abc)"
};

// Bits of GeneralRuleOptions::capitalize_after: after which classes a letter is capitalised in
// kCaseCapitalize. The start of the text always counts.
enum CapitalizeTrigger : int {
  kAfterSpace = 0x1,
  kAfterDigit = 0x2,
  kAfterOther = 0x4,
};

// Bits of GeneralRuleOptions::delete_classes.
enum DeleteClass : int {
  kDeleteSpace = 0x1,
  kDeleteDigit = 0x2,
  kDeleteLetter = 0x4,
  kDeleteOther = 0x80,
};

// GeneralRuleOptions::bracket_mode.
enum BracketMode : int {
  kBracketDeletePart = 1,  // "括弧で括られた部分ごと削除": each bracketed part goes with its brackets
  kBracketDeleteOnly = 2,  // "括弧のみ全て削除": only the bracket characters go
};

// Bits of GeneralRuleOptions::target_widths: which characters case conversion and deletion touch.
enum TargetWidth : int {
  kTargetFullWidth = 0x1,  // two-byte characters (FNM_IPNA, "全角文字")
  kTargetHalfWidth = 0x2,  // one-byte characters, half-width katakana included (FNM_IPNB, "半角文字")
};

struct GeneralRuleOptions {
  int ipn_sel = 0;                  // FNM_IPN_SEL: GeneralStep bits
  int case_mode = kCaseUpper;       // FNM_IPN2: a GeneralCaseMode; another value leaves letters alone
  int capitalize_after = 0;         // FNM_IPNF: CapitalizeTrigger bits
  int delete_classes = 0;           // FNM_IPNG: DeleteClass bits
  int bracket_mode = kBracketDeletePart;  // FNM_IPN4: a BracketMode; another value leaves brackets alone
  std::uint16_t bracket_pairs = 0;  // SW_KAKKO: bit k-1 enables pair k of kBracketPairs
  int pad_width = 1;                // FNM_IPND: digits to pad to, 1 to 8
  bool pad_trailing_only = false;   // FNM_IPNE: pad only the digit run that ends the text
  int target_widths = kTargetFullWidth | kTargetHalfWidth;  // FNM_IPN_TGC: TargetWidth bits
  bool extension_apart = false;     // FNM_01: 1 when name and extension are converted apart
};

// One bracket pair as code page 932 bytes. Opening and closing have the same width.
struct BracketPair {
  std::string_view open;
  std::string_view close;
};

// The 16 bracket pairs in the order of the SW_KAKKO bits. Pairs 1-4 are one byte (pair 4 is the
// half-width corner bracket pair), pairs 5-16 two bytes.
inline constexpr std::array<BracketPair, 16> kBracketPairs = {{
    {"[", "]"},                   // 1
    {"(", ")"},                   // 2
    {"{", "}"},                   // 3
    {"\xA2", "\xA3"},             // 4  ｢ ｣
    {"\x81\x6D", "\x81\x6E"},     // 5  ［ ］
    {"\x81\x69", "\x81\x6A"},     // 6  （ ）
    {"\x81\x6F", "\x81\x70"},     // 7  ｛ ｝
    {"\x81\x75", "\x81\x76"},     // 8  「 」
    {"\x81\x79", "\x81\x7A"},     // 9  【 】
    {"\x81\x6B", "\x81\x6C"},     // 10 〔 〕
    {"\x81\x73", "\x81\x74"},     // 11 《 》
    {"\x81\x77", "\x81\x78"},     // 12 『 』
    {"\x81\x83", "\x81\x84"},     // 13 ＜ ＞
    {"\x81\xE1", "\x81\xE2"},     // 14 ≪ ≫
    {"\x81\x67", "\x81\x68"},     // 15 “ ”
    {"\x81\x65", "\x81\x66"},     // 16 ‘ ’
}};

// The longest text the rule may produce, in bytes. A longer result is a failure, never a cut name.
inline constexpr std::size_t kGeneralRuleMaxText = 260;

// What ConvertGeneral returns when the name could not be built; the value is the failure-word bit the
// dispatcher sets for the target ("path too long / name not built").
inline constexpr int kGeneralRuleFailed = 0x100;

// Runs the steps enabled in options.ipn_sel in this fixed order: RemoveBrackets, PadDigits, then the
// character pass (case conversion and deletion) of ConvertCharacters. `extension_length` is the byte
// length of the target's extension without the dot (0 when it has none).
//
// Returns 0 on success and kGeneralRuleFailed when zero padding fails (width outside 1 to 8, or a
// result over kGeneralRuleMaxText bytes); then *text is left as the bracket step made it and the
// character pass does not run. The result may be empty or unchanged; judging it is the caller's job.
int ConvertGeneral(const GeneralRuleOptions& options, std::size_t extension_length, std::string* text);

// Bracket processing with options.bracket_mode over the pairs enabled in options.bracket_pairs. In
// kBracketDeleteOnly every opening and closing character of an enabled pair is removed. In
// kBracketDeletePart an opening character and everything up to and including the first following
// closing character of its pair are removed (nesting is not counted: "a(b(c)d)e" gives "ad)e"); an
// opening character without a closing one and a lone closing character stay.
//
// When the extension is part of the text (options.extension_apart false), kBracketDeletePart keeps a
// bracketed part whose closing character lies in the last `extension_length` bytes, so that deleting a
// bracketed part never eats into the extension; its opening character stays, and the characters after
// it are examined as usual, so brackets inside it that close before the extension still go. Never
// fails.
void RemoveBrackets(const GeneralRuleOptions& options, std::size_t extension_length, std::string* text);

// Zero padding of runs of half-width digits "0"-"9" to `width` digits. Each run first loses its leading
// zeros as long as another digit follows ("000" -> "0"), then gets zeros in front up to `width`; a run
// longer than `width` keeps all its remaining digits. With `trailing_only` only the run that ends the
// text is touched (none: unchanged, success).
//
// Returns false, leaving *text unchanged, when `width` is outside 1 to 8 or the result would be longer
// than kGeneralRuleMaxText bytes.
bool PadDigits(std::string* text, int width, bool trailing_only);

// The character pass: case conversion (when options.ipn_sel has kGeneralCase) and deletion of
// character classes (when it has kGeneralDelete) on the characters whose width options.target_widths
// selects; other characters are copied and do not affect capitalisation. In kCaseCapitalize a letter is
// upper-cased at the start of the text and after a processed character of a class in
// options.capitalize_after, lower-cased otherwise; a deleted character still counts as the one before
// the next letter ("abc def" with spaces deleted and kAfterSpace gives "AbcDef"). Never fails.
void ConvertCharacters(const GeneralRuleOptions& options, std::string* text);

}  // namespace morva

#endif  // MORVA_RENAME_GENERAL_RULE_H_
