#include "platform/text_codec.h"

#include <cerrno>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace morva {
namespace {

class TextCodecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
  }

  // Converts UTF-8 to code page 932 and back through both Unicode forms, expecting `cp932` on the way.
  void ExpectRoundTrip(const std::string& utf8, const std::u16string& utf16, const std::string& cp932) {
    std::string bytes = "junk";
    ASSERT_TRUE(codec_->Utf8ToCp932(utf8, &bytes).ok()) << utf8;
    EXPECT_EQ(bytes, cp932) << utf8;
    std::string back = "junk";
    ASSERT_TRUE(codec_->Cp932ToUtf8(cp932, &back).ok()) << utf8;
    EXPECT_EQ(back, utf8);

    bytes = "junk";
    ASSERT_TRUE(codec_->Utf16ToCp932(utf16, &bytes).ok()) << utf8;
    EXPECT_EQ(bytes, cp932) << utf8;
    std::u16string back16 = u"junk";
    ASSERT_TRUE(codec_->Cp932ToUtf16(cp932, &back16).ok()) << utf8;
    EXPECT_EQ(back16, utf16) << utf8;
  }

  int Utf8Error(const std::string& utf8) {
    std::string out;
    return codec_->Utf8ToCp932(utf8, &out).code();
  }
  int Utf16Error(const std::u16string& utf16) {
    std::string out;
    return codec_->Utf16ToCp932(utf16, &out).code();
  }
  int Cp932Error(const std::string& cp932) {
    std::string out;
    const int to_utf8 = codec_->Cp932ToUtf8(cp932, &out).code();
    std::u16string out16;
    const int to_utf16 = codec_->Cp932ToUtf16(cp932, &out16).code();
    EXPECT_EQ(to_utf8, to_utf16);
    return to_utf8;
  }

  std::unique_ptr<TextCodec> codec_;
};

TEST_F(TextCodecTest, RoundTripsKanaKanjiAndExtensions) {
  ExpectRoundTrip("", u"", "");
  ExpectRoundTrip("plain name.txt", u"plain name.txt", "plain name.txt");
  // '\\' and '~' stay themselves (no yen sign or overline): the engine's separator must survive.
  ExpectRoundTrip("a\\b~c", u"a\\b~c", "a\\b~c");
  ExpectRoundTrip("\x7F表", u"\x7F表", "\x7F\x95\x5C");
  ExpectRoundTrip("表示ソフト", u"表示ソフト", "\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67");
  ExpectRoundTrip("ｱｲｳ", u"ｱｲｳ", "\xB1\xB2\xB3");
  ExpectRoundTrip("ひらがな", u"ひらがな", "\x82\xD0\x82\xE7\x82\xAA\x82\xC8");
  // NEC special characters (row 13) and IBM extensions.
  ExpectRoundTrip("①№㈱", u"①№㈱", "\x87\x40\x87\x82\x87\x8A");
  ExpectRoundTrip("ⅰ髙", u"ⅰ髙", "\xFA\x40\xFB\xFC");
  // User-defined characters live in the private use area.
  ExpectRoundTrip("\uE000", u"\uE000", "\xF0\x40");
  // Outside the basic plane nothing maps, but the UTF-16 side is a surrogate pair, not two characters.
  EXPECT_EQ(Utf16Error(u"\U0001F600"), EILSEQ);
}

TEST_F(TextCodecTest, LongTextCrossesTheConversionBuffer) {
  std::string utf8;
  std::u16string utf16;
  std::string cp932;
  for (int i = 0; i < 3000; ++i) {
    utf8 += "漢a";
    utf16 += u"漢a";
    cp932 += "\x8A\xBF" "a";
  }
  ExpectRoundTrip(utf8, utf16, cp932);
}

