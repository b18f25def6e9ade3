#include "platform/volume_info.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

// A fixture host: device nodes (plain files), a by-label directory of links to them, a sysfs block
// directory and a mount table whose mounts live under the temporary directory.
class VolumeInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
    ASSERT_TRUE(dir_.ok());
    for (const char* d : {"dev", "by-label", "mnt", "mnt/usb", "mnt/usb/photos", "sys", "sys/devices",
                          "sys/devices/sdb", "sys/devices/sdb/sdb1", "sys/devices/sdc", "sys/dev"}) {
      ASSERT_EQ(mkdir((dir_ / d).c_str(), 0700), 0) << d;
    }
    for (const char* node : {"dev/sda1", "dev/sdb1", "dev/sr0", "dev/sdc1", "dev/sdd1"}) {
      ASSERT_TRUE(dir_.WriteFile(node, ""));
    }
    Link("../dev/sda1", "by-label/ROOT_FS");
    Link("../dev/sdb1", "by-label/My\\x20Disk\\x2fA");
    Link("../dev/sr0", "by-label/\xE8\xA1\xA8\xE7\xA4\xBA");              // 表示
    Link("../dev/sdc1", "by-label/a\\xe2\\x88\\x92b");                   // U+2212 escaped
    Link("../dev/missing", "by-label/DANGLING");
    Link("../devices/sdb/sdb1", "sys/dev/8:17");
    Link("../devices/sdc", "sys/dev/8:32");
    ASSERT_TRUE(dir_.WriteFile("sys/devices/sdb/removable", "1\n"));
    ASSERT_TRUE(dir_.WriteFile("sys/devices/sdc/removable", "0\n"));
    Link("mnt/usb/photos", "photos-link");

    const std::string t = dir_.path();
    WriteMountinfo("29 1 8:1 / / rw - ext4 " + t + "/dev/sda1 rw\n"
                   "40 29 8:17 / " + t + "/mnt/usb rw - vfat " + t + "/dev/sdb1 rw\n"
                   "41 29 11:0 / " + t + "/mnt/cd ro - iso9660 " + t + "/dev/sr0 ro\n"
                   "42 29 8:32 / " + t + "/mnt/bad rw - ext4 " + t + "/dev/sdc1 rw\n"
                   "43 29 8:48 / " + t + "/mnt/none rw - ext4 " + t + "/dev/sdd1 rw\n"
                   "44 29 0:70 / " + t + "/mnt/tmp rw - tmpfs tmpfs rw\n"
                   "45 29 0:71 / /mnt/share rw - cifs //srv/share rw\n");
    locations_.disk_by_label = dir_ / "by-label";
    locations_.sys_dev_block = dir_ / "sys/dev";
  }

  void Link(const std::string& target, const char* name) {
    ASSERT_EQ(symlink(target.c_str(), (dir_ / name).c_str()), 0) << name;
  }
  void WriteMountinfo(const std::string& text) {
    ASSERT_TRUE(dir_.WriteFile("mountinfo", text));
    locations_.mountinfo = dir_ / "mountinfo";
  }

  // The engine path of a path inside the fixture directory.
  std::string Engine(std::string_view relative) {
    std::string engine;
    EXPECT_TRUE(HostToEnginePath(codec_.get(), dir_ / relative, &engine).ok());
    return engine;
  }

  std::string Label(std::string_view engine_path) {
    std::string label = "unchanged";
    const Status s = ReadVolumeLabel(locations_, codec_.get(), engine_path, &label);
    return s.ok() ? label : "error " + std::to_string(s.code());
  }

  std::unique_ptr<TextCodec> codec_;
  testing::TempDir dir_;
  HostLocations locations_;
};

TEST_F(VolumeInfoTest, LabelComesFromTheLinkToTheMountSource) {
  EXPECT_EQ(Label("Z:\\"), "ROOT_FS");
  EXPECT_EQ(Label("Z:\\etc\\passwd"), "ROOT_FS");
  EXPECT_EQ(Label(Engine("mnt/usb")), "My Disk/A");
  EXPECT_EQ(Label(Engine("mnt/usb/photos/not-there.jpg")), "My Disk/A");
  EXPECT_EQ(Label(Engine("mnt/cd/x")), "\x95\x5C\x8E\xA6");  // 表示 in code page 932
  EXPECT_EQ(Label(Engine("mnt/none")), "");
  EXPECT_EQ(Label(Engine("mnt/tmp/f")), "");
  EXPECT_EQ(Label(Engine("mnt/bad")), "error " + std::to_string(EILSEQ));
}

TEST_F(VolumeInfoTest, LinksInTheDirectoryPartAreFollowedButNotTheLastName) {
  // photos-link (on the root file system) leads into the USB mount.
  EXPECT_EQ(Label(Engine("photos-link/a.jpg")), "My Disk/A");
  EXPECT_EQ(Label(Engine("photos-link")), "ROOT_FS");
}

