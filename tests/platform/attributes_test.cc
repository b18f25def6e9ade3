#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/test_util.h"
#include "platform/dos_attrib.h"
#include "platform/file_system.h"
#include "platform/file_time.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::EnginePath;
using testing::TempDir;
using testing::WriteFile;

class AttributesTest : public testing::HostFixture {
 protected:
  void SetUp() override {
    testing::HostFixture::SetUp();
    WriteFile(dir_.Sub("f.txt"), "data");
    host_ = dir_.Sub("f.txt");
    path_ = EnginePath(codec_.get(), host_);
    // The test needs user extended attributes in /tmp.
    if (lsetxattr(host_.c_str(), "user.probe", "1", 1, 0) != 0) GTEST_SKIP() << "no user xattrs in /tmp";
    lremovexattr(host_.c_str(), "user.probe");
  }

  FindData StatOf(const std::string& path) {
    FindData data;
    Status s = fs_->Stat(path, &data);
    EXPECT_TRUE(s.ok()) << s.ToString();
    return data;
  }

  std::string RawDosAttrib() {
    char buffer[256];
    const ssize_t n = lgetxattr(host_.c_str(), kDosAttribXattrName, buffer, sizeof(buffer));
    return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
  }

  mode_t Mode() {
    struct stat st;
    EXPECT_EQ(lstat(host_.c_str(), &st), 0);
    return st.st_mode & 07777;
  }

  static FileTime Time(int year, int month, int day, int hour, int minute, int second, int ms) {
    CalendarTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.millisecond = ms;
    FileTime ft = 0;
    EXPECT_TRUE(UtcToFileTime(t, &ft));
    return ft;
  }

  std::string host_;
  std::string path_;
};

