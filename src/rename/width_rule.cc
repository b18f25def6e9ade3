#include "rename/width_rule.h"

#include <string_view>
#include <utility>

#include "platform/path_utils.h"
#include "platform/cp932.h"
#include "platform/cp932_width.h"

namespace morva {
namespace {

using cp932::Char;

constexpr int kKanaClasses = kWidthKatakana | kWidthHiragana;

constexpr Char kSmallWi = 0x8390;   // "ヰ"
constexpr Char kSmallWe = 0x8391;   // "ヱ"
constexpr Char kKataI = 0x8343;     // "イ"
constexpr Char kKataE = 0x8347;     // "エ"
constexpr Char kHiraWi = 0x82EE;    // "ゐ"
constexpr Char kHiraWe = 0x82EF;    // "ゑ"
constexpr Char kHiraI = 0x82A2;     // "い"
constexpr Char kHiraE = 0x82A6;     // "え"
constexpr Char kFirstKatakana = 0x8340, kLastKatakana = 0x8396;  // "ァ" to "ヶ"
constexpr Char kFirstHiragana = 0x829F, kLastHiragana = 0x82F1;  // "ぁ" to "ん"
constexpr unsigned char kHalfU = 0xB3;                           // "ｳ"

// The class of a one-byte character (a WidthClass bit of the first five), or 0.
int HalfWidthClass(unsigned char b) {
  if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) return kWidthLetters;
  if (b >= '0' && b <= '9') return kWidthDigits;
  if (b == ' ') return kWidthSpace;
  static constexpr std::string_view kSymbols = "!#$%&'+,-;=@^_`~";
  static constexpr std::string_view kBrackets = "()[]{}\xA2\xA3";
  if (kSymbols.find(static_cast<char>(b)) != std::string_view::npos) return kWidthSymbols;
  if (kBrackets.find(static_cast<char>(b)) != std::string_view::npos) return kWidthBrackets;
  return 0;
}

// The class of a two-byte character: that of its one-byte form when the pair is the class's own
// ("’" is a symbol, the code page's second form "｀" of "`" is not).
int FullWidthClass(Char c) {
  const cp932::HalfWidth h = cp932::HalfWidthOf(c);
  if (h.length != 1 || cp932::FullWidthOf(h.bytes[0]) != c) return 0;
  return HalfWidthClass(h.bytes[0]);
}

// "｡", "､", "ｰ", "ﾞ", "ﾟ".
bool IsHalfKanaSymbol(unsigned char b) {
  return b == 0xA1 || b == 0xA4 || b == 0xB0 || b == cp932::kVoicedMark || b == cp932::kSemiVoicedMark;
}

// "。", "、", "ー", "゛", "゜".
bool IsFullKanaSymbol(Char c) {
  return c == 0x8142 || c == 0x8141 || c == 0x815B || c == 0x814A || c == 0x814B;
}

void AppendHalf(const cp932::HalfWidth& h, std::string* out) {
  for (std::size_t k = 0; k < h.length; ++k) out->push_back(static_cast<char>(h.bytes[k]));
}

bool ToFullWidth(std::string* text, int classes, int kana_options) {
  const std::string_view in = *text;
  const bool kana = classes & kKanaClasses;
  const bool hiragana = classes & kWidthHiragana;
  const bool kana_symbols = kana_options & (kWidthKanaSymbols | kWidthLoneMarks);
  const bool lone_marks = (kana_options & (kWidthKanaSymbols | kWidthLoneMarks)) ==
                          (kWidthKanaSymbols | kWidthLoneMarks);
  std::string out;
  out.reserve(in.size() * 2);
  bool changed = false;

  for (std::size_t i = 0; i < in.size();) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    if (cp932::IsLeadByte(b)) {
      const std::size_t n = cp932::CharLengthAt(in, i);
      out.append(in.substr(i, n));
      i += n;
      continue;
    }
    Char full = 0;
    Char mark = 0;  // a mark taken with a letter it does not combine with
    std::size_t used = 1;
    if (HalfWidthClass(b) & classes) {
      full = cp932::FullWidthOf(b);
    } else if (kana && cp932::IsHalfWidthKanaLetter(b)) {
      const unsigned char next = i + 1 < in.size() ? static_cast<unsigned char>(in[i + 1]) : 0;
      const bool join = (next == cp932::kVoicedMark || next == cp932::kSemiVoicedMark) && !lone_marks &&
                        (b != kHalfU || hiragana);
      full = cp932::FullWidthOf(b);
      if (join) {
        used = 2;
        if (const Char joined = cp932::JoinedFullWidthOf(b, next); joined != 0) {
          full = joined;
        } else {
          mark = cp932::FullWidthOf(next);
        }
      }
      if (hiragana) {
        if (const Char h = cp932::HiraganaOf(full); h != 0) full = h;
      }
    } else if (kana && kana_symbols && IsHalfKanaSymbol(b)) {
      full = cp932::FullWidthOf(b);
    } else if (classes & kWidthEverything) {
      full = cp932::FullWidthOf(b);
    }

    if (full == 0) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    cp932::AppendChar(full, &out);
    if (mark != 0) cp932::AppendChar(mark, &out);
    i += used;
    changed = true;
    // Checked as the text grows so that a long text stops early; the end of the loop checks again for
    // a name that only the characters copied after the last change pushed over the limit.
    if (out.size() > kWidthRuleMaxText) return false;
  }
  if (changed && out.size() > kWidthRuleMaxText) return false;
  *text = std::move(out);
  return true;
}

void ToHalfWidth(std::string* text, int classes, int kana_options) {
  const std::string_view in = *text;
  const bool kana_symbols = (classes & kKanaClasses) && (kana_options & (kWidthKanaSymbols | kWidthLoneMarks));
  std::string out;
  out.reserve(in.size());

  for (std::size_t i = 0; i < in.size();) {
    std::size_t n = 0;
    const Char c = cp932::CharAt(in, i, &n);
    if (n != 2) {
      out.push_back(in[i]);
      i += n;
      continue;
    }
    i += 2;
    cp932::HalfWidth h;
    Char kept = c;  // what stays when there is no half-width form
    if (FullWidthClass(c) & classes) {
      h = cp932::HalfWidthOf(c);
    } else if ((classes & kWidthKatakana) && c >= kFirstKatakana && c <= kLastKatakana) {
      h = cp932::HalfWidthOf(c == kSmallWi ? kKataI : c == kSmallWe ? kKataE : c);
    } else if ((classes & kWidthHiragana) && c >= kFirstHiragana && c <= kLastHiragana) {
      kept = cp932::KatakanaOf(c == kHiraWi ? kHiraI : c == kHiraWe ? kHiraE : c);
      h = cp932::HalfWidthOf(kept);
    } else if (kana_symbols && IsFullKanaSymbol(c)) {
      h = cp932::HalfWidthOf(c);
    } else if (classes & kWidthEverything) {
      h = cp932::HalfWidthOf(c);
      if (h.length == 1 && !IsFileNameChar(h.bytes[0], false)) h = cp932::HalfWidth{};
    }
    if (h.length != 0) {
      AppendHalf(h, &out);
    } else {
      cp932::AppendChar(kept, &out);
    }
  }
  *text = std::move(out);
}

}  // namespace

bool ConvertWidth(std::string* text, bool to_full_width, int classes, int kana_options) {
  if (to_full_width) return ToFullWidth(text, classes, kana_options);
  ToHalfWidth(text, classes, kana_options);
  return true;
}

}  // namespace morva
