#include "platform/cp932.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text_codec.h"

namespace morva::cp932 {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// "表" and "ソ": their trail byte is '\\'.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

// The obvious forward scan, as an oracle for the lead/trail tests.
std::vector<int> ReferenceKinds(std::string_view s) {
  std::vector<int> kind(s.size(), 0);  // 0 single, 1 lead, 2 trail
  for (std::size_t i = 0; i < s.size();) {
    if (IsLeadByte(static_cast<unsigned char>(s[i]))) {
      kind[i] = 1;
      if (i + 1 < s.size()) kind[i + 1] = 2;
      i += 2;
    } else {
      ++i;
    }
  }
  return kind;
}

TEST(Cp932Test, LeadAndTrailBytes) {
  EXPECT_TRUE(IsLeadAt(kHyo, 0));
  EXPECT_FALSE(IsTrailAt(kHyo, 0));
  EXPECT_FALSE(IsLeadAt(kHyo, 1));
  EXPECT_TRUE(IsTrailAt(kHyo, 1));
  EXPECT_EQ(CharLengthAt(kHyo, 0), 2u);

  // "aソ\ｱ" + "＝＝" (0x8181: the trail is itself in the lead range) + "表".
  const std::string mixed = "a" + kSo + "\\\xB1\x81\x81\x81\x81" + kHyo;
  EXPECT_FALSE(IsLeadAt(mixed, 0));
  EXPECT_TRUE(IsLeadAt(mixed, 1));
  EXPECT_TRUE(IsTrailAt(mixed, 2));
  EXPECT_FALSE(IsTrailAt(mixed, 3));  // the real backslash
  EXPECT_FALSE(IsLeadAt(mixed, 4));   // half-width kana is one byte
  EXPECT_FALSE(IsTrailAt(mixed, 4));
  EXPECT_TRUE(IsLeadAt(mixed, 5));
  EXPECT_TRUE(IsTrailAt(mixed, 6));
  EXPECT_TRUE(IsLeadAt(mixed, 7));
  EXPECT_TRUE(IsTrailAt(mixed, 8));
  EXPECT_TRUE(IsLeadAt(mixed, 9));
  EXPECT_TRUE(IsTrailAt(mixed, 10));

  // A lead byte cut off by the end is still a lead and reads as one byte.
  const std::string cut = "ab\x95";
  EXPECT_TRUE(IsLeadAt(cut, 2));
  EXPECT_EQ(CharLengthAt(cut, 2), 1u);
  std::size_t length = 9;
  EXPECT_EQ(CharAt(cut, 2, &length), 0x95);
  EXPECT_EQ(length, 1u);

  // Past the end nothing is a lead or a trail and no character is read.
  EXPECT_FALSE(IsLeadAt(cut, 3));
  EXPECT_FALSE(IsTrailAt(cut, 3));
  EXPECT_EQ(CharLengthAt(cut, 3), 0u);
  EXPECT_EQ(CharAt(cut, 3, &length), 0);
  EXPECT_EQ(length, 0u);
}

TEST(Cp932Test, LeadAndTrailAgreeWithForwardScanOnRandomText) {
  // Bytes chosen to stress the scan: lead-range bytes that also occur as trails, '\\', kana, ASCII.
  const unsigned char alphabet[] = {0x81, 0x95, 0x9F, 0xE0, 0xFC, 0x5C, 0x40, 0x7E, 0xA1, 0xB1, 0xDF, 'a', '*'};
  std::mt19937 rng(932);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(alphabet) - 1);
  std::uniform_int_distribution<std::size_t> len(0, 24);
  for (int round = 0; round < 2000; ++round) {
    std::string s;
    const std::size_t n = len(rng);
    for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(alphabet[pick(rng)]));
    const std::vector<int> kind = ReferenceKinds(s);
    for (std::size_t i = 0; i < s.size(); ++i) {
      ASSERT_EQ(IsLeadAt(s, i), kind[i] == 1) << "round " << round << " offset " << i;
      ASSERT_EQ(IsTrailAt(s, i), kind[i] == 2) << "round " << round << " offset " << i;
    }
  }
}

