#include "platform/volume_info.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/text_codec.h"

namespace morva {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};

class ScopedFd {
 public:
  explicit ScopedFd(int fd) : fd_(fd) {}
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  ~ScopedFd() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool RealPath(const std::string& path, std::string* resolved) {
  std::unique_ptr<char, FreeDeleter> p(realpath(path.c_str(), nullptr));
  if (!p) return false;
  *resolved = p.get();
  return true;
}

// The host path with the links of its directory part resolved, or as it is when that fails.
std::string ResolveDirectoryPart(const std::string& path) {
  if (path == "/") return path;
  const std::size_t slash = path.rfind('/');
  std::string directory = slash == 0 ? "/" : path.substr(0, slash);
  std::string resolved;
  if (!RealPath(directory, &resolved)) return path;
  if (resolved != "/") resolved += '/';
  resolved += path.substr(slash + 1);
  return resolved;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The first byte of a small sysfs attribute file; 0 when it cannot be read.
char ReadFirstByte(const std::string& path) {
  ScopedFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return 0;
  char c = 0;
  if (read(fd.get(), &c, 1) != 1) return 0;
  return c;
}

// Whether the link `link` of the by-label directory leads to the device `mount` was mounted from.
bool LeadsToMountSource(const std::string& link, const MountEntry& mount, const std::string& real_source) {
  struct stat st;
  if (mount.major != 0 && stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) &&
      major(st.st_rdev) == mount.major && minor(st.st_rdev) == mount.minor) {
    return true;
  }
  // Device numbers do not match for every file system (btrfs reports an anonymous device): compare
  // the device node the link leads to with the one the mount names.
  std::string real_link;
  return !real_source.empty() && RealPath(link, &real_link) && real_link == real_source;
}

}  // namespace

std::string UnescapeUdevName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
      const int high = HexDigit(name[i + 2]), low = HexDigit(name[i + 3]);
      if (high >= 0 && low >= 0) {
        out.push_back(static_cast<char>(high * 16 + low));
        i += 3;
        continue;
      }
    }
    out.push_back(name[i]);
  }
  return out;
}

Status ReadVolumeLabel(const HostLocations& locations, TextCodec* codec, std::string_view engine_path,
                       std::string* label) {
  std::string host;
  if (Status s = EngineToHostPath(locations, codec, engine_path, &host); !s.ok()) return s;
  MountTable mounts;
  if (Status s = mounts.Load(locations.mountinfo); !s.ok()) return s;
  label->clear();
  const MountEntry* mount = mounts.FindMountOf(ResolveDirectoryPart(host));
  if (mount == nullptr) return Status::Ok();

  std::unique_ptr<DIR, DirCloser> dir(opendir(locations.disk_by_label.c_str()));
  if (!dir) {
    // Without any labelled file system udev does not create the directory at all.
    if (errno == ENOENT) return Status::Ok();
    return Status::Error(errno, locations.disk_by_label);
  }
  std::string real_source;
  if (!mount->source.empty() && mount->source[0] == '/' && !RealPath(mount->source, &real_source)) {
    real_source.clear();
  }
  // A device has one label, but should two links lead to it the choice must not depend on the
  // directory's order.
  std::string best;
  bool found = false;
  errno = 0;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if ((!found || name < best) && LeadsToMountSource(locations.disk_by_label + "/" + name, *mount, real_source)) {
      best = name;
      found = true;
    }
    errno = 0;
  }
  if (errno != 0) return Status::Error(errno, locations.disk_by_label);
  if (!found) return Status::Ok();

  const std::string utf8 = UnescapeUdevName(best);
  std::string cp932;
  if (Status s = codec->Utf8ToCp932(utf8, &cp932); !s.ok()) return s;
  *label = std::move(cp932);
  return Status::Ok();
}

DriveType DriveTypeOfMount(const HostLocations& locations, const MountEntry& mount) {
  const std::string& type = mount.fs_type;
  if (type == "tmpfs" || type == "ramfs") return DriveType::kRamDisk;
  if (type == "iso9660" || type == "udf") return DriveType::kCdRom;
  if (type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3" || type == "smbfs" ||
      type == "sshfs" || type == "fuse.sshfs") {
    return DriveType::kRemote;
  }
  if (mount.major != 0) {
    // The link of a partition leads into its disk's directory, which holds the flag.
    const std::string device =
        locations.sys_dev_block + "/" + std::to_string(mount.major) + ":" + std::to_string(mount.minor);
    char flag = ReadFirstByte(device + "/removable");
    if (flag == 0) flag = ReadFirstByte(device + "/../removable");
    if (flag == '1') return DriveType::kRemovable;
  }
  return DriveType::kFixed;
}

DriveType ReadDriveType(const HostLocations& locations, TextCodec* codec, std::string_view engine_path) {
  const bool drive = engine_path.size() >= 2 && engine_path[1] == ':' &&
                     ((engine_path[0] >= 'A' && engine_path[0] <= 'Z') ||
                      (engine_path[0] >= 'a' && engine_path[0] <= 'z'));
  if (drive) {
    if (engine_path[0] != 'Z' && engine_path[0] != 'z') return DriveType::kUnknown;
    MountTable mounts;
    const MountEntry* root = nullptr;
    if (mounts.Load(locations.mountinfo).ok()) root = mounts.FindMountOf("/");
    // The host's root always exists, whatever the table says.
    return root != nullptr ? DriveTypeOfMount(locations, *root) : DriveType::kFixed;
  }
  EnginePathParts parts;
  if (!SplitEnginePath(codec, engine_path, &parts).ok() || !parts.unc) return DriveType::kNoRootDir;
  MountTable mounts;
  if (!mounts.Load(locations.mountinfo).ok()) return DriveType::kNoRootDir;
  return mounts.FindShare(parts.server, parts.share) != nullptr ? DriveType::kRemote : DriveType::kNoRootDir;
}

}  // namespace morva
