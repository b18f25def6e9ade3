// PosixFileSystem: move, copy, directory creation.
#include <fcntl.h>
#include <stdio.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

// A fresh name for a temporary entry beside `entry` (in the same directory). It only has to be unlikely
// to exist: every use creates it exclusively.
posix::EntryRef TemporaryBeside(const posix::EntryRef& entry) {
  std::uint64_t bits = 0;
  if (getrandom(&bits, sizeof(bits), GRND_NONBLOCK) != static_cast<ssize_t>(sizeof(bits))) {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    bits = static_cast<std::uint64_t>(ts.tv_nsec) ^ (static_cast<std::uint64_t>(getpid()) << 32) ^
           reinterpret_cast<std::uintptr_t>(&ts);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  posix::EntryRef temporary;
  temporary.dir_fd = entry.dir_fd;
  temporary.confined = entry.confined;
  const std::size_t slash = entry.name.rfind('/');
  if (slash != std::string::npos) temporary.name = entry.name.substr(0, slash + 1);
  temporary.name += ".morva-";
  for (int i = 0; i < 16; ++i) temporary.name.push_back(kHex[(bits >> (4 * i)) & 0xF]);
  temporary.name += ".tmp";
  return temporary;
}

int StatNoFollow(const posix::EntryRef& entry, struct stat* st) {
  return fstatat(entry.dir_fd, entry.name.c_str(), st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

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

// Renames `from` to `to` unless `to` exists; 0 or an errno value. A file system that refuses the
// no-replace flag gets a hard link and an unlink for files (the link fails on an existing name), and a
// check just before a plain rename for directories and where hard links are not supported.
int RenameNoReplace(const posix::EntryRef& from, const posix::EntryRef& to) {
  const char* from_name = from.name.c_str();
  const char* to_name = to.name.c_str();
  if (renameat2(from.dir_fd, from_name, to.dir_fd, to_name, RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  if (err != EINVAL && err != ENOSYS) return err;

  struct stat st {};
  if (const int stat_err = StatNoFollow(from, &st); stat_err != 0) return stat_err;
  if (!S_ISDIR(st.st_mode)) {
    if (linkat(from.dir_fd, from_name, to.dir_fd, to_name, 0) == 0) {
      if (unlinkat(from.dir_fd, from_name, 0) == 0) return 0;
      const int unlink_err = errno;
      unlinkat(to.dir_fd, to_name, 0);
      return unlink_err;
    }
    const int link_err = errno;
    if (link_err != EPERM && link_err != ENOTSUP && link_err != EMLINK) return link_err;
  }
  const int to_err = StatNoFollow(to, &st);
  if (to_err == 0) return EEXIST;
  if (to_err != ENOENT) return to_err;
  return renameat(from.dir_fd, from_name, to.dir_fd, to_name) == 0 ? 0 : errno;
}

// `from` and `to` name one entry (a case-only rename on a case-insensitive file system) or two entries
// (hard links of one file, names differing in case on a case-sensitive one). Renaming through a
// temporary name makes the first a real rename; for the second, the last step finds `to` still there
// and everything is put back.
int RenameThroughTemporary(const posix::EntryRef& from, const posix::EntryRef& to) {
  const posix::EntryRef temporary = TemporaryBeside(to);
  if (const int err = RenameNoReplace(from, temporary); err != 0) return err;
  const int err = RenameNoReplace(temporary, to);
  if (err != 0) RenameNoReplace(temporary, from);
  return err;
}

// Copies all data of `in` to `out`, in the kernel when the file systems allow it.
int CopyData(int in, int out) {
  bool kernel_copy = true;
  while (kernel_copy) {
    const ssize_t n = copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
    if (n == 0) return 0;
    if (n > 0) continue;
    if (errno == EINTR) continue;
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
      return errno;
    }
    kernel_copy = false;  // both offsets are still where the copied bytes end
  }
  std::vector<char> buffer(1 << 17);
  while (true) {
    const ssize_t n = read(in, buffer.data(), buffer.size());
    if (n == 0) return 0;
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = write(out, buffer.data() + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      done += w;
    }
  }
}

// Hidden, system and archive travel with a copy, as with the Windows copy; the creation time does not
// (a copy is a new file). Best effort: a file system without user extended attributes loses them.
void CopyDosAttributes(int in, int out) {
  char buffer[256];
  const ssize_t n = fgetxattr(in, kDosAttribXattrName, buffer, sizeof(buffer));
  DosAttrib value;
  if (n <= 0 || !DecodeDosAttrib(std::string_view(buffer, static_cast<std::size_t>(n)), &value)) return;
  if ((value.valid_flags & kDosAttribValidAttributes) == 0) return;
  DosAttrib copy;
  copy.valid_flags = kDosAttribValidAttributes;
  copy.attributes = value.attributes;
  const std::string blob = EncodeDosAttrib(copy);
  fsetxattr(out, kDosAttribXattrName, blob.data(), blob.size(), 0);
}

// The file a copy is written to before it gets its name `to`: an unnamed file where the file system
// offers one, else a file with a temporary name, in the directory of `to`. The destructor removes
// whatever was not published.
class PendingFile {
 public:
  explicit PendingFile(const posix::EntryRef& to) : to_(to) {}
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    fd_.reset();
    if (!temporary_.name.empty()) unlinkat(temporary_.dir_fd, temporary_.name.c_str(), 0);
  }

  int fd() const { return fd_.get(); }

  int Create() {
    const std::string dir = to_.confined ? std::string(".") : posix::HostDirName(to_.name);
    fd_.reset(openat(to_.dir_fd, dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd_.valid()) return 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
      posix::EntryRef candidate = TemporaryBeside(to_);
      fd_.reset(openat(candidate.dir_fd, candidate.name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW,
                       0600));
      if (fd_.valid()) {
        temporary_ = std::move(candidate);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  // Gives the file its name: only when nothing is there, or replacing what is there.
  int Publish(bool replace) {
    if (temporary_.name.empty()) {
      // An unnamed file gets a name by a hard link, which never replaces; replacing goes through a
      // temporary name and a rename.
      const posix::EntryRef target = replace ? TemporaryBeside(to_) : to_;
      if (const int err = LinkUnnamed(target); err != 0) return err;
      if (!replace) return 0;
      temporary_ = target;
    }
    const int err = replace ? (renameat(temporary_.dir_fd, temporary_.name.c_str(), to_.dir_fd, to_.name.c_str()) == 0
                                   ? 0
                                   : errno)
                            : RenameNoReplace(temporary_, to_);
    if (err == 0) temporary_.name.clear();
    return err;
  }

 private:
  int LinkUnnamed(const posix::EntryRef& target) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    if (linkat(AT_FDCWD, self.c_str(), target.dir_fd, target.name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    const int err = errno;
    if (err != ENOENT) return err;
    // Without /proc, a privileged process can still link the descriptor itself.
    return linkat(fd_.get(), "", target.dir_fd, target.name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : err;
  }

  const posix::EntryRef& to_;
  ScopedFd fd_;
  posix::EntryRef temporary_;
};

}  // namespace

Status PosixFileSystem::Move(std::string_view from, std::string_view to) {
  std::string host_from, host_to;
  posix::EntryRef entry_from, entry_to;
  if (Status s = Locate(from, &host_from, &entry_from); !s.ok()) return s;
  if (Status s = Locate(to, &host_to, &entry_to); !s.ok()) return s;
  int err = RenameNoReplace(entry_from, entry_to);
  if (err == EEXIST && (CaseOnlyRename(from, to, host_from, host_to) || SameEntry(entry_from, entry_to))) {
    err = RenameThroughTemporary(entry_from, entry_to);
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

  PendingFile out(entry_to);
  if (const int err = out.Create(); err != 0) return ErrnoStatus(err, "create copy of", host_to);
  if (const int err = CopyData(in.get(), out.fd()); err != 0) return ErrnoStatus(err, "copy data to", host_to);
  CopyDosAttributes(in.get(), out.fd());
  if (fchmod(out.fd(), st.st_mode & 0777) != 0) return ErrnoStatus(errno, "fchmod", host_to);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = st.st_mtim;
  if (futimens(out.fd(), times) != 0) return ErrnoStatus(errno, "futimens", host_to);
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
