#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/name_order.h"
#include "platform/text_codec.h"
#include "platform/wildcard.h"
#include "common/host_fixture.h"
#include "common/test_util.h"

namespace morva {
namespace {

using testing::EnginePath;
using testing::Exists;
using testing::ReadFile;
using testing::Sjis;
using testing::TempDir;
using testing::WriteFile;

TEST(WildcardTest, DosRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*.*", "abc", true},        {"*.*", "a.b", true},        {"*.*", ".hidden", true},
      {"*.*", "x.", true},         {"*", "a.b.c", true},        {"*", "abc", true},
      {"*.txt", "a.txt", true},    {"*.txt", "A.TXT", true},    {"*.txt", "a.b.txt", true},
      {"*.txt", ".txt", true},     {"*.txt", "a.txt.bak", false}, {"*.txt", "txt", false},
      {"*.txt", "a.txtx", false},  {"a?c", "abc", true},        {"a?c", "ac", false},
      {"a?c", "abbc", false},      {"a?c", "a.c", false},       {"a?.txt", "a.txt", true},
      {"a?.txt", "ab.txt", true},  {"a?.txt", "abc.txt", false}, {"abc.*", "abc", true},
      {"abc.*", "abc.d", true},    {"abc.*", "abcd", false},    {"*.", "abc", true},
      {"*.", "a.b", false},        {"abc.", "abc", true},       {"abc", "abcd", false},
      {"??", "a", true},           {"?", "ab", false},          {"a*b", "aXXb", true},
      {"a*b", "aXXc", false},      {"*a*", "bab", true},        {"", "a", false},
      {"*.t?t", "x.txt", true},    {"*.t?t", "x.tt", false},    {"*.t?", "x.t", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
  }
}

TEST(WildcardTest, DoubleByteNamesAndCase) {
  auto codec = NewIconvTextCodec();
  ASSERT_NE(codec, nullptr);
  auto s = [&](const char* utf8) { return Sjis(codec.get(), utf8); };
  // "表" and "ソ" end in 0x5C, "ア" in 0x41 ('A'): a trail byte is neither a separator nor a letter.
  EXPECT_TRUE(MatchWildcard(s("表*.txt"), s("表示.txt")));
  EXPECT_TRUE(MatchWildcard(s("*表"), s("図表")));
  EXPECT_TRUE(MatchWildcard(s("ソ?"), s("ソa")));
  EXPECT_TRUE(MatchWildcard(s("ソ?"), s("ソ")));
  EXPECT_TRUE(MatchWildcard(s("ソ?"), s("ソ表")));
  EXPECT_FALSE(MatchWildcard(s("ソ?"), s("ソ表a")));
  EXPECT_TRUE(MatchWildcard("?", s("表")));  // one character, two bytes
  EXPECT_FALSE(MatchWildcard("\x83\x41", "\x83\x61"));  // "ア" is not "ャ" with an upper-case trail
  EXPECT_FALSE(MatchWildcard("\x83", "\x83\x41"));
  // Letters compare case-insensitively, full-width ones too.
  EXPECT_TRUE(MatchWildcard(s("ＡＢＣ*"), s("ａｂｃ.txt")));
  EXPECT_TRUE(MatchWildcard(s("*.ｔｘｔ"), s("x.ＴＸＴ")));
  EXPECT_TRUE(MatchWildcard("*.TXT", "x.txt"));
  EXPECT_FALSE(MatchWildcard(s("Ａ"), "A"));  // full-width and ASCII letters stay different
}

// Sort keys order names exactly as cp932::CompareIgnoreCase does, for every mix of character kinds.
TEST(NameOrderTest, KeysOrderAsCompareIgnoreCase) {
  const std::vector<std::string> pieces = {
      "a", "A", "z", "_", "~", ".", "0", "\x7f", "\xb1", "\xdf", "\x82\x60", "\x82\x81", "\x83\x41",
      "\x83\x61", "\x95\x5c", "\x81\x40", "\xe0\x40", "\xfc\xfc", "\x83\x9f", "\x83\xbf", "\x84\x40",
      "\x84\x70"};
  std::vector<std::string> names;
  for (const std::string& a : pieces) {
    names.push_back(a);
    for (const std::string& b : pieces) names.push_back(a + b);
  }
  names.push_back("ab\x83");  // a lead byte cut off by the end
  names.push_back("ab\x83\x40");
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const std::string& x : names) {
    std::string kx;
    AppendNameSortKey(x, &kx);
    for (const std::string& y : names) {
      std::string ky;
      AppendNameSortKey(y, &ky);
      ASSERT_EQ(sign(kx.compare(ky)), sign(cp932::CompareIgnoreCase(x, y))) << x << " / " << y;
    }
  }
}

class FindTest : public testing::HostFixture {
 protected:

  std::vector<FindData> List(const std::string& pattern, std::size_t* invisible = nullptr) {
    std::vector<FindData> entries;
    Status s = fs_->FindFiles(EnginePath(codec_.get(), dir_.path()), pattern, &entries, invisible);
    EXPECT_TRUE(s.ok()) << s.ToString();
    return entries;
  }

