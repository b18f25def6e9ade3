#include <string>

#include <gtest/gtest.h>

#include "media/id3_reader.h"

namespace morva {
namespace {

TEST(GenreTableTest, NamesByIndex) {
  EXPECT_EQ(GenreName(0), "Blues");
  EXPECT_EQ(GenreName(12), "Other");
  EXPECT_EQ(GenreName(17), "Rock");
  EXPECT_EQ(GenreName(67), "Psychadelic");
  EXPECT_EQ(GenreName(123), "A capella");
  EXPECT_EQ(GenreName(136), "Christian Gangsta Rap");
  EXPECT_EQ(GenreName(147), "Synthpop");
  EXPECT_EQ(GenreName(148), "");
  EXPECT_EQ(GenreName(-1), "");
  for (int i = 0; i < 148; ++i) {
    EXPECT_FALSE(GenreName(i).empty()) << i;
    EXPECT_LT(GenreName(i).size(), 24u) << i;
  }
}

TEST(GenreTableTest, NormalizesNumbersAndNames) {
  std::string out;
  for (const char* text : {"rock", "ROCK", "(17)", "17", "(17)Rock", "17 anything", "(17)x"}) {
    out.clear();
    EXPECT_EQ(NormalizeGenre(text, &out), 17) << text;
    EXPECT_EQ(out, "(17)Rock") << text;
  }
  EXPECT_EQ(NormalizeGenre("jazz+funk", &out), 29);
  EXPECT_EQ(out, "(29)Jazz+Funk");
  EXPECT_EQ(NormalizeGenre("0", &out), 0);
  EXPECT_EQ(out, "(0)Blues");
  EXPECT_EQ(NormalizeGenre("(147)", &out), 147);
  EXPECT_EQ(out, "(147)Synthpop");

  // Empty text, numbers outside the table and malformed parentheses give Other.
  for (const char* text : {"", "(200)", "148", "99999999999999999999", "(", "()", "(x)", "(1234)", "(12"}) {
    EXPECT_EQ(NormalizeGenre(text, &out), 12) << text;
    EXPECT_EQ(out, "(12)Other") << text;
  }
  // ")" found within three bytes, never inside a two-byte character whose trail byte is 0x29.
  EXPECT_EQ(NormalizeGenre("(1\x83)", &out), 12);
  EXPECT_EQ(NormalizeGenre("(1\x83))", &out), 1);
  EXPECT_EQ(out, "(1)Classic Rock");

  // A name not in the table comes back unchanged with Other's number; so does an ID3v1 genre of -1.
  for (const char* text : {"abc(", "-1", "Rock ", "\x83\x8D\x83\x62\x83\x4E"}) {
    EXPECT_EQ(NormalizeGenre(text, &out), 12) << text;
    EXPECT_EQ(out, text);
  }
}

}  // namespace
}  // namespace morva
