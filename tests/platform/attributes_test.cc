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
