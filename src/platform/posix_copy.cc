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
#include <string_view>
#include <vector>

namespace morva::posix {
namespace {

// Errors of copy_file_range that only say the kernel cannot copy between these two files.
bool KernelCopyRefused(int err) { return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

// The bytes a claimed destination holds: random, so that no file another writer puts there matches.
constexpr std::size_t kClaimTokenSize = 16;

void RandomBytes(char* out, std::size_t n) {
  if (getrandom(out, n, GRND_NONBLOCK) == static_cast<ssize_t>(n)) return;
  struct timespec ts {};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  std::uint64_t state = static_cast<std::uint64_t>(ts.tv_nsec) ^ (static_cast<std::uint64_t>(getpid()) << 32) ^
                        reinterpret_cast<std::uintptr_t>(&ts);
  for (std::size_t i = 0; i < n; ++i) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    out[i] = static_cast<char>(state >> 56);
  }
}

// Whether `to` is still the placeholder file holding `token`: a regular file of exactly those bytes.
bool StillClaimed(const EntryRef& to, std::string_view token) {
  ScopedFd fd(openat(to.dir_fd, to.name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
  struct stat st {};
  if (!fd.valid() || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<std::uint64_t>(st.st_size) != token.size()) return false;
  char buffer[kClaimTokenSize + 1];
  ssize_t n;
  do {
    n = pread(fd.get(), buffer, sizeof(buffer), 0);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(token.size()) && std::string_view(buffer, token.size()) == token;
}

// Renames the file `from` to `to` where the file system can neither refuse to replace nor link: the
// name is claimed first by a placeholder file created exclusively, and the rename replaces only that.
// From the claim on, every writer that creates its files exclusively (as this program does) is refused
// the name, so none of its files is ever replaced. The placeholder holds random bytes and is checked
// just before the rename: a writer that opened it without O_EXCL and wrote to it, or put another file
// there, keeps its file and the move fails with EEXIST. What no call of a file system without a
// no-replace rename can close is the moment between that check and the rename: a file written into
// the placeholder, or swapped in for it, right then is lost. The placeholder is closed before the
// rename, as a FUSE file system keeps an open file that is renamed over under a hidden name.
int RenameOverClaimedFile(const EntryRef& from, const EntryRef& to) {
  char token_bytes[kClaimTokenSize];
  RandomBytes(token_bytes, sizeof(token_bytes));
  const std::string_view token(token_bytes, sizeof(token_bytes));
  {
    ScopedFd claim(openat(to.dir_fd, to.name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!claim.valid()) return errno;
    ssize_t n;
    do {
      n = pwrite(claim.get(), token.data(), token.size(), 0);
    } while (n < 0 && errno == EINTR);
    if (n != static_cast<ssize_t>(token.size())) {
      const int err = n < 0 ? errno : EIO;
      claim.reset();
      // Removed only while it still holds what was written of the token (nothing, on a full disk).
      if (StillClaimed(to, token.substr(0, n > 0 ? static_cast<std::size_t>(n) : 0))) {
        unlinkat(to.dir_fd, to.name.c_str(), 0);
      }
      return err;
    }
  }
  if (!StillClaimed(to, token)) return EEXIST;
  if (renameat(from.dir_fd, from.name.c_str(), to.dir_fd, to.name.c_str()) == 0) return 0;
  const int err = errno;
  if (StillClaimed(to, token)) unlinkat(to.dir_fd, to.name.c_str(), 0);
  return err;
}

// Errors with which a rename refuses to put a directory over an empty one.
bool DirectoryReplaceRefused(int err) {
  return err == EPERM || err == EEXIST || err == ENOTEMPTY || err == EBUSY || err == ENOTSUP || err == ENOSYS;
}

// The directory counterpart of RenameOverClaimedFile: the claim is an empty directory made at `to`,
// which a rename may replace by another directory. Its identity (device, inode, change time) is checked
// just before the rename, which leaves the same moment open. A file system that refuses to replace even
// an empty directory (a FAT card through FUSE) gets the name back and a plain rename: it refuses to
// replace whatever can appear there meanwhile too (a file, a directory empty or not), so nothing is
// replaced.
int RenameOverClaimedDirectory(const EntryRef& from, const EntryRef& to) {
  const char* to_name = to.name.c_str();
  if (mkdirat(to.dir_fd, to_name, 0700) != 0) return errno;
  struct stat claimed {};
  if (const int err = StatNoFollow(to, &claimed); err != 0) return err == ENOENT ? EEXIST : err;
  auto still_claimed = [&] {
    struct stat now {};
    return StatNoFollow(to, &now) == 0 && S_ISDIR(now.st_mode) && now.st_dev == claimed.st_dev &&
           now.st_ino == claimed.st_ino && now.st_ctim.tv_sec == claimed.st_ctim.tv_sec &&
           now.st_ctim.tv_nsec == claimed.st_ctim.tv_nsec;
  };
  if (!still_claimed()) return EEXIST;
  if (renameat(from.dir_fd, from.name.c_str(), to.dir_fd, to_name) == 0) return 0;
  const int err = errno;
  // Only an empty directory can be removed: whatever another writer put inside the claim stays.
  if (!still_claimed() || unlinkat(to.dir_fd, to_name, AT_REMOVEDIR) != 0) return EEXIST;
  if (!DirectoryReplaceRefused(err)) return err;
  if (renameat(from.dir_fd, from.name.c_str(), to.dir_fd, to_name) == 0) return 0;
  const int plain_err = errno;
  struct stat st {};
  return StatNoFollow(to, &st) == 0 ? EEXIST : plain_err;
}

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
    return RenameOverClaimedFile(from, to);
  }
  return RenameOverClaimedDirectory(from, to);
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
