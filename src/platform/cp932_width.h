#ifndef MORVA_PLATFORM_CP932_WIDTH_H_
#define MORVA_PLATFORM_CP932_WIDTH_H_

#include <cstddef>

#include "platform/cp932.h"

// The width and kana counterparts of code page 932 characters: the one-byte (half-width) and two-byte
// (full-width) forms of letters, digits, symbols, brackets, the space and katakana, and hiragana beside
// katakana. The tables are constant data derived from the code page's Unicode mapping (glibc's CP932)
// and Unicode's <wide>/<narrow> compatibility pairs, except for these pairs that the program's own
// tables fix: "'" <-> "’", "`" <-> "‘", "~" <-> "～", "ﾞ" <-> "゛" and "ﾟ" <-> "゜" (Unicode would give
// the full-width apostrophe and grave accent and the combining marks, which the code page either lacks
// or stores elsewhere). A character without a counterpart in the code page has none here.
namespace morva::cp932 {

inline constexpr unsigned char kVoicedMark = 0xDE;      // "ﾞ"
inline constexpr unsigned char kSemiVoicedMark = 0xDF;  // "ﾟ"

// True for a half-width kana letter: "ｦ" to "ﾝ" (0xA6-0xDD) except the prolonged sound mark "ｰ".
inline constexpr bool IsHalfWidthKanaLetter(unsigned char b) { return b >= 0xA6 && b <= 0xDD && b != 0xB0; }

// The full-width form of a one-byte character, or 0 when it has none (control bytes, 0x7F, bytes
// outside 0x20-0x7E and 0xA1-0xDF). Half-width kana become katakana; "ﾞ" and "ﾟ" become the spacing
// marks "゛" and "゜".
Char FullWidthOf(unsigned char c);

// The single full-width katakana of a half-width kana letter followed by `mark` (kVoicedMark or
// kSemiVoicedMark): "ｶ"+"ﾞ" -> "ガ", "ﾊ"+"ﾟ" -> "パ", "ｳ"+"ﾞ" -> "ヴ". 0 when the pair has no such
// character ("ｱ"+"ﾞ").
Char JoinedFullWidthOf(unsigned char letter, unsigned char mark);

// The half-width form of a two-byte character: one byte, or two for a katakana with a voiced or
// semi-voiced mark ("ガ" -> "ｶ" "ﾞ"). `length` is 0 when the character has none ("ヰ", "ヶ", kanji).
struct HalfWidth {
  unsigned char bytes[2] = {0, 0};
  std::size_t length = 0;
};
HalfWidth HalfWidthOf(Char c);

// The hiragana of a katakana "ァ" to "ン", or 0 for any other character ("ヴ", "ヵ" and "ヶ" have no
// hiragana in the code page).
Char HiraganaOf(Char katakana);

// The katakana of a hiragana "ぁ" to "ん", or 0 for any other character.
Char KatakanaOf(Char hiragana);

}  // namespace morva::cp932

#endif  // MORVA_PLATFORM_CP932_WIDTH_H_
