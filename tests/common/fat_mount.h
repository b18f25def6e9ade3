#ifndef MORVA_TESTS_COMMON_FAT_MOUNT_H_
#define MORVA_TESTS_COMMON_FAT_MOUNT_H_

// A FAT file system in an image file, mounted through FUSE (fusefat) with no privilege beyond FUSE, as a
// camera card or a USB stick is: names compare ignoring case, and the inode number of an entry depends
// on the name it was looked up by.

#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "common/test_util.h"

namespace morva::testing {

class FatMount {
 public:
  FatMount() {
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
      why_ = "/dev/fuse is missing or not usable";
      return;
    }
    const std::string image = dir_ / "card.img";
    path_ = dir_ / "card";
    if (mkdir(path_.c_str(), 0755) != 0 || !Shell("mkfs.vfat -C '" + image + "' 32768")) {
      why_ = "mkfs.vfat could not make an image (package dosfstools)";
      return;
    }
    mounted_ = Shell("fusefat -o rw+ '" + image + "' '" + path_ + "'");
    // fusefat returns once the mount is in place; FUSE's magic number tells that it is.
    struct statfs info {};
    if (!mounted_ || statfs(path_.c_str(), &info) != 0 || info.f_type != kFuseMagic) {
      why_ = "fusefat could not mount the image (package fusefat)";
    }
  }
  FatMount(const FatMount&) = delete;
  FatMount& operator=(const FatMount&) = delete;
  ~FatMount() {
    if (!mounted_) return;
    // fusermount3 comes with FUSE 3, fusermount with FUSE 2; either unmounts.
    Shell("fusermount3 -u '" + path_ + "' || fusermount -u '" + path_ + "'");
  }

  bool ok() const { return why_.empty(); }
  // Why the mount is not there.
  const std::string& why() const { return why_; }
  // The mount point.
  const std::string& path() const { return path_; }

 private:
  static constexpr long kFuseMagic = 0x65735546;

  static bool Shell(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
  }

  TempDir dir_;
  std::string path_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_FAT_MOUNT_H_
