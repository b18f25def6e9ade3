#include "platform/user_area_table.h"

#include <cerrno>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class UserAreaTableTest : public ::testing::Test {
 protected:
  std::string TablePath() const { return dir_.path() + "/mvchars.txt"; }

  // A table and a codec over it, as one process would have them.
  struct Process {
    std::unique_ptr<UserAreaTable> table;
    std::unique_ptr<TextCodec> codec;
  };
  Process Start() const {
    Process p;
    EXPECT_TRUE(UserAreaTable::Open(TablePath(), &p.table).ok());
    p.codec = NewIconvTextCodec(p.table.get());
    return p;
  }

  TempDir dir_;
};

// Every character without an exact form becomes one user-defined character and comes back as it was,
// through UTF-8 and UTF-16 alike; characters with a form keep it.
TEST_F(UserAreaTableTest, CharactersWithoutAFormTakeUserCodesAndComeBack) {
  Process p = Start();
  // A private-use character keeps the code it always had while that code is free.
  std::string pua;
  ASSERT_TRUE(p.codec->Utf8ToCp932("\uE000", &pua).ok());
  EXPECT_EQ(pua, "\xF0\x40");
  struct Case {
    const char* name;
    const char* utf8;
    std::size_t user_chars;  // two-byte user-defined characters expected in the engine form
  };
  const Case cases[] = {
      {"accent", "café.jpg", 1},
      {"several", "Motörhead - Straße", 2},
      {"hangul", "한국어.txt", 3},
      {"simplified chinese", "中文简体.txt", 1},  // only 简 has no form
      {"emoji outside the basic plane", "\U0001F600 smile", 1},
      {"combining accent", "cafe\u0301", 1},
      {"minus sign sharing 0x817C", "a\u2212b", 1},
      {"yen sign", "\u00A5100", 1},
      {"private use, one of them given its code before", "\uE000\uE757", 2},
      {"japanese only", "写真", 0},
  };
  for (const Case& c : cases) {
    std::string engine;
    ASSERT_TRUE(p.codec->Utf8ToCp932(c.utf8, &engine).ok()) << c.name;
    std::size_t user = 0;
    for (std::size_t i = 0; i < engine.size();) {
      std::size_t length = 0;
      const cp932::Char code = cp932::CharAt(engine, i, &length);
      if (user_area::IsUserCode(code)) ++user;
      i += length;
    }
    EXPECT_EQ(user, c.user_chars) << c.name;
    std::string back;
    ASSERT_TRUE(p.codec->Cp932ToUtf8(engine, &back).ok()) << c.name;
    EXPECT_EQ(back, c.utf8) << c.name;
    std::u16string utf16;
    ASSERT_TRUE(p.codec->Cp932ToUtf16(engine, &utf16).ok()) << c.name;
    std::string again;
    ASSERT_TRUE(p.codec->Utf16ToCp932(utf16, &again).ok()) << c.name;
    EXPECT_EQ(again, engine) << c.name;
  }
  // Malformed text still fails, and takes no code.
  const std::size_t given = p.table->size();
  std::string out;
  EXPECT_EQ(p.codec->Utf8ToCp932("a\xC3", &out).code(), EILSEQ);
  EXPECT_EQ(p.codec->Utf16ToCp932(u"\xD800", &out).code(), EILSEQ);
  EXPECT_EQ(p.table->size(), given);
}