TEST_F(TextCodecTest, MalformedOrUnmappableInputFailsWithEilseq) {
  EXPECT_EQ(Cp932Error("ab\x95"), EILSEQ);      // lone lead byte at the end
  EXPECT_EQ(Cp932Error("\x85\x40"), EILSEQ);    // unassigned row
  EXPECT_EQ(Cp932Error("a\x80"), EILSEQ);       // undefined single bytes
  EXPECT_EQ(Cp932Error("\xA0"), EILSEQ);
  EXPECT_EQ(Cp932Error("\xFD"), EILSEQ);
  EXPECT_EQ(Cp932Error("\x81\x7F"), EILSEQ);    // 0x7F is never a trail

  EXPECT_EQ(Utf8Error("price €"), EILSEQ);
  EXPECT_EQ(Utf8Error("smile \U0001F600"), EILSEQ);
  EXPECT_EQ(Utf8Error("\xC3"), EILSEQ);          // cut sequence
  EXPECT_EQ(Utf8Error("a\xC3" "b"), EILSEQ);
  EXPECT_EQ(Utf8Error("\xC0\xAF"), EILSEQ);      // overlong '/'
  EXPECT_EQ(Utf8Error("\xED\xA0\x80"), EILSEQ);  // an encoded surrogate
  EXPECT_EQ(Utf8Error("\xBF"), EILSEQ);          // stray continuation byte
  EXPECT_EQ(Utf8Error("\xEF\xBB\xBF" "a"), EILSEQ);  // a byte-order mark is a character without a form

  EXPECT_EQ(Utf16Error(u"\xD800"), EILSEQ);
  EXPECT_EQ(Utf16Error(u"a\xD800" u"b"), EILSEQ);
  EXPECT_EQ(Utf16Error(u"\xDC00" u"a"), EILSEQ);
  EXPECT_EQ(Utf16Error(u"\xFEFF" u"a"), EILSEQ);

  // A failure leaves no state behind for the next call.
  std::string out;
  ASSERT_TRUE(codec_->Cp932ToUtf8("\x95\x5C", &out).ok());
  EXPECT_EQ(out, "表");
  std::u16string out16;
  ASSERT_TRUE(codec_->Cp932ToUtf16("\x95\x5C", &out16).ok());
  EXPECT_EQ(out16, u"表");
}

// The C library maps a few Unicode characters onto ASCII or onto nothing at all; either would let a
// tag or a host name change meaning ("¥" becoming a path separator), so they have no form here.
TEST_F(TextCodecTest, NothingBecomesAsciiOrVanishes) {
  EXPECT_EQ(Utf8Error("a¥b"), EILSEQ);
  EXPECT_EQ(Utf8Error("‾"), EILSEQ);
  EXPECT_EQ(Utf8Error("a\U000E0041b"), EILSEQ);
  EXPECT_EQ(Utf8Error("\U000E0001"), EILSEQ);
  EXPECT_EQ(Utf16Error(u"a¥b"), EILSEQ);
  EXPECT_EQ(Utf16Error(u"‾"), EILSEQ);
  EXPECT_EQ(Utf16Error(u"a\U000E0041b"), EILSEQ);
  // The full-width forms are real characters of the code page.
  ExpectRoundTrip("￥￣", u"￥￣", "\x81\x8F\x81\x50");
}

// Several Unicode characters share one code, and the C library converts all of them to it; only the one
// that comes back has a form here, so no name changes on its way through the engine.
TEST_F(TextCodecTest, CharactersSharingACodeHaveNoFormOfTheirOwn) {
  for (const char* shared : {"−", "〜", "‖", "—", "¢", "£", "¬"}) EXPECT_EQ(Utf8Error(shared), EILSEQ) << shared;
  ExpectRoundTrip("－～∥―￠￡￢", u"－～∥―￠￡￢", "\x81\x7C\x81\x60\x81\x61\x81\x5C\x81\x91\x81\x92\x81\xCA");

  // The NEC-selected IBM extensions share their characters with the IBM extensions, which win on the way
  // back: "纊" is 0xED40 and 0xFA5C.
  std::string utf8;
  ASSERT_TRUE(codec_->Cp932ToUtf8("\xED\x40", &utf8).ok());
  std::string bytes;
  ASSERT_TRUE(codec_->Utf8ToCp932(utf8, &bytes).ok());
  EXPECT_EQ(bytes, "\xFA\x5C");
}

