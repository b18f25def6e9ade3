#include "platform/path_utils.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

// "表" is 0x95 0x5C and "ソ" is 0x83 0x5C: their trail bytes look like '\'.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(PathUtilsTest, FileNameCharacters) {
  for (int b = 1; b < 32; ++b) EXPECT_FALSE(IsFileNameChar(static_cast<unsigned char>(b), true)) << b;
  for (char c : std::string("\\*\"<>|")) {
    EXPECT_FALSE(IsFileNameChar(c, false)) << c;
    EXPECT_FALSE(IsFileNameChar(c, true)) << c;
  }
  for (char c : std::string("/:?")) {
    EXPECT_FALSE(IsFileNameChar(c, false)) << c;
    EXPECT_TRUE(IsFileNameChar(c, true)) << c;
  }
  EXPECT_TRUE(IsFileNameChar('a', false));
  EXPECT_TRUE(IsFileNameChar(0x95, false));
}

TEST(PathUtilsTest, JoinAndSplitNeverCutADoubleByteCharacter) {
  EXPECT_EQ(JoinPath("Z:\\a", "b"), "Z:\\a\\b");
  EXPECT_EQ(JoinPath("Z:\\", "b"), "Z:\\b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  // A directory ending in "表" has no trailing separator to remove.
  EXPECT_EQ(JoinPath("Z:\\" + kHyo, "b"), "Z:\\" + kHyo + "\\b");

  std::string dir, name;
  ASSERT_TRUE(SplitPath("Z:\\a\\b.txt", &dir, &name));
  EXPECT_EQ(dir, "Z:\\a");
  EXPECT_EQ(name, "b.txt");
  ASSERT_TRUE(SplitPath("Z:\\a", &dir, &name));
  EXPECT_EQ(dir, "Z:\\");
  EXPECT_EQ(name, "a");
  ASSERT_TRUE(SplitPath("Z:\\d\\" + kSo + kHyo, &dir, &name));
  EXPECT_EQ(dir, "Z:\\d");
  EXPECT_EQ(name, kSo + kHyo);
  ASSERT_TRUE(SplitPath("plain", &dir, &name));
  EXPECT_EQ(dir, "");
  EXPECT_EQ(name, "plain");
  EXPECT_FALSE(SplitPath("Z:\\" + std::string(258, 'x'), &dir, &name));

  EXPECT_EQ(FindLastChar("a" + kHyo + "b", '\\'), std::string::npos);
  EXPECT_EQ(FindFirstChar(kSo + "\\x", '\\'), 2u);
}

TEST(PathUtilsTest, NamesSplitIntoBaseAndExtension) {
  std::string base, ext;
  SplitName("a.b.txt", false, &base, &ext);
  EXPECT_EQ(base, "a.b");
  EXPECT_EQ(ext, "txt");
  SplitName("dir.d", true, &base, &ext);
  EXPECT_EQ(base, "dir.d");
  EXPECT_EQ(ext, "");
  SplitName(".profile", false, &base, &ext);
  EXPECT_EQ(base, ".profile");
  EXPECT_EQ(ext, "");
  SplitName("noext", false, &base, &ext);
  EXPECT_EQ(base, "noext");
  EXPECT_EQ(ext, "");
  SplitName("a.", false, &base, &ext);
  EXPECT_EQ(base, "a");
  EXPECT_EQ(ext, "");

  SplitBaseExt(".x.txt", &base, &ext);
  EXPECT_EQ(base, ".x");
  EXPECT_EQ(ext, "txt");
  SplitBaseExt("..y", &base, &ext);
  EXPECT_EQ(base, "..y");
  EXPECT_EQ(ext, "");
  SplitBaseExt("img12_3.jpg", &base, &ext);
  EXPECT_EQ(base, "img12_3");
}

TEST(PathUtilsTest, ExpandPathReplacesLeadingVariablesAndResolvesDots) {
  const std::map<std::string, std::string, std::less<>> env = {{"HOME", "Z:\\home\\me"}, {"SUB", "docs"}};
  const EnvironmentLookup lookup = [&](std::string_view name) -> std::optional<std::string> {
    auto it = env.find(name);
    if (it == env.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(ExpandPath("%HOME%\\x", lookup), "Z:\\home\\me\\x");
  EXPECT_EQ(ExpandPath("%HOME%%SUB%", lookup), "Z:\\home\\medocs");
  // Only references at the very beginning are expanded.
  EXPECT_EQ(ExpandPath("Z:\\%SUB%", lookup), "Z:\\%SUB%");
  // An undefined variable stays and ends the expansion.
  EXPECT_EQ(ExpandPath("%NOPE%%HOME%", lookup), "%NOPE%%HOME%");
  // The closing '%' must come before the next separator.
  EXPECT_EQ(ExpandPath("%HO\\ME%", lookup), "%HO\\ME%");

  EXPECT_EQ(ExpandPath("Z:\\a\\.\\b\\..\\c", lookup), "Z:\\a\\c");
  EXPECT_EQ(ExpandPath("Z:\\a\\..", lookup), "Z:\\");
  EXPECT_EQ(ExpandPath("Z:\\..\\b", lookup), "Z:\\..\\b");
  EXPECT_EQ(ExpandPath("\\\\srv\\share\\a\\..\\b", lookup), "\\\\srv\\share\\b");
  // A trail byte 0x5C does not split a component.
  EXPECT_EQ(ExpandPath("Z:\\" + kHyo + "\\..\\x", lookup), "Z:\\x");
}

TEST(PathUtilsTest, NormalizePathGivesEachEntryOneSpelling) {
  struct Case {
    std::string in, out;
  };
  for (const Case& c : std::vector<Case>{
           {"Z:\\a\\b", "Z:\\a\\b"},
           {"Z:\\a\\.\\b\\..\\c\\", "Z:\\a\\c"},
           {"Z:\\a\\\\\\b\\.", "Z:\\a\\b"},
           {"Z:\\a\\..", "Z:\\"},
           {"Z:\\\\", "Z:\\"},
           // Above the root is the root, as on the host; the rest still counts.
           {"Z:\\..\\..\\b", "Z:\\b"},
           {"\\\\srv\\share\\a\\..\\..\\b\\", "\\\\srv\\share\\b"},
           // Letter case, blanks and names that only start with dots are names like any other.
           {"Z:\\A \\...\\.x", "Z:\\A \\...\\.x"},
           // A trail byte 0x5C neither separates nor is cut as a trailing separator.
           {"Z:\\" + kHyo + "\\" + kSo, "Z:\\" + kHyo + "\\" + kSo},
           {"Z:\\" + kHyo + "\\..\\x", "Z:\\x"},
           // Not an absolute engine path: left for ClassifyPath to refuse.
           {"a\\..\\b", "a\\..\\b"},
           {"Z:a\\..", "Z:a\\.."},
       }) {
    EXPECT_EQ(NormalizePath(c.in), c.out) << c.in;
  }
}

}  // namespace
}  // namespace morva

namespace morva {
namespace {

class PathUtilsOnDiskTest : public testing::HostFixture {
 protected:
  void SetUp() override {
    testing::HostFixture::SetUp();
    root_ = testing::EnginePath(codec_.get(), dir_.path());
  }

  std::string root_;
};

TEST_F(PathUtilsOnDiskTest, ClassifyPathTellsInvalidMissingRootExistingAndUnc) {
  ASSERT_TRUE(dir_.WriteFile("f.txt", "x"));
  EXPECT_EQ(ClassifyPath(*fs_, root_), kPathExists);
  EXPECT_EQ(ClassifyPath(*fs_, root_ + "\\f.txt"), kPathExists);
  EXPECT_EQ(ClassifyPath(*fs_, root_ + "\\missing"), kPathMissing);
  EXPECT_EQ(ClassifyPath(*fs_, "Z:\\"), kPathDriveRoot);
  EXPECT_EQ(ClassifyPath(*fs_, "Q:\\"), kPathMissing);  // no such drive
  EXPECT_EQ(ClassifyPath(*fs_, "\\\\server\\share"), kPathUnc);
  EXPECT_EQ(ClassifyPath(*fs_, "\\\\"), kPathInvalid);
  EXPECT_EQ(ClassifyPath(*fs_, root_ + "\\*.txt"), kPathInvalid);
  EXPECT_EQ(ClassifyPath(*fs_, root_ + "\\a:b"), kPathInvalid);
  EXPECT_EQ(ClassifyPath(*fs_, "relative\\path"), kPathInvalid);
  EXPECT_EQ(ClassifyPath(*fs_, "Z:\\" + std::string(258, 'x')), kPathInvalid);
  // The trail byte of "表" is not a separator, and a lead byte's trail is never a forbidden character.
  EXPECT_EQ(ClassifyPath(*fs_, root_ + "\\" + kHyo), kPathMissing);
}

TEST_F(PathUtilsOnDiskTest, MakeDirectoriesCreatesTheMissingChainOnly) {
  const std::string deep = root_ + "\\a\\b\\" + testing::Sjis(codec_.get(), "表") + "\\c";
  EXPECT_TRUE(MakeDirectories(*fs_, deep));
  EXPECT_TRUE(testing::Exists(dir_.path() + "/a/b/表/c"));
  EXPECT_TRUE(MakeDirectories(*fs_, deep));  // already there: nothing to do
  EXPECT_TRUE(MakeDirectories(*fs_, root_ + "\\a\\x\\"));
  EXPECT_TRUE(testing::Exists(dir_.path() + "/a/x"));

  // A file in the way stops the chain at the first failure.
  ASSERT_TRUE(dir_.WriteFile("file", "x"));
  EXPECT_FALSE(MakeDirectories(*fs_, root_ + "\\file\\sub"));
  EXPECT_FALSE(testing::Exists(dir_.path() + "/file/sub"));
}

}  // namespace
}  // namespace morva
