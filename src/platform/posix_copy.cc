#include "platform/posix_copy.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/ioctl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

namespace morva::posix {
namespace {

// Errors of copy_file_range that only say the kernel cannot copy between these two files.
bool KernelCopyRefused(int err) { return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

}  // namespace

EntryRef TemporaryBeside(const EntryRef& entry) {
  std::uint64_t bits = 0;
  if (getrandom(&bits, sizeof(bits), GRND_NONBLOCK) != static_cast<ssize_t>(sizeof(bits))) {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    bits = static_cast<std::uint64_t>(ts.tv_nsec) ^ (static_cast<std::uint64_t>(getpid()) << 32) ^
           reinterpret_cast<std::uintptr_t>(&ts);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  EntryRef temporary;
  temporary.dir_fd = entry.dir_fd;
  temporary.confined = entry.confined;
  const std::size_t slash = entry.name.rfind('/');
  if (slash != std::string::npos) temporary.name = entry.name.substr(0, slash + 1);
  temporary.name += ".morva-";
  for (int i = 0; i < 16; ++i) temporary.name.push_back(kHex[(bits >> (4 * i)) & 0xF]);
  temporary.name += ".tmp";
  return temporary;
}

int StatNoFollow(const EntryRef& entry, struct stat* st) {
  return fstatat(entry.dir_fd, entry.name.c_str(), st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

int RenameNoReplace(const EntryRef& from, const EntryRef& to) {
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

int RefuseCopyOntoSource(int in, const EntryRef& to) {
  struct stat source {}, existing {};
  if (fstat(in, &source) != 0) return errno;
  const int err = StatNoFollow(to, &existing);
  if (err == ENOENT) return 0;
  if (err != 0) return err;
  return existing.st_dev == source.st_dev && existing.st_ino == source.st_ino ? EINVAL : 0;
}

int CopyData(int in, int out, bool* shared) {
  // A reflink makes the copy in one call whatever the size (btrfs, XFS, bcachefs); ext4 refuses it.
  const bool cloned = ioctl(out, FICLONE, in) == 0;
  if (shared != nullptr) *shared = cloned;
  if (cloned) return 0;
  struct stat st {};
  if (fstat(in, &st) != 0) return errno;
  return CopyRange(in, 0, out, 0, static_cast<std::uint64_t>(st.st_size));
}

int CopyRange(int in, std::uint64_t in_offset, int out, std::uint64_t out_offset, std::uint64_t length) {
  auto in_at = static_cast<off_t>(in_offset);
  auto out_at = static_cast<off_t>(out_offset);
  std::uint64_t left = length;
  while (left > 0) {
    const ssize_t n = copy_file_range(in, &in_at, out, &out_at, static_cast<std::size_t>(std::min<std::uint64_t>(left, 1 << 30)), 0);
    if (n > 0) {
      left -= static_cast<std::uint64_t>(n);
      continue;
    }
    if (n == 0) return 0;  // the source ended early: what is there has been copied
    if (errno == EINTR) continue;
    if (!KernelCopyRefused(errno)) return errno;
    break;  // both offsets are still where the copied bytes end
  }
  std::vector<char> buffer(left > 0 ? std::size_t{1} << 17 : 0);
  while (left > 0) {
    const ssize_t n = pread(in, buffer.data(), static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size())), in_at);
    if (n == 0) return 0;
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = pwrite(out, buffer.data() + done, static_cast<std::size_t>(n - done), out_at);
      if (w < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      done += w;
      out_at += w;
    }
    in_at += n;
    left -= static_cast<std::uint64_t>(n);
  }
  return 0;
}

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

PendingFile::~PendingFile() {
  fd_.reset();
  if (!temporary_.name.empty()) unlinkat(temporary_.dir_fd, temporary_.name.c_str(), 0);
}

int PendingFile::Create(int access) {
  const std::string dir = to_.confined ? std::string(".") : HostDirName(to_.name);
  fd_.reset(openat(to_.dir_fd, dir.c_str(), O_TMPFILE | access | O_CLOEXEC, 0600));
  if (fd_.valid()) return 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    EntryRef candidate = TemporaryBeside(to_);
    fd_.reset(openat(candidate.dir_fd, candidate.name.c_str(), O_CREAT | O_EXCL | access | O_CLOEXEC | O_NOFOLLOW,
                     0600));
    if (fd_.valid()) {
      temporary_ = std::move(candidate);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

int PendingFile::Publish(bool replace) {
  if (temporary_.name.empty()) {
    // An unnamed file gets a name by a hard link, which never replaces; replacing goes through a
    // temporary name and a rename.
    const EntryRef target = replace ? TemporaryBeside(to_) : to_;
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

int PendingFile::LinkUnnamed(const EntryRef& target) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
  if (linkat(AT_FDCWD, self.c_str(), target.dir_fd, target.name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  const int err = errno;
  if (err != ENOENT) return err;
  // Without /proc, a privileged process can still link the descriptor itself.
  return linkat(fd_.get(), "", target.dir_fd, target.name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : err;
}

}  // namespace morva::posix