// Every defined character of the code page is one Unicode character whose code page form means the
// same; most come back byte for byte.
TEST_F(TextCodecTest, EveryDefinedCharacterSurvivesAUnicodeRoundTrip) {
  int defined = 0;
  int same_bytes = 0;
  for (int lead = 0; lead <= 0xFC; ++lead) {
    const bool double_byte = cp932::IsLeadByte(static_cast<unsigned char>(lead));
    for (int trail = double_byte ? 0x40 : 0; trail <= (double_byte ? 0xFC : 0); ++trail) {
      std::string bytes;
      cp932::AppendChar(static_cast<cp932::Char>(double_byte ? (lead << 8 | trail) : lead), &bytes);
      std::u16string unicode;
      if (!codec_->Cp932ToUtf16(bytes, &unicode).ok()) continue;
      ++defined;
      ASSERT_EQ(unicode.size(), 1u) << std::hex << lead << " " << trail;
      std::string back;
      ASSERT_TRUE(codec_->Utf16ToCp932(unicode, &back).ok()) << std::hex << lead << " " << trail;
      std::u16string again;
      ASSERT_TRUE(codec_->Cp932ToUtf16(back, &again).ok());
      EXPECT_EQ(again, unicode) << std::hex << lead << " " << trail;
      if (back == bytes) ++same_bytes;
    }
  }
  // 128 ASCII, 63 half-width kana, the rest two-byte.
  EXPECT_EQ(defined, 128 + 63 + 9604);
  // The rest repeat characters found elsewhere: the 374 NEC-selected IBM extensions (0xED40-0xEEFC), 15
  // IBM extensions (Roman numerals, "¬", "∵", "㈱", "№", "℡") and 9 NEC row-13 symbols such as "≒".
  EXPECT_EQ(defined - same_bytes, 374 + 15 + 9);
}

TEST(FaultInjectingTextCodecTest, FailsChosenCallsAndPassesOthers) {
  std::unique_ptr<TextCodec> real = NewIconvTextCodec();
  ASSERT_NE(real, nullptr);
  FaultInjectingTextCodec codec(real.get());

  // Every call whose input contains a byte string.
  codec.FailOn(CodecOp::kUtf8ToCp932, "bad");
  std::string out;
  EXPECT_EQ(codec.Utf8ToCp932("a bad name", &out).code(), EILSEQ);
  EXPECT_EQ(codec.Utf8ToCp932("bad again", &out).code(), EILSEQ);
  ASSERT_TRUE(codec.Utf8ToCp932("表", &out).ok());
  EXPECT_EQ(out, "\x95\x5C");
  // Other operations are untouched by that fault.
  ASSERT_TRUE(codec.Cp932ToUtf8("bad", &out).ok());
  EXPECT_EQ(out, "bad");
  EXPECT_EQ(codec.calls(CodecOp::kUtf8ToCp932), 3);
  EXPECT_EQ(codec.calls(CodecOp::kCp932ToUtf8), 1);

  // The next N calls, with a code of our choosing.
  codec.FailOn(CodecOp::kCp932ToUtf16, "", EIO, 2);
  std::u16string out16;
  EXPECT_EQ(codec.Cp932ToUtf16("a", &out16).code(), EIO);
  EXPECT_EQ(codec.Cp932ToUtf16("b", &out16).code(), EIO);
  ASSERT_TRUE(codec.Cp932ToUtf16("c", &out16).ok());
  EXPECT_EQ(out16, u"c");

  // UTF-16 parts match UTF-16 input only; a byte part never matches it.
  codec.FailOn(CodecOp::kUtf16ToCp932, u"表");
  codec.FailOn(CodecOp::kUtf16ToCp932, "x");
  EXPECT_EQ(codec.Utf16ToCp932(u"一覧表", &out).code(), EILSEQ);
  ASSERT_TRUE(codec.Utf16ToCp932(u"x", &out).ok());
  EXPECT_EQ(out, "x");

  codec.ClearFaults();
  ASSERT_TRUE(codec.Utf8ToCp932("bad", &out).ok());
  ASSERT_TRUE(codec.Utf16ToCp932(u"表", &out).ok());
  EXPECT_EQ(out, "\x95\x5C");
  // Real failures still come through the wrapper.
  EXPECT_EQ(codec.Utf8ToCp932("€", &out).code(), EILSEQ);
}

}  // namespace
}  // namespace morva