  static std::vector<std::string> Names(const std::vector<FindData>& entries) {
    std::vector<std::string> names;
    for (const FindData& e : entries) names.push_back(e.name);
    return names;
  }
};

TEST_F(FindTest, InvisibleNamesAreCountedAndLeftAlone) {
  const std::vector<std::string> hidden = {
      "a:b", "a\\b", "a*b", "a?b", "a<b", "a|b", "a\"b", "ctl\x01", "bad\xff\xfe", "\xe2\x88\x92minus"};
  for (const std::string& name : hidden) WriteFile(dir_.Sub(name), "keep " + name);
  WriteFile(dir_.Sub("ok.txt"), "ok");
  WriteFile(dir_.Sub("\xef\xbc\x8d" "fullwidth-minus"), "ok");  // U+FF0D has an exact round trip

  std::size_t invisible = 99;
  std::vector<FindData> all = List("*.*", &invisible);
  EXPECT_EQ(invisible, hidden.size());
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].name, "ok.txt");
  EXPECT_EQ(all[1].name, Sjis(codec_.get(), "\xef\xbc\x8d" "fullwidth-minus"));

  // Operations on the visible entries never reach the invisible ones.
  const std::string dir = EnginePath(codec_.get(), dir_.path());
  ASSERT_TRUE(fs_->Move(dir + "\\ok.txt", dir + "\\renamed.txt").ok());
  ASSERT_TRUE(fs_->SetAttributes(dir + "\\renamed.txt", kAttrHidden).ok());
  ASSERT_TRUE(fs_->Copy(dir + "\\renamed.txt", dir + "\\copy.txt", false).ok());
  ASSERT_TRUE(fs_->CreateDirectory(dir + "\\sub").ok());
  List("*", &invisible);
  EXPECT_EQ(invisible, hidden.size());
  for (const std::string& name : hidden) {
    EXPECT_EQ(ReadFile(dir_.Sub(name)), "keep " + name) << name;
  }
}

TEST_F(FindTest, SortedCaseInsensitivelyThenByBytes) {
  const std::vector<std::string> created = {"c", "_x", "b", "a", "B.txt", "A", "ｂ", "Ｂ", "表", "ｱ"};
  for (const std::string& name : created) WriteFile(dir_.Sub(name), "");
  std::vector<std::string> names = Names(List("*.*"));
  ASSERT_EQ(names.size(), created.size());
  // ASCII letters before '_', half-width katakana (single bytes) before double-byte characters, and
  // "Ｂ" (0x8261) before "ｂ" (0x8282) only by their bytes, as they fold together.
  const std::vector<std::string> expected = {
      "A", "a", "b", "B.txt", "c", "_x", Sjis(codec_.get(), "ｱ"), Sjis(codec_.get(), "Ｂ"),
      Sjis(codec_.get(), "ｂ"), Sjis(codec_.get(), "表")};
  EXPECT_EQ(names, expected);
  for (std::size_t i = 1; i < names.size(); ++i) {
    const int c = cp932::CompareIgnoreCase(names[i - 1], names[i]);
    EXPECT_TRUE(c < 0 || (c == 0 && names[i - 1] < names[i])) << names[i - 1] << " / " << names[i];
  }
}

