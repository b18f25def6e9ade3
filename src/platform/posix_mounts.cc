#include "platform/posix_mounts.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/mount_table.h"

namespace morva::posix {
namespace {

// Bounds the climb to a mount's root: far above any real depth, only a guard against a damaged tree.
constexpr int kMaxClimb = 4096;

int Statx(int dir_fd, const char* name, unsigned int mask, struct statx* st) {
  const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | (name[0] == '\0' ? AT_EMPTY_PATH : 0);
  return statx(dir_fd, name, flags, mask, st) == 0 ? 0 : errno;
}

// The mount id a descriptor's fdinfo gives, for kernels whose statx does not (before Linux 5.8).
int MountIdFromFdinfo(int fd, std::uint64_t* id) {
  const std::string info = "/proc/self/fdinfo/" + std::to_string(fd);
  std::FILE* f = std::fopen(info.c_str(), "re");
  if (f == nullptr) return errno;
  char line[256];
  int err = ENOTSUP;
  while (std::fgets(line, sizeof(line), f) != nullptr) {
    unsigned long long value = 0;
    if (std::sscanf(line, "mnt_id: %llu", &value) == 1) {
      *id = value;
      err = 0;
      break;
    }
  }
  std::fclose(f);
  return err;
}

}  // namespace

int MountIdOf(int dir_fd, const char* name, std::uint64_t* id) {
  struct statx st {};
  if (const int err = Statx(dir_fd, name, STATX_TYPE | STATX_MNT_ID, &st); err != 0) return err;
  if (st.stx_mask & STATX_MNT_ID) {
    *id = st.stx_mnt_id;
    return 0;
  }
  if (name[0] == '\0') return MountIdFromFdinfo(dir_fd, id);
  ScopedFd fd(openat(dir_fd, name, O_PATH | O_NOFOLLOW | O_CLOEXEC));
  if (!fd.valid()) return errno;
  return MountIdFromFdinfo(fd.get(), id);
}

int IsMountRoot(int dir_fd, const char* name, bool* root) {
  struct statx st {};
  if (const int err = Statx(dir_fd, name, STATX_TYPE, &st); err != 0) return err;
  if (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) {
    *root = (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    return 0;
  }
  // Without the attribute (before Linux 5.8): the entry's mount differs from its directory's.
  std::uint64_t inner = 0, outer = 0;
  if (const int err = MountIdOf(dir_fd, name, &inner); err != 0) return err;
  if (const int err = MountIdOf(dir_fd, "", &outer); err != 0) return err;
  *root = inner != outer;
  return 0;
}

int OpenMountRoot(int dir_fd, ScopedFd* root) {
  ScopedFd current(openat(dir_fd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!current.valid()) return errno;
  std::uint64_t mount = 0;
  if (const int err = MountIdOf(current.get(), "", &mount); err != 0) return err;
  for (int climbed = 0; climbed < kMaxClimb; ++climbed) {
    // ".." of a mount's root is the directory it is mounted on, in the mount below.
    ScopedFd up(openat(current.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!up.valid()) return errno;
    struct stat here {}, above {};
    if (fstat(current.get(), &here) != 0 || fstat(up.get(), &above) != 0) return errno;
    std::uint64_t up_mount = 0;
    if (const int err = MountIdOf(up.get(), "", &up_mount); err != 0) return err;
    // Another mount above, or the root of the namespace, whose ".." is itself.
    if (up_mount != mount || (here.st_dev == above.st_dev && here.st_ino == above.st_ino)) {
      *root = std::move(current);
      return 0;
    }
    current = std::move(up);
  }
  return ELOOP;
}

int HoldsMount(int dir_fd, const std::string& name, bool* holds) {
  std::string path;
  if (const int err = CurrentPathOf(dir_fd, &path); err != 0) return err;
  if (path != "/") path += "/";
  path += name + "/";
  MountTable table;
  if (Status s = table.Load("/proc/self/mountinfo"); !s.ok()) return s.code();
  *holds = false;
  for (const MountEntry& mount : table.entries()) {
    if (mount.mount_point.compare(0, path.size(), path) == 0) *holds = true;
  }
  return 0;
}

int FileSystemTypeOf(int dir_fd, std::string* type) {
  std::uint64_t id = 0;
  if (const int err = MountIdOf(dir_fd, "", &id); err != 0) return err;
  MountTable table;
  if (Status s = table.Load("/proc/self/mountinfo"); !s.ok()) return s.code();
  for (const MountEntry& mount : table.entries()) {
    if (static_cast<std::uint64_t>(mount.mount_id) == id) {
      *type = mount.fs_type;
      return 0;
    }
  }
  return ENOENT;
}

int CurrentPathOf(int dir_fd, std::string* path) {
  const std::string link = "/proc/self/fd/" + std::to_string(dir_fd);
  char buffer[PATH_MAX + 1];
  const ssize_t n = readlink(link.c_str(), buffer, sizeof(buffer));
  if (n < 0) return errno;
  if (static_cast<std::size_t>(n) >= sizeof(buffer)) return ENAMETOOLONG;
  path->assign(buffer, static_cast<std::size_t>(n));
  // The kernel marks a removed directory; a path that does not start at the root is not reachable.
  constexpr std::string_view kDeleted = " (deleted)";
  if (path->empty() || (*path)[0] != '/') return ENOENT;
  if (path->size() > kDeleted.size() && path->compare(path->size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0) {
    struct stat st {};
    if (fstat(dir_fd, &st) == 0 && st.st_nlink == 0) return ENOENT;
  }
  return 0;
}

}  // namespace morva::posix
