// PosixFileSystem: deletion into the trash, and whether the trash keeps what it is given.
#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/posix_file_system.h"
#include "platform/posix_mounts.h"
#include "platform/posix_trash_can.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

// Whether `dir` is a directory this process could put entries in, or, when it does not exist yet, could
// be created with its missing parents (as the first deletion into the trash does).
bool WritableOrCreatable(std::string dir) {
  while (true) {
    struct stat st {};
    if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode) && access(dir.c_str(), W_OK | X_OK) == 0;
    if (errno != ENOENT || dir == "/") return false;
    dir = posix::HostDirName(dir);
  }
}

// An entry as the *at calls reach it: below a root the located directory handle and name; elsewhere the
// entry's directory opened by its path (links in it followed, as in any path a person names) and the
// last component.
struct HeldEntry {
  ScopedFd own_dir;
  posix::EntryRef ref;
};

Status Hold(const std::string& host, const posix::EntryRef& located, HeldEntry* held) {
  held->ref = located;
  if (located.confined) return Status::Ok();
  const std::string dir = posix::HostDirName(host);
  held->own_dir.reset(open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!held->own_dir.valid()) return ErrnoStatus(errno, "open", dir);
  held->ref.dir_fd = held->own_dir.get();
  held->ref.name = std::string(posix::HostBaseName(host));
  return Status::Ok();
}

// EBUSY for a directory with a file system mounted somewhere below it: moved into the trash it would
// carry the mount along, and a permanent deletion keeps the mount point and the directories above it.
Status RefuseHeldMount(const posix::EntryRef& entry, const std::string& host) {
  struct stat st {};
  if (fstatat(entry.dir_fd, entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)) {
    return Status::Ok();
  }
  bool holds = false;
  if (const int err = posix::HoldsMount(entry.dir_fd, entry.name, &holds); err != 0) {
    return ErrnoStatus(err, "mounts below", host);
  }
  return holds ? ErrnoStatus(EBUSY, "a file system is mounted below", host) : Status::Ok();
}

// The trash that takes the held entry: the home trash when it is on the entry's mount, else the one at
// the top of that mount, made there when `create` (a probe creates nothing).
Status TrashCanFor(const posix::EntryRef& entry, const std::string& host, bool create, posix::TrashCan* can) {
  std::uint64_t mount = 0;
  if (const int err = posix::MountIdOf(entry.dir_fd, entry.name.c_str(), &mount); err != 0) {
    return ErrnoStatus(err, "statx", host);
  }
  if (Status s = posix::FindTrashCan(entry.dir_fd, mount, create, can); !s.ok()) {
    return Status::Error(s.code(), "trash " + host + ": " + s.context());
  }
  return Status::Ok();
}

}  // namespace

Status PosixFileSystem::Trash(std::string_view path) {
  std::string host;
  posix::EntryRef located;
  if (Status s = Locate(path, &host, &located); !s.ok()) return s;
  if (host == "/") return ErrnoStatus(EPERM, "trash", host);
  HeldEntry held;
  if (Status s = Hold(host, located, &held); !s.ok()) return s;
  const posix::EntryRef& entry = held.ref;
  if (Status s = posix::Confinement::CheckOnRootMount(entry, host); !s.ok()) return s;
  if (Status s = RefuseHeldMount(entry, host); !s.ok()) return s;
  // The entry goes by a rename from the directory handle that found it: no path is walked again, so a
  // directory swapped for a link meanwhile sends nothing it points at to the trash. Nothing is copied:
  // an entry without a trash on its own mount stays where it is.
  posix::TrashCan can;
  if (Status s = TrashCanFor(entry, host, true, &can); !s.ok()) return s;
  if (Status s = posix::MoveIntoTrash(entry.dir_fd, entry.name, can, host); !s.ok()) return s;
  confinement_.Forget(host);
  return Status::Ok();
}

Status PosixFileSystem::ProbeDeletion(std::string_view path, bool into_trash) {
  std::string host;
  posix::EntryRef located;
  if (Status s = Locate(path, &host, &located); !s.ok()) return s;
  if (host == "/") return ErrnoStatus(EPERM, "delete", host);
  HeldEntry held;
  if (Status s = Hold(host, located, &held); !s.ok()) return s;
  const posix::EntryRef& entry = held.ref;
  struct stat st {};
  if (fstatat(entry.dir_fd, entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return ErrnoStatus(errno, "lstat", host);
  if (!into_trash && S_ISDIR(st.st_mode)) {
    bool mount_root = false;
    if (const int err = posix::IsMountRoot(entry.dir_fd, entry.name.c_str(), &mount_root); err != 0) {
      return ErrnoStatus(err, "statx", host);
    }
    if (mount_root) return ErrnoStatus(EBUSY, "delete mount point", host);
  }
  if (Status s = posix::Confinement::CheckOnRootMount(entry, host); !s.ok()) return s;
  if (S_ISDIR(st.st_mode)) {
    if (Status s = RefuseHeldMount(entry, host); !s.ok()) return s;
  }
  if (!into_trash) return Status::Ok();
  posix::TrashCan can;
  return TrashCanFor(entry, host, false, &can);
}

int PosixFileSystem::ProbeRecycleBin() {
  // The home trash, which takes what is deleted from the home's mount.
  const std::string trash = std::string(g_get_user_data_dir()) + "/Trash";
  if (!WritableOrCreatable(trash)) return -1;
  for (const char* part : {"/files", "/info"}) {
    struct stat st {};
    const std::string sub = trash + part;
    if (stat(sub.c_str(), &st) == 0 && !(S_ISDIR(st.st_mode) && access(sub.c_str(), W_OK | X_OK) == 0)) return -1;
  }
  return 1;
}

}  // namespace morva
