#include "rename/general_rule.h"

#include "platform/cp932.h"

namespace morva {
namespace {

using cp932::Char;

// Bracket pairs 1-4 are one byte wide, 5-16 two bytes wide; a character is only compared with the pairs
// of its own width.
constexpr std::size_t kFirstWidePair = 4;

// The enabled pair that `c` (of `length` bytes) opens or closes, or null. *is_open tells which.
const BracketPair* FindPair(Char c, std::size_t length, std::uint16_t enabled, bool* is_open) {
  const std::size_t first = length == 2 ? kFirstWidePair : 0;
  const std::size_t last = length == 2 ? kBracketPairs.size() : kFirstWidePair;
  for (std::size_t k = first; k < last; ++k) {
    if ((enabled & (1u << k)) == 0) continue;
    const BracketPair& pair = kBracketPairs[k];
    std::size_t unused = 0;
    if (c == cp932::CharAt(pair.open, 0, &unused)) {
      *is_open = true;
      return &pair;
    }
    if (c == cp932::CharAt(pair.close, 0, &unused)) {
      *is_open = false;
      return &pair;
    }
  }
  return nullptr;
}

inline bool IsAsciiDigit(char b) { return b >= '0' && b <= '9'; }

// Appends one run of digits without its superfluous leading zeros, padded with zeros to `width`.
void AppendPadded(std::string_view run, std::size_t width, std::string* out) {
  std::size_t skip = 0;
  while (skip + 1 < run.size() && run[skip] == '0') ++skip;
  run.remove_prefix(skip);
  if (run.size() < width) out->append(width - run.size(), '0');
  out->append(run);
}

enum class CharClass { kSpace, kDigit, kLetter, kOther };

// Plain code comparisons: only ASCII and the full-width forms count, so Greek or Cyrillic letters and
// half-width katakana are "other".
CharClass Classify(Char c) {
  if (c == ' ' || c == 0x8140) return CharClass::kSpace;                       // "　"
  if ((c >= '0' && c <= '9') || (c >= 0x824F && c <= 0x8258)) return CharClass::kDigit;  // "０"-"９"
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return CharClass::kLetter;
  if ((c >= 0x8260 && c <= 0x8279) || (c >= 0x8281 && c <= 0x829A)) return CharClass::kLetter;  // Ａ-Ｚ ａ-ｚ
  return CharClass::kOther;
}

Char ConvertLetter(Char c, int mode, bool capitalize) {
  switch (mode) {
    case kCaseUpper:
      return cp932::ToUpper(c);
    case kCaseLower:
      return cp932::ToLower(c);
    case kCaseCapitalize:
      return capitalize ? cp932::ToUpper(c) : cp932::ToLower(c);
    default:
      return c;
  }
}

}  // namespace

int ConvertGeneral(const GeneralRuleOptions& options, std::size_t extension_length, std::string* text) {
  // The later steps never lengthen the text, so an over-long input could only come back over-long.
  if (text->size() > kGeneralRuleMaxText) return kGeneralRuleFailed;
  if (options.ipn_sel & kGeneralBrackets) RemoveBrackets(options, extension_length, text);
  if ((options.ipn_sel & kGeneralPad) && !PadDigits(text, options.pad_width, options.pad_trailing_only)) {
    return kGeneralRuleFailed;
  }
  ConvertCharacters(options, text);
  return 0;
}

void RemoveBrackets(const GeneralRuleOptions& options, std::size_t extension_length, std::string* text) {
  const int mode = options.bracket_mode;
  if (mode != kBracketDeletePart && mode != kBracketDeleteOnly) return;
  // The extension only needs protecting when it is part of this text. The choice made here: a bracketed
  // part survives when its closing character lies in the extension (the last extension_length bytes),
  // wherever it opens; every other bracketed part goes.
  const bool protect_extension = !options.extension_apart && extension_length > 0;
  std::string& s = *text;
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t length = 0;
    const Char c = cp932::CharAt(s, pos, &length);
    bool is_open = false;
    const BracketPair* pair = FindPair(c, length, options.bracket_pairs, &is_open);
    if (pair == nullptr) {
      pos += length;
      continue;
    }
    if (mode == kBracketDeleteOnly) {
      s.erase(pos, length);  // the next character moves up to pos and is examined next
      continue;
    }
    if (!is_open) {
      pos += length;
      continue;
    }
    const std::size_t close = cp932::Find(s, pair->close, pos + length);
    const std::size_t extension_start = s.size() > extension_length ? s.size() - extension_length : 0;
    if (close == std::string::npos || (protect_extension && close >= extension_start)) {
      pos += length;
      continue;
    }
    s.erase(pos, close + pair->close.size() - pos);
  }
}

