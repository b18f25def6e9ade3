#include "platform/mount_table.h"

#include <cerrno>

#include <gtest/gtest.h>

#include "common/test_util.h"

namespace morva {
namespace {

// Mount 1 is not listed: it stands for the mount outside this namespace that holds its root.
constexpr char kFixture[] =
    "22 29 0:21 / /proc rw,nosuid,relatime - proc proc rw\n"
    "29 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
    "\n"
    "40 29 8:17 /photos /mnt/my\\040disk rw,noatime master:2 propagate_from:1 shared:5 - vfat /dev/sdb1 "
    "rw,fmask=0022\n"
    "41 29 0:50 / /mnt/back\\134slash rw - cifs //Srv/Share\\040Two rw,vers=3.1.1\n"
    "42 29 0:51 / /mnt/data rw - ext4 /dev/sdc1 rw\n";

const MountEntry* ById(const MountTable& table, int id) {
  for (const MountEntry& entry : table.entries()) {
    if (entry.mount_id == id) return &entry;
  }
  return nullptr;
}

TEST(MountTableTest, ParsesFieldsEscapesAndOptionalFields) {
  MountTable table;
  ASSERT_TRUE(table.Parse(kFixture).ok());
  ASSERT_EQ(table.entries().size(), 5u);

  const MountEntry& disk = table.entries()[2];
  EXPECT_EQ(disk.mount_id, 40);
  EXPECT_EQ(disk.parent_id, 29);
  EXPECT_EQ(disk.major, 8u);
  EXPECT_EQ(disk.minor, 17u);
  EXPECT_EQ(disk.root, "/photos");
  EXPECT_EQ(disk.mount_point, "/mnt/my disk");
  EXPECT_EQ(disk.options, "rw,noatime");
  // Three optional fields before "-" must not shift the fields after it.
  EXPECT_EQ(disk.fs_type, "vfat");
  EXPECT_EQ(disk.source, "/dev/sdb1");
  EXPECT_EQ(disk.super_options, "rw,fmask=0022");

  const MountEntry& share = table.entries()[3];
  EXPECT_EQ(share.mount_point, "/mnt/back\\slash");
  EXPECT_EQ(share.fs_type, "cifs");
  EXPECT_EQ(share.source, "//Srv/Share Two");
  EXPECT_EQ(share.major, 0u);
  EXPECT_EQ(share.minor, 50u);

  // A table without a final newline still yields its last line.
  ASSERT_TRUE(table.Parse("29 1 8:1 / / rw - ext4 /dev/sda1 rw").ok());
  ASSERT_EQ(table.entries().size(), 1u);
  EXPECT_EQ(table.entries()[0].super_options, "rw");
}

TEST(MountTableTest, MalformedLineFailsTheWholeParse) {
  const char* bad_lines[] = {
      "29 1 8:1 / / rw shared:1 ext4 /dev/sda1 rw\n",  // no "-"
      "29 1 8:1 / / rw - ext4 /dev/sda1\n",            // no super options
      "x 1 8:1 / / rw - ext4 /dev/sda1 rw\n",          // id not a number
      "29 1 8-1 / / rw - ext4 /dev/sda1 rw\n",         // no major:minor
      "29 1 8:1a / / rw - ext4 /dev/sda1 rw\n",
      "29 1 8:1 / / - ext4 /dev/sda1 rw\n",            // options missing: "-" is taken as them
  };
  for (const char* line : bad_lines) {
    MountTable table;
    ASSERT_TRUE(table.Parse(kFixture).ok());
    const std::string text = std::string(kFixture) + line;
    const Status s = table.Parse(text);
    EXPECT_EQ(s.code(), EINVAL) << line;
    EXPECT_TRUE(table.entries().empty()) << line;
    EXPECT_EQ(table.FindMountOf("/"), nullptr) << line;
  }
}

TEST(MountTableTest, UnescapeOnlyDecodesThreeOctalDigits) {
  EXPECT_EQ(UnescapeMountField("a\\040b\\011c\\012d\\134e"), "a b\tc\nd\\e");
  EXPECT_EQ(UnescapeMountField("\\343\\201\\202"), "\xE3\x81\x82");
  EXPECT_EQ(UnescapeMountField("a\\04"), "a\\04");    // cut short
  EXPECT_EQ(UnescapeMountField("a\\048"), "a\\048");  // 8 is no octal digit
  EXPECT_EQ(UnescapeMountField("a\\400"), "a\\400");  // beyond one byte
  EXPECT_EQ(UnescapeMountField("x\\"), "x\\");
}

TEST(MountTableTest, FindMountOfUsesWholeComponents) {
  MountTable table;
  ASSERT_TRUE(table.Parse(kFixture).ok());
  EXPECT_EQ(table.FindMountOf("/"), ById(table, 29));
  EXPECT_EQ(table.FindMountOf("/home/me"), ById(table, 29));
  EXPECT_EQ(table.FindMountOf("/mnt/data"), ById(table, 42));
  EXPECT_EQ(table.FindMountOf("/mnt/data/a/b"), ById(table, 42));
  EXPECT_EQ(table.FindMountOf("/mnt/database"), ById(table, 29));
  EXPECT_EQ(table.FindMountOf("/mnt/my disk/x"), ById(table, 40));
  EXPECT_EQ(table.FindMountOf("/proc/self"), ById(table, 22));
  EXPECT_EQ(table.FindMountOf("mnt/data"), nullptr);
  EXPECT_EQ(table.FindMountOf(""), nullptr);

  MountTable no_root;
  ASSERT_TRUE(no_root.Parse("42 29 0:51 / /mnt/data rw - ext4 /dev/sdc1 rw\n").ok());
  EXPECT_EQ(no_root.FindMountOf("/mnt/data"), nullptr);
}

TEST(MountTableTest, CoveredMountsAreNeverFound) {
  // /mnt holds a share (31), then a second file system is mounted over /mnt (32), covering the share;
  // / itself is mounted over once (51 on 29).
  constexpr char kStacked[] =
      "29 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "51 29 8:2 / / rw - ext4 /dev/sda2 rw\n"
      "30 51 8:3 / /mnt rw - ext4 /dev/sda3 rw\n"
      "31 30 0:60 / /mnt/share rw - cifs //srv/share rw\n"
      "32 30 8:4 / /mnt rw - xfs /dev/sda4 rw\n"
      "33 32 0:61 / /mnt/other rw - smb3 //srv/other rw\n";
  MountTable table;
  ASSERT_TRUE(table.Parse(kStacked).ok());
  EXPECT_EQ(table.FindMountOf("/etc"), ById(table, 51));
  EXPECT_EQ(table.FindMountOf("/mnt"), ById(table, 32));
  EXPECT_EQ(table.FindMountOf("/mnt/share/f"), ById(table, 32));
  EXPECT_EQ(table.FindMountOf("/mnt/other/f"), ById(table, 33));
  EXPECT_EQ(table.FindShare("srv", "share"), nullptr);
  EXPECT_EQ(table.FindShare("srv", "other"), ById(table, 33));

  // A damaged table whose parents form a cycle (a repeated id) must not hang the walk.
  MountTable cycle;
  ASSERT_TRUE(cycle.Parse("29 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                          "30 29 8:3 / /a rw - ext4 /dev/sda3 rw\n"
                          "31 30 8:4 / /a rw - ext4 /dev/sda4 rw\n"
                          "30 31 8:5 / /a rw - ext4 /dev/sda5 rw\n")
                  .ok());
  const MountEntry* in_cycle = cycle.FindMountOf("/a/b");
  ASSERT_NE(in_cycle, nullptr);
  EXPECT_EQ(in_cycle->mount_point, "/a");
}

TEST(MountTableTest, FindShareComparesServerAndShareWithoutCase) {
  constexpr char kShares[] =
      "29 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "60 29 0:60 / /mnt/a rw - cifs //FileServer/Public rw\n"
      "61 29 0:61 / /mnt/b rw - smb3 //fileserver/docs/ rw\n"
      "62 29 0:62 / /mnt/c rw - cifs //fileserver/sub/dir rw\n"
      "63 29 0:63 / /mnt/d rw - nfs //fileserver/nfsshare rw\n"
      "64 29 0:64 / /mnt/e rw - cifs \\134\\134nas\\134Music rw\n"
      "65 29 0:65 / /mnt/f rw - cifs //nas/\xEF\xBD\x81\xCE\xB1\xD0\xB0\xD1\x91 rw\n"
      "66 29 0:66 / /mnt/g rw - cifs //FileServer/public rw\n"
      "67 29 0:67 / /mnt/h rw - cifs //nas/\xE8\xA1\xA8 rw\n";
  MountTable table;
  ASSERT_TRUE(table.Parse(kShares).ok());
  // The last of two mounts of one share wins.
  EXPECT_EQ(table.FindShare("fileserver", "PUBLIC"), ById(table, 66));
  EXPECT_EQ(table.FindShare("FILESERVER", "Docs"), ById(table, 61));
  // Only a whole share counts, and only from a CIFS/SMB mount.
  EXPECT_EQ(table.FindShare("fileserver", "sub"), nullptr);
  EXPECT_EQ(table.FindShare("fileserver", "nfsshare"), nullptr);
  EXPECT_EQ(table.FindShare("fileserve", "public"), nullptr);
  EXPECT_EQ(table.FindShare("fileserver", "publi"), nullptr);
  EXPECT_EQ(table.FindShare("fileserver", ""), nullptr);
  // A source written with backslashes.
  EXPECT_EQ(table.FindShare("NAS", "music"), ById(table, 64));
  // Full-width Latin, Greek and Cyrillic letters in the other case: "ＡΑАЁ".
  EXPECT_EQ(table.FindShare("nas", "\xEF\xBC\xA1\xCE\x91\xD0\x90\xD0\x81"), ById(table, 65));
  EXPECT_EQ(table.FindShare("nas", "\xE8\xA1\xA8"), ById(table, 67));
  // Only letters fold: '[' and '{' differ by 0x20 too; invalid UTF-8 compares byte for byte.
  EXPECT_FALSE(NamesEqualIgnoringCase("a[", "A{"));
  EXPECT_TRUE(NamesEqualIgnoringCase("\xCF\x82", "\xCE\xA3"));  // final sigma and capital sigma
  EXPECT_FALSE(NamesEqualIgnoringCase("a\xFF", "A\xFF"));
}

TEST(MountTableTest, LoadReadsAFileAndReportsAMissingOne) {
  testing::TempDir dir;
  ASSERT_TRUE(dir.ok());
  ASSERT_TRUE(dir.WriteFile("mountinfo", kFixture));
  MountTable table;
  ASSERT_TRUE(table.Load(dir / "mountinfo").ok());
  EXPECT_EQ(table.entries().size(), 5u);
  EXPECT_EQ(table.Load(dir / "missing").code(), ENOENT);

  // The real table of this process always has a root.
  ASSERT_TRUE(table.Load("/proc/self/mountinfo").ok());
  EXPECT_NE(table.FindMountOf("/"), nullptr);
}

}  // namespace
}  // namespace morva