// A code is given once for good: a later process, and one running beside, read the same meaning, and
// two processes never give one code to two characters.
TEST_F(UserAreaTableTest, CodesKeepTheirMeaningAcrossProcesses) {
  Process first = Start();
  Process second = Start();
  std::string e_first, u_second, u_first, e_second;
  ASSERT_TRUE(first.codec->Utf8ToCp932("é", &e_first).ok());
  ASSERT_TRUE(second.codec->Utf8ToCp932("ü", &u_second).ok());
  EXPECT_NE(e_first, u_second);
  ASSERT_TRUE(first.codec->Utf8ToCp932("ü", &u_first).ok());
  ASSERT_TRUE(second.codec->Utf8ToCp932("é", &e_second).ok());
  EXPECT_EQ(u_first, u_second);
  EXPECT_EQ(e_first, e_second);

  // A code given by another process after this one read the table is understood.
  Process third = Start();
  std::string o_second, shown;
  ASSERT_TRUE(second.codec->Utf8ToCp932("ø", &o_second).ok());
  ASSERT_TRUE(first.codec->Cp932ToUtf8(o_second, &shown).ok());
  EXPECT_EQ(shown, "ø");
  ASSERT_TRUE(third.codec->Cp932ToUtf8(o_second + e_first, &shown).ok());
  EXPECT_EQ(shown, "øé");

  // The file is text a person can read.
  const std::string text = ReadFile(TablePath());
  EXPECT_NE(text.find("\tU+00E9\té\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\tU+00F8\tø\n"), std::string::npos) << text;
}

// A writer killed in the middle of its line leaves a part that is never read, and the next writer
// starts on a line of its own; when every code is taken a new character fails, nothing converts lossily.
TEST_F(UserAreaTableTest, TornLinesAndAFullTableLoseNothing) {
  {
    Process p = Start();
    std::string e;
    ASSERT_TRUE(p.codec->Utf8ToCp932("é", &e).ok());
  }
  const std::string whole = ReadFile(TablePath());
  // A line naming a character that has a form of its own (only an edit makes one), then a writer
  // killed before its newline.
  WriteFile(TablePath(), whole + "F042\tU+3042\tあ\nF041\tU+00FC");
  {
    Process p = Start();
    std::string shown;
    ASSERT_TRUE(p.codec->Cp932ToUtf8("\xF0\x41", &shown).ok());
    EXPECT_EQ(shown, "\uE001");  // not given: still the private-use character it always was
    ASSERT_TRUE(p.codec->Cp932ToUtf8("\xF0\x42", &shown).ok());
    EXPECT_EQ(shown, "\uE002");
    std::string a;
    ASSERT_TRUE(p.codec->Utf8ToCp932("å", &a).ok());
    EXPECT_EQ(a, "\xF0\x41");
  }
  EXPECT_EQ(ReadFile(TablePath()), whole + "F042\tU+3042\tあ\nF041\tU+00E5\tå\n");

  // Fill every code.
  std::string full;
  for (std::size_t i = 0; i < user_area::kCodeCount; ++i) {
    full += user_area::FormatLine(user_area::Entry{user_area::CodeAt(i), static_cast<char32_t>(0x10000 + i)});
  }
  WriteFile(TablePath(), full);
  Process p = Start();
  EXPECT_EQ(p.table->size(), user_area::kCodeCount);
  std::string out;
  EXPECT_EQ(p.codec->Utf8ToCp932("é", &out).code(), ENOSPC);
  EXPECT_EQ(p.codec->Utf8ToCp932("\U00010000", &out).code(), 0);
  EXPECT_EQ(out, "\xF0\x40");
  EXPECT_EQ(ReadFile(TablePath()), full);
}

TEST(UserAreaCodesTest, IndexAndCodeAgreeOverTheWholeArea) {
  EXPECT_EQ(user_area::CodeAt(0), 0xF040);
  EXPECT_EQ(user_area::CodeAt(62), 0xF07E);
  EXPECT_EQ(user_area::CodeAt(63), 0xF080);
  EXPECT_EQ(user_area::CodeAt(user_area::kCodeCount - 1), 0xF9FC);
  for (std::size_t i = 0; i < user_area::kCodeCount; ++i) {
    ASSERT_TRUE(user_area::IsUserCode(user_area::CodeAt(i))) << i;
    ASSERT_EQ(user_area::IndexOf(user_area::CodeAt(i)), i);
  }
  for (const cp932::Char outside : {0xEFFC, 0xF07F, 0xF03F, 0xF0FD, 0xFA40}) {
    EXPECT_FALSE(user_area::IsUserCode(static_cast<cp932::Char>(outside))) << std::hex << outside;
  }
}

}  // namespace
}  // namespace morva
