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
#include <utility>
#include <vector>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

// A fresh name for a temporary entry in `dir`. It only has to be unlikely to exist: every use creates
// it exclusively.
std::string TemporaryName(const std::string& dir) {
  std::uint64_t bits = 0;
  if (getrandom(&bits, sizeof(bits), GRND_NONBLOCK) != static_cast<ssize_t>(sizeof(bits))) {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    bits = static_cast<std::uint64_t>(ts.tv_nsec) ^ (static_cast<std::uint64_t>(getpid()) << 32) ^
           reinterpret_cast<std::uintptr_t>(&ts);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = dir;
  if (name.empty() || name.back() != '/') name.push_back('/');
  name += ".morva-";
  for (int i = 0; i < 16; ++i) name.push_back(kHex[(bits >> (4 * i)) & 0xF]);
  name += ".tmp";
  return name;
}

bool SameEntry(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return lstat(a.c_str(), &sa) == 0 && lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// Renames `from` to `to` unless `to` exists; 0 or an errno value. A file system that refuses the
// no-replace flag gets a hard link and an unlink for files (the link fails on an existing name), and a
// check just before a plain rename for directories and where hard links are not supported.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  if (err != EINVAL && err != ENOSYS) return err;

  struct stat st {};
  if (lstat(from.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) {
    if (link(from.c_str(), to.c_str()) == 0) {
      if (unlink(from.c_str()) == 0) return 0;
      const int unlink_err = errno;
      unlink(to.c_str());
      return unlink_err;
    }
    const int link_err = errno;
    if (link_err != EPERM && link_err != ENOTSUP && link_err != EMLINK) return link_err;
  }
  if (lstat(to.c_str(), &st) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// `from` and `to` name one entry (a case-only rename on a case-insensitive file system) or two hard
// links of one file. Renaming through a temporary name makes the first a real rename; for the second,
// the last step finds `to` still there and everything is put back.
int RenameThroughTemporary(const std::string& from, const std::string& to) {
  const std::string temporary = TemporaryName(posix::HostDirName(to));
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

// The file a copy is written to before it gets its name: an unnamed file where the file system offers
// one, else a file with a temporary name. The destructor removes whatever was not published.
class PendingFile {
 public:
  explicit PendingFile(std::string dir) : dir_(std::move(dir)) {}
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    fd_.reset();
    if (!temporary_.empty()) unlink(temporary_.c_str());
  }

  int fd() const { return fd_.get(); }

  int Create() {
    fd_.reset(open(dir_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd_.valid()) return 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
      std::string name = TemporaryName(dir_);
      fd_.reset(open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600));
      if (fd_.valid()) {
        temporary_ = std::move(name);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  // Gives the file the name `to`: only when nothing is there, or replacing what is there.
  int Publish(const std::string& to, bool replace) {
    if (temporary_.empty()) {
      // An unnamed file gets a name by a hard link, which never replaces; replacing goes through a
      // temporary name and a rename.
      const std::string target = replace ? TemporaryName(dir_) : to;
      if (const int err = LinkUnnamed(target); err != 0) return err;
      if (!replace) return 0;
      temporary_ = target;
    }
    const int err = replace ? (rename(temporary_.c_str(), to.c_str()) == 0 ? 0 : errno)
                            : RenameNoReplace(temporary_, to);
    if (err == 0) temporary_.clear();
    return err;
  }

 private:
  int LinkUnnamed(const std::string& target) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    const int err = errno;
    if (err != ENOENT) return err;
    // Without /proc, a privileged process can still link the descriptor itself.
    return linkat(fd_.get(), "", AT_FDCWD, target.c_str(), AT_EMPTY_PATH) == 0 ? 0 : err;
  }

  std::string dir_;
  ScopedFd fd_;
  std::string temporary_;
};

}  // namespace

Status PosixFileSystem::Move(std::string_view from, std::string_view to) {
  std::string host_from, host_to;
  if (Status s = ToHostPath(from, &host_from); !s.ok()) return s;
  if (Status s = ToHostPath(to, &host_to); !s.ok()) return s;
  int err = RenameNoReplace(host_from, host_to);
  if (err == EEXIST && SameEntry(host_from, host_to)) err = RenameThroughTemporary(host_from, host_to);
  if (err != 0) return ErrnoStatus(err, "move " + host_from + " to", host_to);
  return Status::Ok();
}

Status PosixFileSystem::Copy(std::string_view from, std::string_view to, bool overwrite) {
  std::string host_from, host_to;
  if (Status s = ToHostPath(from, &host_from); !s.ok()) return s;
  if (Status s = ToHostPath(to, &host_to); !s.ok()) return s;

  // O_NONBLOCK keeps a named pipe from blocking the open; it is refused just below.
  ScopedFd in(open(host_from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!in.valid()) return ErrnoStatus(errno, "open", host_from);
  struct stat st {};
  if (fstat(in.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host_from);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "copy", host_from);

  struct stat existing {};
  if (lstat(host_to.c_str(), &existing) == 0) {
    if (!overwrite) return ErrnoStatus(EEXIST, "copy", host_to);
    // The Windows copy never replaces a read-only file.
    if (!S_ISLNK(existing.st_mode) && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      return ErrnoStatus(EACCES, "copy onto read-only", host_to);
    }
  } else if (errno != ENOENT) {
    return ErrnoStatus(errno, "lstat", host_to);
  }

  PendingFile out(posix::HostDirName(host_to));
  if (const int err = out.Create(); err != 0) return ErrnoStatus(err, "create copy of", host_to);
  if (const int err = CopyData(in.get(), out.fd()); err != 0) return ErrnoStatus(err, "copy data to", host_to);
  CopyDosAttributes(in.get(), out.fd());
  if (fchmod(out.fd(), st.st_mode & 0777) != 0) return ErrnoStatus(errno, "fchmod", host_to);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = st.st_mtim;
  if (futimens(out.fd(), times) != 0) return ErrnoStatus(errno, "futimens", host_to);
  if (const int err = out.Publish(host_to, overwrite); err != 0) return ErrnoStatus(err, "copy to", host_to);
  return Status::Ok();
}

Status PosixFileSystem::CreateDirectory(std::string_view path) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  // The process umask narrows the mode, as for every directory a program creates.
  if (mkdir(host.c_str(), 0777) != 0) return ErrnoStatus(errno, "mkdir", host);
  return Status::Ok();
}

}  // namespace morva
