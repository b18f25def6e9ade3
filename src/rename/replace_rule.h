#ifndef MORVA_RENAME_REPLACE_RULE_H_
#define MORVA_RENAME_REPLACE_RULE_H_

// Name rule 3, "名称文字列置換": replacing every occurrence of a string or pattern, or a range of bytes
// given by position. The replacement by string also serves the other rules that replace text.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/conversion_settings.h"

namespace morva {

class RegexService;

// The longest rule text a replacement may produce, in bytes.
inline constexpr std::size_t kMaxReplacedLength = 260;

// What the replacements return.
inline constexpr int kReplaceOk = 0;
inline constexpr int kReplaceTooLong = -1;      // the result would be longer than kMaxReplacedLength
inline constexpr int kReplaceRegexFailed = -2;  // the regular-expression service failed or is missing

// Replaces every occurrence of `target` in *text (all code page 932) by `replacement`.
// Without `use_regex`, `target` is a plain string: it matches only at character boundaries and covers
// whole characters, letter case is ignored with `ignore_case` (full-width and half-width letters stay
// different), matches do not overlap and the search goes on after the inserted replacement, so inserted
// text is never searched again. An empty plain target replaces nothing. With `use_regex`, `target` is a
// pattern for `regex` (null fails) and `replacement` may use its markers.
// Returns kReplaceOk, kReplaceTooLong or kReplaceRegexFailed; *text changes only on kReplaceOk.
int ReplaceString(RegexService* regex, std::string* text, std::string_view target, std::string_view replacement,
                  bool ignore_case, bool use_regex);

// The replacement by position as the job record describes it. Positions are counted from 1.
struct PositionReplacement {
  bool from_end = false;     // the position counts from the last byte
  int position = 1;          // the start position
  bool backward = false;     // the range is the bytes ending at the position, not starting there
  bool all = true;           // the range runs to the end of the text in its direction
  int count = 0;             // else its length in bytes; 0 or less inserts the replacement
  bool take_whole = true;    // a boundary inside a two-byte character takes the character in
  std::string replacement;   // code page 932
};

// The replacement by position of a job (FNM_CKN3 to FNM_CKNA); digits that do not form a number count
// as 0, as validation has refused them before any run.
PositionReplacement PositionReplacementOf(const ConversionSettings& settings);

// Replaces the range `r` describes in *text, fitting its ends to whole characters. Returns kReplaceOk,
// or kReplaceTooLong (text unchanged) when the result would be longer than kMaxReplacedLength.
int ReplaceAtPosition(const PositionReplacement& r, std::string* text);

// A quick screen of a regular expression (code page 932) for mistakes a person commonly makes: an
// empty pattern, a group, quantifier, alternative, dot or class that cannot be complete, or a trailing
// backslash. Passing it does not mean the pattern compiles.
bool CheckPattern(std::string_view pattern);

}  // namespace morva

#endif  // MORVA_RENAME_REPLACE_RULE_H_
