#include "platform/posix_trash_can.h"

#include <fcntl.h>
#include <glib.h>
#include <limits.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "platform/posix_copy.h"
#include "platform/posix_mounts.h"

namespace morva::posix {
namespace {

constexpr mode_t kTrashMode = 0700;
constexpr std::string_view kInfoSuffix = ".trashinfo";
// Names tried in a trash before giving up: "name", "name.2", ... A trash holding that many entries of
// one name fails the deletion instead of searching for ever.
constexpr int kMaxNames = 10000;

// Whether the directory `at` can take a new entry from this process.
int Writable(int at) { return faccessat(at, ".", W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno; }

// Opens the directory `name` of `at` (no link followed) as *fd, creating it when it is missing and
// `create` is set. Without `create` a missing directory leaves *fd empty, and the answer is whether it
// could be created. With `own`, a directory that is not this user's is refused (EPERM): another user
// could read what goes into it. 0 or an errno value.
int OpenTrashDir(int at, const char* name, bool create, bool own, ScopedFd* fd) {
  fd->reset(openat(at, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd->valid()) {
    const int err = NoFollowDirectoryError(at, name, errno);
    if (err != ENOENT) return err;
    if (!create) return Writable(at);
    if (mkdirat(at, name, kTrashMode) != 0 && errno != EEXIST) return errno;
    fd->reset(openat(at, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd->valid()) return NoFollowDirectoryError(at, name, errno);
  }
  struct stat st {};
  if (fstat(fd->get(), &st) != 0) return errno;
  if (own && st.st_uid != getuid()) return EPERM;
  return create ? 0 : Writable(fd->get());
}

// The files/ and info/ halves of the trash directory `trash` (empty when, without `create`, it is
// missing but could be created), which must lie on mount `mount`: a rename cannot leave its mount.
int OpenHalves(const ScopedFd& trash, std::uint64_t mount, bool create, TrashCan* can) {
  if (!trash.valid()) return 0;
  if (const int err = OpenTrashDir(trash.get(), "files", create, false, &can->files); err != 0) return err;
  if (const int err = OpenTrashDir(trash.get(), "info", create, false, &can->info); err != 0) return err;
  const int deepest = can->files.valid() ? can->files.get() : trash.get();
  std::uint64_t trash_mount = 0;
  if (const int err = MountIdOf(deepest, "", &trash_mount); err != 0) return err;
  return trash_mount == mount ? 0 : EXDEV;
}

// A file system that loses its files when the machine stops.
bool Throwaway(int fd) {
  struct statfs info {};
  if (fstatfs(fd, &info) != 0) return false;
  return info.f_type == TMPFS_MAGIC || info.f_type == RAMFS_MAGIC;
}

// The trash at the top of the mount holding `dir_fd`.
int FindTopTrash(int dir_fd, std::uint64_t mount, bool create, TrashCan* can) {
  ScopedFd top;
  if (const int err = OpenMountRoot(dir_fd, &top); err != 0) return err;
  // Only a trash someone made there already is used on a file system that forgets.
  const bool may_create = !Throwaway(top.get());
  const std::string uid = std::to_string(getuid());
  ScopedFd trash;
  bool found = false;
  ScopedFd shared(openat(top.get(), ".Trash", O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st {};
  if (shared.valid() && fstat(shared.get(), &st) == 0 && (st.st_mode & S_ISVTX) != 0) {
    // The administrator's trash for everybody; each user has a directory of their own in it.
    const int err = OpenTrashDir(shared.get(), uid.c_str(), create && may_create, true, &trash);
    found = err == 0 && (trash.valid() || may_create);
  }
  if (!found) {
    const std::string own = ".Trash-" + uid;
    const int err = OpenTrashDir(top.get(), own.c_str(), create && may_create, true, &trash);
    if (err != 0) return err == ENOENT || err == ENOTDIR || err == ELOOP || err == EPERM ? ENOTSUP : err;
    if (!trash.valid() && !may_create) return ENOTSUP;
  }
  if (const int err = OpenHalves(trash, mount, create, can); err != 0) return err;
  if (create) return CurrentPathOf(top.get(), &can->top);
  return 0;
}

}  // namespace

Status FindTrashCan(int dir_fd, std::uint64_t mount, bool create, TrashCan* can) {
  // The desktop's own notion of the data home (XDG_DATA_HOME, else ~/.local/share), as its file manager
  // reads it, so that both look at one trash.
  const std::string trash = std::string(g_get_user_data_dir()) + "/Trash";
  // The deepest directory there is on the way to the home trash tells its mount; the rest is created.
  std::string existing = trash;
  std::vector<std::string> missing;
  ScopedFd at;
  while (true) {
    // The person's own path: links in it are followed.
    at.reset(open(existing.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (at.valid()) break;
    if (errno != ENOENT || existing == "/") return ErrnoStatus(errno, "open home trash", existing);
    missing.insert(missing.begin(), std::string(HostBaseName(existing)));
    existing = HostDirName(existing);
  }
  std::uint64_t home_mount = 0;
  if (const int err = MountIdOf(at.get(), "", &home_mount); err != 0) return ErrnoStatus(err, "statx", existing);
  if (home_mount != mount) {
    const int err = FindTopTrash(dir_fd, mount, create, can);
    return err == 0 ? Status::Ok() : Status::Error(err, "the trash at the top of its mount");
  }
  for (const std::string& name : missing) {
    ScopedFd next;
    if (const int err = OpenTrashDir(at.get(), name.c_str(), create, false, &next); err != 0) {
      return ErrnoStatus(err, "home trash", trash);
    }
    if (!next.valid()) return Status::Ok();  // could be created, with everything below it
    at = std::move(next);
  }
  if (const int err = OpenHalves(at, mount, create, can); err != 0) return ErrnoStatus(err, "home trash", trash);
  can->top.clear();
  return Status::Ok();
}

std::string TrashInfoText(std::string_view path, const struct tm& deleted) {
  std::string text = "[Trash Info]\nPath=";
  for (unsigned char c : path) {
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                            c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (unreserved) {
      text.push_back(static_cast<char>(c));
    } else {
      char hex[4];
      std::snprintf(hex, sizeof(hex), "%%%02X", c);
      text += hex;
    }
  }
  char date[64];
  if (std::strftime(date, sizeof(date), "%Y-%m-%dT%H:%M:%S", &deleted) == 0) date[0] = '\0';
  text += "\nDeletionDate=";
  text += date;
  text += "\n";
  return text;
}

namespace {

// The `n`th name tried for `name` in a trash (from 1): the name itself, then "name.2", "name.3", ...,
// cut short (at a UTF-8 character boundary) so that the .trashinfo name still fits in a directory.
std::string TrashName(const std::string& name, int n) {
  const std::string suffix = n == 1 ? std::string() : "." + std::to_string(n);
  std::size_t keep = name.size();
  const std::size_t room = NAME_MAX - kInfoSuffix.size() - suffix.size();
  if (keep > room) {
    keep = room;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  }
  return name.substr(0, keep) + suffix;
}

// Creates the .trashinfo `info_name` exclusively with `text`; removed again when it cannot be written.
int CreateInfo(int info_dir, const std::string& info_name, std::string_view text) {
  ScopedFd fd(openat(info_dir, info_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd.valid()) return errno;
  int err = WriteAll(fd.get(), text);
  if (err == 0 && close(fd.release()) != 0) err = errno;
  if (err != 0) unlinkat(info_dir, info_name.c_str(), 0);
  return err;
}

// What the .trashinfo says of the entry `name` of the directory at `dir_path`.
int InfoText(const std::string& dir_path, const std::string& name, const TrashCan& can, std::string* text) {
  std::string original = dir_path == "/" ? "/" + name : dir_path + "/" + name;
  if (!can.top.empty()) {
    // Relative to the top of the mount, which the entry lies below.
    const std::size_t prefix = can.top == "/" ? 0 : can.top.size();
    if (original.size() <= prefix + 1 || original.compare(0, prefix, can.top, 0, prefix) != 0 || original[prefix] != '/') {
      return EXDEV;
    }
    original.erase(0, prefix + 1);
  }
  const time_t now = time(nullptr);
  struct tm local {};
  if (localtime_r(&now, &local) == nullptr) return EOVERFLOW;
  *text = TrashInfoText(original, local);
  return 0;
}

}  // namespace

Status MoveIntoTrash(int dir_fd, const std::string& name, const TrashCan& can, std::string_view host) {
  std::string dir_path;
  if (const int err = CurrentPathOf(dir_fd, &dir_path); err != 0) return ErrnoStatus(err, "path of directory of", host);
  std::string text;
  if (const int err = InfoText(dir_path, name, can, &text); err != 0) return ErrnoStatus(err, "trash info for", host);
  const EntryRef from{dir_fd, name, true};
  for (int n = 1; n <= kMaxNames; ++n) {
    const std::string trash_name = TrashName(name, n);
    const std::string info_name = trash_name + std::string(kInfoSuffix);
    // The .trashinfo claims the name first; an entry of files/ without one (left by another program)
    // keeps its name too.
    if (const int err = CreateInfo(can.info.get(), info_name, text); err != 0) {
      if (err == EEXIST) continue;
      return ErrnoStatus(err, "create trash info for", host);
    }
    const EntryRef to{can.files.get(), trash_name, true};
    struct stat st {};
    int err = StatNoFollow(to, &st) == 0 ? EEXIST : RenameNoReplace(from, to);
    if (err == 0) {
      std::string dir_after;
      if (CurrentPathOf(dir_fd, &dir_after) == 0 && dir_after == dir_path) return Status::Ok();
      // Moved meanwhile: where the entry was when it went is not known for sure, so it goes back. Should
      // its name have been taken there since, it stays in the trash, which names where its directory
      // was just before.
      if (RenameNoReplace(to, from) != 0) return Status::Ok();
      err = EAGAIN;
    }
    unlinkat(can.info.get(), info_name.c_str(), 0);
    if (err != EEXIST) return ErrnoStatus(err, "move into the trash", host);
  }
  return ErrnoStatus(EEXIST, "no free name in the trash for", host);
}

}  // namespace morva::posix