bool PadDigits(std::string* text, int width, bool trailing_only) {
  if (width < 1 || width > 8) return false;
  const std::string_view s = *text;
  const std::size_t w = static_cast<std::size_t>(width);
  std::string out;
  if (trailing_only) {
    // Walking back, a digit-looking byte that is the second byte of a two-byte character ends the run.
    std::size_t begin = s.size();
    while (begin > 0 && IsAsciiDigit(s[begin - 1]) && !cp932::IsTrailAt(s, begin - 1)) --begin;
    if (begin == s.size()) return true;
    out.assign(s.substr(0, begin));
    AppendPadded(s.substr(begin), w, &out);
  } else {
    out.reserve(s.size() + w);
    std::size_t i = 0;
    while (i < s.size()) {
      if (IsAsciiDigit(s[i])) {
        std::size_t end = i;
        while (end < s.size() && IsAsciiDigit(s[end])) ++end;
        AppendPadded(s.substr(i, end - i), w, &out);
        i = end;
      } else {
        // A two-byte character goes whole, so its trail is never read as a digit.
        const std::size_t n = cp932::CharLengthAt(s, i);
        out.append(s.substr(i, n));
        i += n;
      }
    }
  }
  // The whole result is measured, not only the part built when zeros went in: the text after the last
  // padded run counts as well.
  if (out.size() > kGeneralRuleMaxText) return false;
  text->swap(out);
  return true;
}

void ConvertCharacters(const GeneralRuleOptions& options, std::string* text) {
  const bool convert_case = (options.ipn_sel & kGeneralCase) != 0;
  const bool delete_classes = (options.ipn_sel & kGeneralDelete) != 0;
  if (!convert_case && !delete_classes) return;
  const std::string_view s = *text;
  std::string out;
  out.reserve(s.size());
  bool capitalize = true;  // the start of the text is a trigger
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t length = 0;
    Char c = cp932::CharAt(s, i, &length);
    i += length;
    const int width = length == 2 ? kTargetFullWidth : kTargetHalfWidth;
    if ((options.target_widths & width) == 0) {
      cp932::AppendChar(c, &out);
      continue;
    }
    // The trigger flag changes before the deletion test, so a deleted character still decides how the
    // next letter is written.
    int delete_bit = 0;
    switch (Classify(c)) {
      case CharClass::kSpace:
        capitalize = (options.capitalize_after & kAfterSpace) != 0;
        delete_bit = kDeleteSpace;
        break;
      case CharClass::kDigit:
        capitalize = (options.capitalize_after & kAfterDigit) != 0;
        delete_bit = kDeleteDigit;
        break;
      case CharClass::kLetter:
        if (convert_case) c = ConvertLetter(c, options.case_mode, capitalize);
        capitalize = false;
        delete_bit = kDeleteLetter;
        break;
      case CharClass::kOther:
        capitalize = (options.capitalize_after & kAfterOther) != 0;
        delete_bit = kDeleteOther;
        break;
    }
    if (delete_classes && (options.delete_classes & delete_bit) != 0) continue;
    cp932::AppendChar(c, &out);
  }
  text->swap(out);
}

}  // namespace morva