TEST(Cp932Test, FindMatchesOnlyWholeCharacters) {
  EXPECT_EQ(Find(kHyo, "\\"), npos);
  EXPECT_EQ(Find(kHyo + "\\", "\\"), 2u);
  EXPECT_EQ(Find("a" + kSo + "b\\", "\\"), 4u);
  // "\\\\" occurs bytewise from the trail of "表" on; only the later pair is a match.
  EXPECT_EQ(Find(kHyo + "\\x\\\\", "\\\\"), 4u);
  EXPECT_EQ(Find(kHyo + "\\", "\\\\"), npos);
  // A needle that would start on a trail byte: "\\" followed by "示" (0x8EA6).
  EXPECT_EQ(Find(kHyo + "\x8E\xA6", "\\\x8E\xA6"), npos);
  // A needle ending in a cut lead byte never takes half of a character.
  EXPECT_EQ(Find(kHyo, "\x95"), npos);
  EXPECT_EQ(Find("x\x95", "\x95"), 1u);

  EXPECT_EQ(Find("a\\b\\", "\\", 2), 3u);
  EXPECT_EQ(Find("abc", "", 1), 1u);
  EXPECT_EQ(Find("abc", "", 3), 3u);
  EXPECT_EQ(Find("abc", "a", 4), npos);
  EXPECT_EQ(Find("abc", "abcd"), npos);
  EXPECT_EQ(Find("", "a"), npos);
}

TEST(Cp932Test, FindIgnoringCase) {
  EXPECT_EQ(Find("Hello", "LL"), npos);
  EXPECT_EQ(Find("Hello", "LL", 0, true), 2u);
  EXPECT_EQ(Find("Hello", "hELLO", 0, true), 0u);
  EXPECT_EQ(Find("Hello", "hELLOs", 0, true), npos);
  // "ＡＢＣ" searched for "ｂ".
  EXPECT_EQ(Find("\x82\x60\x82\x61\x82\x62", "\x82\x82"), npos);
  EXPECT_EQ(Find("\x82\x60\x82\x61\x82\x62", "\x82\x82", 0, true), 2u);
  // "ΣΩ" searched for "ω"; "xЁЖ" searched for "ёж".
  EXPECT_EQ(Find("\x83\xB0\x83\xB6", "\x83\xD6", 0, true), 2u);
  EXPECT_EQ(Find("x\x84\x46\x84\x47", "\x84\x76\x84\x77", 0, true), 1u);
  // The trail of "ア" (0x8341) is 'A' and that of "ヂ" (0x8361) is 'a': neither is a letter to match.
  EXPECT_EQ(Find("\x83\x41", "a", 0, true), npos);
  EXPECT_EQ(Find("\x83\x41", "\x83\x61", 0, true), npos);
  // A full-width letter never matches its ASCII counterpart, and kana has no case.
  EXPECT_EQ(Find("\x82\x60", "A", 0, true), npos);
  EXPECT_EQ(Find("\xB1", "\xD1", 0, true), npos);
  // Boundaries hold with case ignored too: "表\\A" searched for "\\a".
  EXPECT_EQ(Find(kHyo + "A", "\\a", 0, true), npos);
  EXPECT_EQ(Find(kHyo + "\\A", "\\a", 0, true), 2u);
  EXPECT_EQ(Find(kHyo, "\x95", 0, true), npos);
}

TEST(Cp932Test, CaseMappingRoundTripsOverEveryLetterRange) {
  struct Range {
    Char upper_first;
    Char lower_first;
    int count;
  };
  // ASCII, full-width Latin, Greek, Cyrillic А-Н (Ё included) and О-Я (after the hole at 0x847F).
  const Range ranges[] = {{'A', 'a', 26}, {0x8260, 0x8281, 26}, {0x839F, 0x83BF, 24},
                          {0x8440, 0x8470, 15}, {0x844F, 0x8480, 18}};
  int letters = 0;
  for (const Range& r : ranges) {
    for (int i = 0; i < r.count; ++i) {
      const Char upper = static_cast<Char>(r.upper_first + i);
      const Char lower = static_cast<Char>(r.lower_first + i);
      EXPECT_EQ(ToLower(upper), lower) << std::hex << upper;
      EXPECT_EQ(ToUpper(lower), upper) << std::hex << lower;
      EXPECT_EQ(ToUpper(upper), upper) << std::hex << upper;
      EXPECT_EQ(ToLower(lower), lower) << std::hex << lower;
      ++letters;
    }
  }
  EXPECT_EQ(letters, 26 + 26 + 24 + 33);
  EXPECT_EQ(ToUpper(0x847F), 0x847F);
  EXPECT_EQ(ToLower(0x8461), 0x8461);  // the code after Я is not a letter
  EXPECT_EQ(ToUpper(0x83D7), 0x83D7);
  EXPECT_EQ(ToUpper('@'), '@');
  EXPECT_EQ(ToLower('['), '[');
}

