#include "platform/cp932_width.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/text_codec.h"

namespace morva::cp932 {
namespace {

// Checks the constant tables against the code page as glibc's iconv knows it: every character the
// tables name exists, and the pairs are the Unicode width pairs except where the program fixes its own.
class Cp932WidthTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(codec_, nullptr); }

  // The UTF-16 form of one code page 932 character, or 0 when iconv has none for it.
  char16_t Unicode(Char c) {
    std::string bytes;
    AppendChar(c, &bytes);
    std::u16string out;
    if (!codec_->Cp932ToUtf16(bytes, &out).ok() || out.size() != 1) return 0;
    return out[0];
  }

  std::unique_ptr<TextCodec> codec_ = NewIconvTextCodec();
};

TEST_F(Cp932WidthTest, FullWidthFormsAreTheUnicodeWidePairs) {
  for (int b = 0; b < 256; ++b) {
    const Char full = FullWidthOf(static_cast<unsigned char>(b));
    const bool mapped = (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF);
    EXPECT_EQ(full != 0, mapped) << b;
    if (full == 0) continue;
    ASSERT_GE(full, 0x8140) << b;  // two bytes
    const char16_t u = Unicode(full);
    EXPECT_NE(u, 0) << b;
    if (b == ' ') {
      EXPECT_EQ(u, u'\u3000');
    } else if (b == '\'') {
      EXPECT_EQ(u, u'\u2019');
    } else if (b == '`') {
      EXPECT_EQ(u, u'\u2018');
    } else if (b < 0x80) {
      EXPECT_EQ(u, 0xFF00 + (b - 0x20)) << b;
    }
    // Back again, through the same table.
    const HalfWidth h = HalfWidthOf(full);
    ASSERT_EQ(h.length, 1u) << b;
    EXPECT_EQ(h.bytes[0], b);
  }
  // Half-width kana by Unicode name order, spot checks of each group.
  EXPECT_EQ(Unicode(FullWidthOf(0xA1)), u'。');
  EXPECT_EQ(Unicode(FullWidthOf(0xA2)), u'「');
  EXPECT_EQ(Unicode(FullWidthOf(0xA5)), u'・');
  EXPECT_EQ(Unicode(FullWidthOf(0xA6)), u'ヲ');
  EXPECT_EQ(Unicode(FullWidthOf(0xAF)), u'ッ');
  EXPECT_EQ(Unicode(FullWidthOf(0xB0)), u'ー');
  EXPECT_EQ(Unicode(FullWidthOf(0xB1)), u'ア');
  EXPECT_EQ(Unicode(FullWidthOf(0xCF)), u'マ');
  EXPECT_EQ(Unicode(FullWidthOf(0xDD)), u'ン');
  EXPECT_EQ(Unicode(FullWidthOf(kVoicedMark)), u'゛');
  EXPECT_EQ(Unicode(FullWidthOf(kSemiVoicedMark)), u'゜');
  // Every half-width kana letter is a katakana with a hiragana.
  for (int b = 0xA6; b <= 0xDD; ++b) {
    if (!IsHalfWidthKanaLetter(static_cast<unsigned char>(b))) continue;
    const char16_t u = Unicode(FullWidthOf(static_cast<unsigned char>(b)));
    EXPECT_TRUE(u >= u'ァ' && u <= u'ン') << b;
    EXPECT_NE(HiraganaOf(FullWidthOf(static_cast<unsigned char>(b))), 0) << b;
  }
}

TEST_F(Cp932WidthTest, JoinedKanaAndTheirHalfWidthForms) {
  int joined = 0;
  for (int letter = 0xA6; letter <= 0xDD; ++letter) {
    for (unsigned char mark : {kVoicedMark, kSemiVoicedMark}) {
      const Char full = JoinedFullWidthOf(static_cast<unsigned char>(letter), mark);
      if (full == 0) continue;
      ++joined;
      // The voiced form follows its letter in Unicode: "カ" "ガ", "ハ" "バ" "パ" ("ヴ" stands apart).
      const char16_t base = Unicode(FullWidthOf(static_cast<unsigned char>(letter)));
      const char16_t u = Unicode(full);
      if (letter == 0xB3) {
        EXPECT_EQ(u, u'ヴ');
      } else {
        EXPECT_EQ(u, base + (mark == kVoicedMark ? 1 : 2)) << letter;
      }
      const HalfWidth h = HalfWidthOf(full);
      ASSERT_EQ(h.length, 2u);
      EXPECT_EQ(h.bytes[0], letter);
      EXPECT_EQ(h.bytes[1], mark);
    }
  }
  EXPECT_EQ(joined, 26);  // 20 voiced letters with "ヴ", 5 semi-voiced
  EXPECT_EQ(JoinedFullWidthOf(0xB1, kVoicedMark), 0);  // "ｱﾞ"
  EXPECT_EQ(JoinedFullWidthOf(0xB6, kSemiVoicedMark), 0);  // "ｶﾟ"

  // Characters without a half-width form, and the code page's second full-width forms.
  for (char16_t none : {u'ヰ', u'ヱ', u'ヮ', u'ヵ', u'ヶ', u'漢', u'あ'}) {
    std::string bytes;
    ASSERT_TRUE(codec_->Utf16ToCp932(std::u16string(1, none), &bytes).ok());
    std::size_t n = 0;
    EXPECT_EQ(HalfWidthOf(CharAt(bytes, 0, &n)).length, 0u) << static_cast<int>(none);
  }
  for (Char second : {Char{0x814D}, Char{0xFA56}, Char{0xEEFB}, Char{0xFA57}, Char{0xEEFC}}) {
    const HalfWidth h = HalfWidthOf(second);
    ASSERT_EQ(h.length, 1u) << second;
    EXPECT_EQ(Unicode(second), 0xFF00 + (h.bytes[0] - 0x20)) << second;
  }
}

TEST_F(Cp932WidthTest, HiraganaAndKatakana) {
  int pairs = 0;
  for (Char h = 0x829F; h <= 0x82F1; ++h) {
    const Char k = KatakanaOf(h);
    ASSERT_NE(k, 0) << h;
    EXPECT_EQ(Unicode(k), Unicode(h) + 0x60) << h;
    EXPECT_EQ(HiraganaOf(k), h);
    ++pairs;
  }
  EXPECT_EQ(pairs, 83);
  EXPECT_EQ(KatakanaOf(0x829E), 0);
  EXPECT_EQ(KatakanaOf(0x82F2), 0);
  EXPECT_EQ(HiraganaOf(0x837F), 0);  // not a character
  EXPECT_EQ(HiraganaOf(0x8394), 0);  // "ヴ"
  EXPECT_EQ(HiraganaOf(0x8396), 0);  // "ヶ"
  EXPECT_EQ(HiraganaOf('A'), 0);
}

}  // namespace
}  // namespace morva::cp932