TEST_F(AttributesTest, AttributesRoundTrip) {
  ASSERT_EQ(chmod(host_.c_str(), 0664), 0);
  ASSERT_TRUE(fs_->SetAttributes(path_, kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive).ok());
  EXPECT_EQ(StatOf(path_).attributes, kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
  EXPECT_EQ(Mode(), 0444u);  // every write bit cleared, nothing else

  // The read-only file still takes a change of hidden alone.
  ASSERT_TRUE(fs_->SetAttributes(path_, kAttrReadOnly | kAttrArchive).ok());
  EXPECT_EQ(StatOf(path_).attributes, kAttrReadOnly | kAttrArchive);
  EXPECT_EQ(Mode(), 0444u);

  ASSERT_TRUE(fs_->SetAttributes(path_, kAttrDirectory).ok());  // not settable: ignored
  EXPECT_EQ(StatOf(path_).attributes, 0u);
  EXPECT_EQ(Mode(), 0644u);  // the owner gets write permission back

  // A directory keeps its directory bit next to the stored ones.
  const std::string sub = EnginePath(codec_.get(), dir_.Sub("sub"));
  ASSERT_TRUE(fs_->CreateDirectory(sub).ok());
  ASSERT_TRUE(fs_->SetAttributes(sub, kAttrHidden).ok());
  EXPECT_EQ(StatOf(sub).attributes, kAttrDirectory | kAttrHidden);
}

TEST_F(AttributesTest, ReadOnlyAloneLeavesTheExtendedAttributeAlone) {
  ASSERT_TRUE(fs_->SetAttributes(path_, kAttrReadOnly).ok());
  EXPECT_EQ(StatOf(path_).attributes, kAttrReadOnly);
  EXPECT_EQ(RawDosAttrib(), "");
  ASSERT_TRUE(fs_->SetAttributes(path_, 0).ok());
  EXPECT_EQ(RawDosAttrib(), "");
  EXPECT_EQ(StatOf(path_).attributes, 0u);
}

TEST_F(AttributesTest, KeepsFieldsItDoesNotChange) {
  DosAttrib stored;
  stored.valid_flags = kDosAttribValidAttributes | kDosAttribValidCreationTime | 0x40;
  stored.attributes = kAttrSystem | 0x100;  // 0x100: a bit this program does not know
  stored.itime = 0x0123456789ABCDEFULL;
  stored.creation_time = Time(2001, 2, 3, 4, 5, 6, 789);
  const std::string blob = EncodeDosAttrib(stored);
  ASSERT_EQ(lsetxattr(host_.c_str(), kDosAttribXattrName, blob.data(), blob.size(), 0), 0);

  EXPECT_EQ(StatOf(path_).attributes, kAttrSystem);
  EXPECT_EQ(StatOf(path_).creation_time, stored.creation_time);
  ASSERT_TRUE(fs_->SetAttributes(path_, kAttrHidden).ok());

  DosAttrib after;
  ASSERT_TRUE(DecodeDosAttrib(RawDosAttrib(), &after));
  EXPECT_EQ(after.valid_flags, stored.valid_flags);
  EXPECT_EQ(after.attributes, kAttrHidden | 0x100u);
  EXPECT_EQ(after.itime, stored.itime);
  EXPECT_EQ(after.creation_time, stored.creation_time);

  // A stored read-only bit follows the permissions when read-only changes.
  ASSERT_TRUE(fs_->SetAttributes(path_, kAttrHidden | kAttrReadOnly).ok());
  ASSERT_TRUE(DecodeDosAttrib(RawDosAttrib(), &after));
  EXPECT_EQ(after.attributes, kAttrHidden | kAttrReadOnly | 0x100u);

  // A creation time set later keeps the attributes and itime.
  const FileTime created = Time(1999, 12, 31, 23, 59, 58, 1);
  ASSERT_TRUE(fs_->SetTimes(path_, &created, nullptr, nullptr).ok());
  ASSERT_TRUE(DecodeDosAttrib(RawDosAttrib(), &after));
  EXPECT_EQ(after.attributes, kAttrHidden | kAttrReadOnly | 0x100u);
  EXPECT_EQ(after.itime, stored.itime);
  EXPECT_EQ(after.creation_time, created);
}

TEST_F(AttributesTest, TimesRoundTripToTheMillisecond) {
  const FileTime created = Time(2003, 4, 5, 6, 7, 8, 901);
  const FileTime accessed = Time(2010, 1, 2, 3, 4, 5, 678);
  const FileTime written = Time(2020, 12, 31, 23, 59, 59, 999);
  ASSERT_TRUE(fs_->SetTimes(path_, &created, &accessed, &written).ok());
  FindData data = StatOf(path_);
  EXPECT_EQ(data.creation_time, created);
  EXPECT_EQ(data.last_access_time, accessed);
  EXPECT_EQ(data.last_write_time, written);

  // Only the given times change.
  const FileTime written2 = Time(2021, 6, 7, 8, 9, 10, 11);
  ASSERT_TRUE(fs_->SetTimes(path_, nullptr, nullptr, &written2).ok());
  data = StatOf(path_);
  EXPECT_EQ(data.creation_time, created);
  EXPECT_EQ(data.last_access_time, accessed);
  EXPECT_EQ(data.last_write_time, written2);

  // A listing reports the same times.
  std::vector<FindData> entries;
  ASSERT_TRUE(fs_->FindFiles(EnginePath(codec_.get(), dir_.path()), "f.txt", &entries, nullptr).ok());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].creation_time, created);
  EXPECT_EQ(entries[0].last_write_time, written2);

  // On a symbolic link the link's own times change, not its target's.
  ASSERT_EQ(symlink("f.txt", dir_.Sub("l").c_str()), 0);
  const std::string link = EnginePath(codec_.get(), dir_.Sub("l"));
  const FileTime link_time = Time(2005, 5, 5, 5, 5, 5, 500);
  ASSERT_TRUE(fs_->SetTimes(link, nullptr, nullptr, &link_time).ok());
  EXPECT_EQ(StatOf(link).last_write_time, link_time);
  EXPECT_EQ(StatOf(path_).last_write_time, written2);

  EXPECT_EQ(fs_->SetTimes(EnginePath(codec_.get(), dir_.Sub("none")), nullptr, nullptr, &written).code(),
            ENOENT);
}