// Checks every character of the code page against the C library's Unicode case mapping: the letter rows
// (ASCII, 0x82 Latin, 0x83 Greek, 0x84 Cyrillic) follow Unicode simple case mapping, and nothing else
// changes (Roman numerals, which Unicode also pairs, are deliberately left alone).
TEST(Cp932Test, CaseMappingAgreesWithUnicodeOnEveryCode) {
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (utf8 == static_cast<locale_t>(0)) GTEST_SKIP() << "no C.UTF-8 locale";
  if (towupper_l(0x0436, utf8) != 0x0416) {
    freelocale(utf8);
    GTEST_SKIP() << "C.UTF-8 has no Unicode case data";
  }
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  ASSERT_NE(codec, nullptr);

  std::vector<Char> codes;
  for (int b = 0; b < 0x100; ++b) {
    if (!IsLeadByte(static_cast<unsigned char>(b))) codes.push_back(static_cast<Char>(b));
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail != 0x7F) codes.push_back(static_cast<Char>(lead << 8 | trail));
    }
  }

  // The code page 932 form of one Unicode character, or 0 when it has none.
  auto encode = [&](wint_t u) -> Char {
    std::string bytes;
    if (u > 0xFFFF || !codec->Utf16ToCp932(std::u16string(1, static_cast<char16_t>(u)), &bytes).ok()) return 0;
    std::size_t length = 0;
    return CharAt(bytes, 0, &length);
  };

  int mapped = 0;
  for (Char c : codes) {
    std::string bytes;
    AppendChar(c, &bytes);
    std::u16string unicode;
    if (!codec->Cp932ToUtf16(bytes, &unicode).ok()) continue;
    ASSERT_EQ(unicode.size(), 1u) << std::hex << c;
    const wint_t u = unicode[0];
    const bool letter_row = c < 0x80 || (c >= 0x8200 && c < 0x8500);
    Char upper = c;
    Char lower = c;
    if (letter_row) {
      if (towupper_l(u, utf8) != u) upper = encode(towupper_l(u, utf8));
      if (towlower_l(u, utf8) != u) lower = encode(towlower_l(u, utf8));
    }
    EXPECT_EQ(ToUpper(c), upper) << std::hex << c;
    EXPECT_EQ(ToLower(c), lower) << std::hex << c;
    if (upper != c || lower != c) ++mapped;
  }
  freelocale(utf8);
  EXPECT_EQ(mapped, 2 * (26 + 26 + 24 + 33));
}

TEST(Cp932Test, CompareIgnoreCaseSortsLikeNtfs) {
  EXPECT_EQ(CompareIgnoreCase("abc", "ABC"), 0);
  EXPECT_EQ(CompareIgnoreCase("", ""), 0);
  EXPECT_LT(CompareIgnoreCase("abc", "ABD"), 0);
  EXPECT_GT(CompareIgnoreCase("ABD", "abc"), 0);
  EXPECT_LT(CompareIgnoreCase("ab", "ABC"), 0);
  EXPECT_GT(CompareIgnoreCase("abc", "AB"), 0);
  // Letters compare as upper case, so '_' (0x5F) sorts after every letter, unlike in byte order.
  EXPECT_LT(CompareIgnoreCase("abc", "_x"), 0);
  // "ａ" equals "Ａ"; "ア" (0x8341) and "ヂ" (0x8361) differ although their trails differ only in case.
  EXPECT_EQ(CompareIgnoreCase("\x82\x81", "\x82\x60"), 0);
  EXPECT_NE(CompareIgnoreCase("\x83\x41", "\x83\x60"), 0);
  EXPECT_NE(CompareIgnoreCase("\x83\x41", "\x83\x61"), 0);
  // A one-byte character sorts before any two-byte one.
  EXPECT_LT(CompareIgnoreCase("\xDF", "\x81\x40"), 0);

  std::vector<std::string> names = {"b.txt", "_z", "A.txt", "a.TXT.bak", "\x82\x60", "B"};
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& x, const std::string& y) { return CompareIgnoreCase(x, y) < 0; });
  const std::vector<std::string> expected = {"A.txt", "a.TXT.bak", "B", "b.txt", "_z", "\x82\x60"};
  EXPECT_EQ(names, expected);
}

TEST(Cp932Test, CharAtAndAppendCharRoundTrip) {
  const std::string text = "a" + kHyo + "\xB1" + kSo + "\x95";
  std::string rebuilt;
  std::vector<Char> chars;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 0;
    const Char c = CharAt(text, i, &length);
    ASSERT_GT(length, 0u);
    chars.push_back(c);
    AppendChar(c, &rebuilt);
    i += length;
  }
  EXPECT_EQ(chars, (std::vector<Char>{'a', 0x955C, 0xB1, 0x835C, 0x95}));
  EXPECT_EQ(rebuilt, text);
}

}  // namespace
}  // namespace morva::cp932