TEST_F(VolumeInfoTest, MissingTablesAndBadPaths) {
  EXPECT_EQ(Label("C:\\"), "error " + std::to_string(EINVAL));
  EXPECT_EQ(Label("\\\\srv\\other"), "error " + std::to_string(ENOTCONN));
  EXPECT_EQ(Label("\\\\srv\\share\\f"), "");  // a share has no by-label link

  locations_.disk_by_label = dir_ / "no-such-dir";
  EXPECT_EQ(Label("Z:\\"), "");
  locations_.mountinfo = dir_ / "no-such-file";
  EXPECT_EQ(Label("Z:\\"), "error " + std::to_string(ENOENT));
}

TEST_F(VolumeInfoTest, UdevEscapes) {
  EXPECT_EQ(UnescapeUdevName("My\\x20Disk"), "My Disk");
  EXPECT_EQ(UnescapeUdevName("a\\x2Fb\\x5cc"), "a/b\\c");
  EXPECT_EQ(UnescapeUdevName("\\xe8\\xa1\\xa8"), "\xE8\xA1\xA8");
  EXPECT_EQ(UnescapeUdevName("\\xZZ\\x4"), "\\xZZ\\x4");
}

TEST_F(VolumeInfoTest, DriveTypeOfMounts) {
  auto type_of = [this](const char* fs_type, unsigned major, unsigned minor) {
    MountEntry mount;
    mount.fs_type = fs_type;
    mount.major = major;
    mount.minor = minor;
    return DriveTypeOfMount(locations_, mount);
  };
  EXPECT_EQ(type_of("ext4", 8, 1), DriveType::kFixed);
  EXPECT_EQ(type_of("btrfs", 0, 31), DriveType::kFixed);
  EXPECT_EQ(type_of("tmpfs", 0, 70), DriveType::kRamDisk);
  EXPECT_EQ(type_of("ramfs", 0, 71), DriveType::kRamDisk);
  EXPECT_EQ(type_of("iso9660", 11, 0), DriveType::kCdRom);
  EXPECT_EQ(type_of("udf", 11, 0), DriveType::kCdRom);
  for (const char* remote : {"nfs", "nfs4", "cifs", "smb3", "sshfs", "fuse.sshfs"}) {
    EXPECT_EQ(type_of(remote, 0, 80), DriveType::kRemote) << remote;
  }
  // A partition finds the flag of its disk; a whole disk has its own.
  EXPECT_EQ(type_of("vfat", 8, 17), DriveType::kRemovable);
  EXPECT_EQ(type_of("ext4", 8, 32), DriveType::kFixed);
  EXPECT_EQ(type_of("ext4", 9, 9), DriveType::kFixed);
}

TEST_F(VolumeInfoTest, DriveTypeOfPaths) {
  auto type = [this](std::string_view path) { return ReadDriveType(locations_, codec_.get(), path); };
  EXPECT_EQ(type("Z:\\"), DriveType::kFixed);
  EXPECT_EQ(type("z:"), DriveType::kFixed);
  // The type is that of the drive's root, not of the mount holding the rest of the path.
  EXPECT_EQ(type(Engine("mnt/tmp")), DriveType::kFixed);
  EXPECT_EQ(type("C:\\"), DriveType::kUnknown);
  EXPECT_EQ(type("a:"), DriveType::kUnknown);
  EXPECT_EQ(type("\\\\srv\\share\\"), DriveType::kRemote);
  EXPECT_EQ(type("\\\\SRV\\Share\\dir"), DriveType::kRemote);
  EXPECT_EQ(type("\\\\srv\\other\\"), DriveType::kNoRootDir);
  EXPECT_EQ(type("\\\\srv"), DriveType::kNoRootDir);
  EXPECT_EQ(type("relative"), DriveType::kNoRootDir);

  const std::string t = dir_.path();
  WriteMountinfo("29 1 0:20 / / rw - tmpfs tmpfs rw\n");
  EXPECT_EQ(type("Z:\\"), DriveType::kRamDisk);
  WriteMountinfo("29 1 8:17 / / rw - vfat " + t + "/dev/sdb1 rw\n");
  EXPECT_EQ(type("Z:\\"), DriveType::kRemovable);
  // A root mounted over the first one decides.
  WriteMountinfo("29 1 8:1 / / rw - ext4 /dev/sda1 rw\n30 29 11:0 / / ro - iso9660 /dev/sr0 ro\n");
  EXPECT_EQ(type("Z:\\"), DriveType::kCdRom);

  locations_.mountinfo = dir_ / "no-such-file";
  EXPECT_EQ(type("Z:\\"), DriveType::kFixed);
  EXPECT_EQ(type("\\\\srv\\share\\"), DriveType::kNoRootDir);
}

TEST(PosixVolumeInfoTest, TheHostsOwnTablesAnswer) {
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  ASSERT_NE(codec, nullptr);
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  std::string label = "unchanged";
  const Status s = fs->GetVolumeLabel("Z:\\", &label);
  // Whatever this machine's root is called, the question has an answer (EILSEQ only for a label
  // without a code page 932 form).
  EXPECT_TRUE(s.ok() || s.code() == EILSEQ) << s.ToString();
  const DriveType root = fs->GetDriveType("Z:\\");
  EXPECT_NE(root, DriveType::kUnknown);
  EXPECT_NE(root, DriveType::kNoRootDir);
  EXPECT_EQ(fs->GetDriveType("C:\\"), DriveType::kUnknown);
}

}  // namespace
}  // namespace morva