// The values other writers leave: each version Samba and the kernel's SMB server write, and the plain
// text of the oldest ones. Each is read, and a change of one attribute keeps every other field.
TEST_F(AttributesTest, ReadsEveryStoredFormAndAChangeKeepsTheRest) {
  auto le = [](std::uint64_t v, int n, std::string* out) {
    for (int i = 0; i < n; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  const FileTime created = Time(2008, 7, 6, 5, 4, 3, 210);
  const FileTime itime = Time(2007, 1, 1, 0, 0, 0, 0);
  // The text, padded to 2; the version and the union's copy of it; the arm from the next multiple of 4.
  auto head = [&](std::string text, int version) {
    std::string b = text;
    b.push_back('\0');
    if (b.size() % 2 != 0) b.push_back('\0');
    le(static_cast<std::uint64_t>(version), 2, &b);
    le(static_cast<std::uint64_t>(version), 2, &b);
    while (b.size() % 4 != 0) b.push_back('\0');
    return b;
  };
  std::string v3_text = head("0x22", 3);  // as Samba 3.5 to 4.10 wrote it
  // Valid flags for every field (the sizes and the change time too), attributes, ea_size.
  for (std::uint64_t v : {0x3FULL, 0x22ULL, 0ULL}) le(v, 4, &v3_text);
  for (std::uint64_t v : {std::uint64_t{4}, std::uint64_t{4096}, std::uint64_t{created}, std::uint64_t{0x99}}) le(v, 8, &v3_text);
  std::string v3_empty = head("", 3);
  for (std::uint64_t v : {0x11ULL, 0x22ULL, 0ULL}) le(v, 4, &v3_empty);
  for (std::uint64_t v : {std::uint64_t{4}, std::uint64_t{4096}, std::uint64_t{created}, std::uint64_t{0x99}}) le(v, 8, &v3_empty);
  std::string v4 = head("", 4);
  for (std::uint64_t v : {0x51ULL, 0x22ULL}) le(v, 4, &v4);
  for (std::uint64_t v : {std::uint64_t{itime}, std::uint64_t{created}}) le(v, 8, &v4);
  std::string v5 = head("", 5);
  for (std::uint64_t v : {0x51ULL, 0x22ULL}) le(v, 4, &v5);  // an itime flag, but no itime
  le(created, 8, &v5);

  struct Case {
    const char* what;
    std::string blob;
    bool has_times;  // the form carries a creation time
    FileTime itime;
    std::uint32_t flags_after;  // the valid flags of the version 4 value a change writes
  };
  const std::vector<Case> cases = {
      {"version 3 with text", v3_text, true, 0, 0x11},
      {"version 3", v3_empty, true, 0, 0x11},
      {"version 4", v4, true, itime, 0x51},
      {"version 5", v5, true, 0, 0x11},
      {"text", std::string("0x22\0", 5), false, 0, 0x1},
      {"text without NUL", "0x22", false, 0, 0x1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(lsetxattr(host_.c_str(), kDosAttribXattrName, c.blob.data(), c.blob.size(), 0), 0);
    FindData before = StatOf(path_);
    EXPECT_EQ(before.attributes, kAttrHidden | kAttrArchive);
    if (c.has_times) {
      EXPECT_EQ(before.creation_time, created);
    }

    ASSERT_TRUE(fs_->SetAttributes(path_, kAttrArchive | kAttrSystem).ok());
    const FindData after = StatOf(path_);
    EXPECT_EQ(after.attributes, kAttrArchive | kAttrSystem);
    EXPECT_EQ(after.creation_time, before.creation_time);
    DosAttrib stored;
    ASSERT_TRUE(DecodeDosAttrib(RawDosAttrib(), &stored));
    EXPECT_EQ(stored.itime, c.itime);
    EXPECT_EQ(stored.valid_flags, c.flags_after);
    if (c.has_times) {
      EXPECT_EQ(stored.creation_time, created);
    }
  }
}

TEST_F(AttributesTest, ReadsOtherWritersForms) {
  // The plain text form of the oldest writers.
  ASSERT_EQ(lsetxattr(host_.c_str(), kDosAttribXattrName, "0x22", 5, 0), 0);
  EXPECT_EQ(StatOf(path_).attributes, kAttrHidden | kAttrArchive);
  // Undecodable content reads as no stored attributes and is replaced by a change.
  ASSERT_EQ(lsetxattr(host_.c_str(), kDosAttribXattrName, "garbage", 7, 0), 0);
  EXPECT_EQ(StatOf(path_).attributes, 0u);
  ASSERT_TRUE(fs_->SetAttributes(path_, kAttrSystem).ok());
  EXPECT_EQ(StatOf(path_).attributes, kAttrSystem);
}

}  // namespace
}  // namespace morva
