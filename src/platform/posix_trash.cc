// PosixFileSystem: deletion into the trash, and whether the trash keeps what it is given.
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;

int ErrnoOf(const GError* error) {
  if (error->domain != G_IO_ERROR) return EIO;
  switch (error->code) {
    case G_IO_ERROR_NOT_FOUND:
      return ENOENT;
    case G_IO_ERROR_PERMISSION_DENIED:
      return EACCES;
    case G_IO_ERROR_NOT_SUPPORTED:
      return ENOTSUP;
    case G_IO_ERROR_NO_SPACE:
      return ENOSPC;
    case G_IO_ERROR_READ_ONLY:
      return EROFS;
    case G_IO_ERROR_BUSY:
      return EBUSY;
    case G_IO_ERROR_TOO_MANY_LINKS:
      return ELOOP;
    case G_IO_ERROR_FILENAME_TOO_LONG:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

bool SameEntry(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether `dir` is a directory this process could put entries in, or, when it does not exist yet, could
// be created with its missing parents (as GIO does on the first deletion into the trash).
bool WritableOrCreatable(std::string dir) {
  while (true) {
    struct stat st {};
    if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode) && access(dir.c_str(), W_OK | X_OK) == 0;
    if (errno != ENOENT || dir == "/") return false;
    dir = posix::HostDirName(dir);
  }
}

}  // namespace

Status PosixFileSystem::Trash(std::string_view path) {
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  if (host == "/") return ErrnoStatus(EPERM, "trash", host);
  struct stat target {};
  if (fstatat(entry.dir_fd, entry.name.c_str(), &target, AT_SYMLINK_NOFOLLOW) != 0) {
    return ErrnoStatus(errno, "lstat", host);
  }
  if (entry.confined) {
    // GIO takes a path and follows the links on its way. It may only be given the path while that leads
    // to the entry the handle, reached without links, found: else a directory swapped for a link would
    // send what the link points at to the trash.
    struct stat by_handle {}, by_path_dir {}, by_path {};
    if (fstat(entry.dir_fd, &by_handle) != 0) return ErrnoStatus(errno, "fstat directory of", host);
    if (stat(posix::HostDirName(host).c_str(), &by_path_dir) != 0 || !SameEntry(by_handle, by_path_dir) ||
        lstat(host.c_str(), &by_path) != 0 || !SameEntry(target, by_path)) {
      return ErrnoStatus(ELOOP, "trash through a changed path", host);
    }
  }
  g_autoptr(GFile) file = g_file_new_for_path(host.c_str());
  g_autoptr(GError) error = nullptr;
  // No fallback to deleting: a file system without a trash keeps the file, and the caller says so.
  if (!g_file_trash(file, nullptr, &error)) {
    return ErrnoStatus(ErrnoOf(error), std::string("trash (") + error->message + ")", host);
  }
  confinement_.Forget(host);
  return Status::Ok();
}

int PosixFileSystem::ProbeRecycleBin() {
  // The home trash, where GIO puts what it is given from the home's file system.
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