TEST_F(FindTest, PatternsDirectoriesAndLinks) {
  WriteFile(dir_.Sub("file.txt"), "12345");
  WriteFile(dir_.Sub("noext"), "");
  ASSERT_EQ(mkdir(dir_.Sub("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("sub", dir_.Sub("link-dir").c_str()), 0);
  ASSERT_EQ(symlink("file.txt", dir_.Sub("link-file").c_str()), 0);
  ASSERT_EQ(symlink("missing", dir_.Sub("dangling").c_str()), 0);
  ASSERT_EQ(symlink("loop2", dir_.Sub("loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", dir_.Sub("loop2").c_str()), 0);
  ASSERT_EQ(chmod(dir_.Sub("noext").c_str(), 0444), 0);

  std::vector<FindData> all = List("*.*");
  EXPECT_EQ(Names(all), (std::vector<std::string>{"dangling", "file.txt", "link-dir", "link-file", "loop1",
                                                  "loop2", "noext", "sub"}));
  auto find = [&](const std::string& name) {
    for (const FindData& e : all) {
      if (e.name == name) return e;
    }
    return FindData{};
  };
  EXPECT_EQ(find("file.txt").attributes, 0u);
  EXPECT_EQ(find("file.txt").size, 5u);
  EXPECT_EQ(find("noext").attributes, kAttrReadOnly);
  EXPECT_EQ(find("sub").attributes, kAttrDirectory);
  EXPECT_EQ(find("sub").size, 0u);
  EXPECT_EQ(find("link-dir").attributes, kAttrReparsePoint | kAttrDirectory);
  EXPECT_EQ(find("link-file").attributes, kAttrReparsePoint);
  EXPECT_EQ(find("dangling").attributes, kAttrReparsePoint);
  EXPECT_EQ(find("loop1").attributes, kAttrReparsePoint);

  EXPECT_EQ(Names(List("*.")), (std::vector<std::string>{"dangling", "link-dir", "link-file", "loop1",
                                                         "loop2", "noext", "sub"}));
  EXPECT_EQ(Names(List("*.TXT")), (std::vector<std::string>{"file.txt"}));
  EXPECT_EQ(Names(List("loop?")), (std::vector<std::string>{"loop1", "loop2"}));
  EXPECT_TRUE(List("nothing*").empty());

  // Times: last write is mtime, last access atime; without a stored creation time it is the birth
  // time (or mtime where the file system keeps none), never later than the last write here.
  struct stat st;
  ASSERT_EQ(lstat(dir_.Sub("file.txt").c_str(), &st), 0);
  EXPECT_EQ(find("file.txt").last_write_time, FileTimeFromTimespec(st.st_mtim));
  EXPECT_EQ(find("file.txt").last_access_time, FileTimeFromTimespec(st.st_atim));
  EXPECT_NE(find("file.txt").creation_time, 0u);
  EXPECT_LE(find("file.txt").creation_time, find("file.txt").last_write_time);

  // A missing directory is an error, not an empty result.
  std::vector<FindData> entries;
  EXPECT_EQ(fs_->FindFiles(EnginePath(codec_.get(), dir_.Sub("none")), "*.*", &entries, nullptr).code(),
            ENOENT);
  EXPECT_EQ(fs_->FindNames(EnginePath(codec_.get(), dir_.Sub("none")), "*.*", &entries, nullptr).code(),
            ENOENT);

  // The names-only listing: the same entries in the same order, each with the kind the full one gives.
  for (const std::string pattern : {"*.*", "*.", "loop?"}) {
    SCOPED_TRACE(pattern);
    ASSERT_TRUE(fs_->FindNames(EnginePath(codec_.get(), dir_.path()), pattern, &entries, nullptr).ok());
    const std::vector<FindData> full = List(pattern);
    ASSERT_EQ(Names(entries), Names(full));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].attributes, full[i].attributes & (kAttrDirectory | kAttrReparsePoint)) << entries[i].name;
    }
  }
}

// A directory large enough for the status calls to be shared between two threads.
TEST_F(FindTest, LargeDirectory) {
  const int kCount = 3000;
  for (int i = 0; i < kCount; ++i) {
    char name[32];
    const int n = kCount - 1 - i;  // created in reverse order, upper and lower case mixed
    std::snprintf(name, sizeof(name), "%s%04d.txt", n % 2 ? "F" : "f", n);
    const int fd = open(dir_.Sub(name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
  }
  WriteFile(dir_.Sub("bad:name"), "");
  WriteFile(dir_.Sub("bad\x01name"), "");
  const std::string dir = EnginePath(codec_.get(), dir_.path());
  // One file marked in each half of the sorted order.
  Status s = fs_->SetAttributes(dir + "\\f0010.txt", kAttrHidden);
  const bool xattrs = s.code() != ENOTSUP;
  if (xattrs) {
    ASSERT_TRUE(s.ok()) << s.ToString();
    ASSERT_TRUE(fs_->SetAttributes(dir + "\\F2999.txt", kAttrSystem | kAttrReadOnly).ok());
  }
  std::size_t invisible = 0;
  std::vector<FindData> all = List("*.TXT", &invisible);
  EXPECT_EQ(invisible, 2u);
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kCount));
  for (int i = 0; i < kCount; ++i) {
    char digits[8];
    std::snprintf(digits, sizeof(digits), "%04d", i);
    ASSERT_EQ(all[i].name.substr(1), std::string(digits) + ".txt") << i;
    const std::uint32_t expected = !xattrs ? 0u : i == 10 ? kAttrHidden : i == 2999 ? kAttrSystem | kAttrReadOnly : 0u;
    ASSERT_EQ(all[i].attributes, expected) << all[i].name;
  }
  EXPECT_EQ(List("f000?.txt").size(), 10u);
}

TEST_F(FindTest, StatTakesTheLinkItself) {
  WriteFile(dir_.Sub("f"), "abc");
  ASSERT_EQ(symlink("f", dir_.Sub("l").c_str()), 0);
  const std::string dir = EnginePath(codec_.get(), dir_.path());
  FindData data;
  ASSERT_TRUE(fs_->Stat(dir + "\\l", &data).ok());
  EXPECT_EQ(data.name, "l");
  EXPECT_EQ(data.attributes, kAttrReparsePoint);
  ASSERT_TRUE(fs_->Stat(dir + "\\f", &data).ok());
  EXPECT_EQ(data.name, "f");
  EXPECT_EQ(data.size, 3u);
  EXPECT_EQ(fs_->Stat(dir + "\\none", &data).code(), ENOENT);
  ASSERT_TRUE(Exists(dir_.Sub("f")));
}

}  // namespace
}  // namespace morva
