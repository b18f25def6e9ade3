// PosixFileSystem: move, copy, directory creation.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/move_temporary.h"
#include "platform/posix_copy.h"
#include "platform/posix_file_system.h"
#include "platform/posix_mounts.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::RenameNoReplace;
using posix::ScopedFd;
using posix::StatNoFollow;

bool SameEntry(const posix::EntryRef& a, const posix::EntryRef& b) {
  struct stat sa {}, sb {};
  return StatNoFollow(a, &sa) == 0 && StatNoFollow(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The last component of an engine path: what follows its last '\' or '/' that is no trail byte.
std::string_view EngineBaseName(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = cp932::CharLengthAt(path, i);
    if (length == 1 && (path[i] == '\\' || path[i] == '/')) start = i + 1;
    i += length == 0 ? 1 : length;
  }
  return path.substr(start);
}

// Whether `from` and `to` name one directory's entries whose names differ in letter case only. A file
// system that ignores case finds `from` under the name `to`, and need not say so by its inode numbers
// (a FUSE file system makes up a new one for every name it is asked about).
bool CaseOnlyRename(std::string_view from, std::string_view to, const std::string& host_from,
                    const std::string& host_to) {
  if (posix::HostDirName(host_from) != posix::HostDirName(host_to)) return false;
  const std::string_view from_name = EngineBaseName(from);
  const std::string_view to_name = EngineBaseName(to);
  return from_name != to_name && cp932::CompareIgnoreCase(from_name, to_name) == 0;
}

// `from` and `to` name one entry (a case-only rename on a case-insensitive file system) or two entries
// (hard links of one file, names differing in case on a case-sensitive one). Renaming through a
// temporary name makes the first a real rename; for the second, the last step finds `to` still there
// and everything is put back. The temporary name is the one MoveTemporaryName gives for `to_path`, so
// that a journal can find an entry left under it by a process killed between the two steps.
int RenameThroughTemporary(const posix::EntryRef& from, const posix::EntryRef& to, std::string_view to_path) {
  posix::EntryRef temporary = to;
  const std::size_t slash = to.name.rfind('/');
  temporary.name = (slash == std::string::npos ? std::string() : to.name.substr(0, slash + 1)) +
                   MoveTemporaryName(to_path);
  if (const int err = RenameNoReplace(from, temporary); err != 0) return err;
  const int err = RenameNoReplace(temporary, to);
  if (err != 0) RenameNoReplace(temporary, from);
  return err;
}

// fusefat, the FUSE driver of FAT images, loses whatever a directory holds when it renames the directory:
// the entries are gone from it at once and, after a remount, from the disk. No other driver is known to.
constexpr std::string_view kLosesRenamedDirectoryContents = "fuse.fusefat";

// EOPNOTSUPP when `from` is a directory with something in it on a file system that would lose that by
// the move; 0 otherwise (a file, an empty directory, or nothing there: the rename itself tells).
int RefuseMoveLosingContents(const posix::EntryRef& from) {
  ScopedFd dir(openat(from.dir_fd, from.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!dir.valid()) return 0;
  std::string type;
  if (posix::FileSystemTypeOf(dir.get(), &type) != 0 || type != kLosesRenamedDirectoryContents) return 0;
  struct CloseDir {
    void operator()(DIR* d) const { closedir(d); }
  };
  const std::unique_ptr<DIR, CloseDir> listing(fdopendir(dir.get()));
  if (listing == nullptr) return errno;
  dir.release();  // the listing owns it now
  while (const struct dirent* entry = readdir(listing.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") return EOPNOTSUPP;
  }
  return 0;
}

}  // namespace

Status PosixFileSystem::Move(std::string_view from, std::string_view to) {
  std::string host_from, host_to;
  posix::EntryRef entry_from, entry_to;
  if (Status s = Locate(from, &host_from, &entry_from); !s.ok()) return s;
  if (Status s = Locate(to, &host_to, &entry_to); !s.ok()) return s;
  if (const int refused = RefuseMoveLosingContents(entry_from); refused != 0) {
    return ErrnoStatus(refused, "move (this file system would lose what the directory holds)", host_from);
  }
  int err = RenameNoReplace(entry_from, entry_to);
  if (err == EEXIST && (CaseOnlyRename(from, to, host_from, host_to) || SameEntry(entry_from, entry_to))) {
    err = RenameThroughTemporary(entry_from, entry_to, to);
  }
  if (err != 0) return ErrnoStatus(err, "move " + host_from + " to", host_to);
  // Handles kept for the old place of a directory would now answer for paths that name nothing there.
  confinement_.Forget(host_from);
  confinement_.Forget(host_to);
  return Status::Ok();
}

Status PosixFileSystem::Copy(std::string_view from, std::string_view to, bool overwrite) {
  std::string host_from, host_to;
  posix::EntryRef entry_from, entry_to;
  if (Status s = Locate(from, &host_from, &entry_from); !s.ok()) return s;
  if (Status s = Locate(to, &host_to, &entry_to); !s.ok()) return s;

  // O_NONBLOCK keeps a named pipe from blocking the open; it is refused just below. Below a root a link
  // is an entry of its own, which is not copied through.
  const int no_follow = entry_from.confined ? O_NOFOLLOW : 0;
  ScopedFd in(openat(entry_from.dir_fd, entry_from.name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | no_follow));
  if (!in.valid()) return ErrnoStatus(errno, "open", host_from);
  struct stat st {};
  if (fstat(in.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host_from);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "copy", host_from);

  // Checked first, so that no other refusal hides it, and again at the end.
  if (const int err = posix::RefuseCopyOntoSource(in.get(), entry_to); err != 0) {
    return ErrnoStatus(err, "copy " + host_from + " onto itself as", host_to);
  }
  struct stat existing {};
  if (const int err = StatNoFollow(entry_to, &existing); err == 0) {
    if (!overwrite) return ErrnoStatus(EEXIST, "copy", host_to);
    // The Windows copy never replaces a read-only file.
    if (!S_ISLNK(existing.st_mode) && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      return ErrnoStatus(EACCES, "copy onto read-only", host_to);
    }
  } else if (err != ENOENT) {
    return ErrnoStatus(err, "lstat", host_to);
  }

  posix::PendingFile out(entry_to);
  if (const int err = out.Create(O_WRONLY); err != 0) return ErrnoStatus(err, "create copy of", host_to);
  if (const int err = posix::CopyData(in.get(), out.fd()); err != 0) return ErrnoStatus(err, "copy data to", host_to);
  posix::CopyDosAttributes(in.get(), out.fd());
  if (fchmod(out.fd(), st.st_mode & 0777) != 0) return ErrnoStatus(errno, "fchmod", host_to);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = st.st_mtim;
  if (futimens(out.fd(), times) != 0) return ErrnoStatus(errno, "futimens", host_to);
  // The name may have been given to the source meanwhile (a hard link made while the data was copied).
  if (const int err = posix::RefuseCopyOntoSource(in.get(), entry_to); err != 0) {
    return ErrnoStatus(err, "copy " + host_from + " onto itself as", host_to);
  }
  if (const int err = out.Publish(overwrite); err != 0) return ErrnoStatus(err, "copy to", host_to);
  return Status::Ok();
}

Status PosixFileSystem::CreateDirectory(std::string_view path) {
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  // The process umask narrows the mode, as for every directory a program creates.
  if (mkdirat(entry.dir_fd, entry.name.c_str(), 0777) != 0) return ErrnoStatus(errno, "mkdir", host);
  return Status::Ok();
}

Status PosixFileSystem::Locate(std::string_view path, std::string* host, posix::EntryRef* entry) {
  if (Status s = ToHostPath(path, host); !s.ok()) return s;
  return confinement_.Locate(*host, entry);
}

void PosixFileSystem::ConfineTo(const std::vector<std::string>& roots) {
  std::vector<std::string> host_roots;
  host_roots.reserve(roots.size());
  std::string host;
  for (const std::string& root : roots) {
    // A root the host cannot map has no path below it that could be reached either.
    if (ToHostPath(root, &host).ok()) host_roots.push_back(host);
  }
  confinement_.Begin(host_roots);
}

void PosixFileSystem::EndConfinement() { confinement_.End(); }

}  // namespace morva
