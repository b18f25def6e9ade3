// PosixFileSystem: overwriting a file's contents before it is deleted.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"
#include "platform/random_stream.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

// Big enough that a pass costs a few hundred system calls per gigabyte, small enough to stay in cache.
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

// What one pass writes over every byte: random bytes, then at the higher levels the fixed bytes of the
// format-style overwrite (0xE5) and zeros.
enum class Pass { kRandom, kE5, kZero };

// Writes `pass` over the first `size` bytes of `fd` and flushes it to the disk; 0 or an errno value.
int WritePass(int fd, std::uint64_t size, Pass pass, RandomStream& random, std::vector<std::uint8_t>& block) {
  if (pass != Pass::kRandom) std::fill(block.begin(), block.end(), pass == Pass::kE5 ? 0xE5 : 0x00);
  for (std::uint64_t offset = 0; offset < size;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - offset));
    if (pass == Pass::kRandom) random.Fill(std::span(block.data(), n));
    for (std::size_t done = 0; done < n;) {
      const ssize_t w = pwrite(fd, block.data() + done, n - done, static_cast<off_t>(offset + done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      done += static_cast<std::size_t>(w);
    }
    offset += n;
  }
  // Each pass reaches the disk before the next one replaces it in the page cache.
  return fdatasync(fd) == 0 ? 0 : errno;
}

}  // namespace

Status PosixFileSystem::Overwrite(std::string_view path, int level) {
  if (level < 1 || level > 3) return Status::Error(EINVAL, "overwrite level " + std::to_string(level));
  FindData data;
  if (Status s = Stat(path, &data); !s.ok()) return s;
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  // A link's contents are another file's: never written through it.
  if (data.attributes & kAttrReparsePoint) return ErrnoStatus(ELOOP, "overwrite through a link", host);
  if (data.attributes & kAttrDirectory) return ErrnoStatus(EISDIR, "overwrite", host);

  {
    // A file on another mount than its tree's is not deleted afterwards: it must not lose its contents.
    posix::EntryRef located;
    if (Status s = Locate(path, &host, &located); !s.ok()) return s;
    if (Status s = posix::Confinement::CheckOnRootMount(located, host); !s.ok()) return s;
  }
  // Writing needs the read-only attribute gone; the system attribute goes with it, as on Windows, where
  // a system file refuses to be opened for writing. Both stay cleared whatever happens next.
  constexpr std::uint32_t kBlocking = kAttrReadOnly | kAttrSystem;
  if (data.attributes & kBlocking) {
    if (Status s = SetAttributes(path, data.attributes & kAttrSettable & ~kBlocking); !s.ok()) return s;
  }

  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  // O_NOFOLLOW: a link swapped in since the status call is refused, not followed. O_NONBLOCK: a pipe
  // swapped in does not block the open; it is refused just below.
  ScopedFd fd(openat(entry.dir_fd, entry.name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return ErrnoStatus(errno, "open for overwriting", host);
  struct stat st {};
  if (fstat(fd.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "overwrite", host);
  // The contents of a file with another name are that name's too: overwriting them would destroy a file
  // nobody asked to delete (a hard-linked backup of it, say).
  if (st.st_nlink > 1) return ErrnoStatus(EMLINK, "overwrite a file with other names", host);

  RandomStream random;
  if (!random.ok()) return ErrnoStatus(EAGAIN, "random source for overwriting", host);
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, size)));
  const Pass passes[] = {Pass::kRandom, Pass::kE5, Pass::kZero};
  for (int i = 0; i < level; ++i) {
    if (const int err = WritePass(fd.get(), size, passes[i], random, block); err != 0) {
      return ErrnoStatus(err, "overwrite", host);
    }
  }
  // Levels 2 and 3 leave nothing behind, not even the length.
  if (level >= 2 && (ftruncate(fd.get(), 0) != 0 || fsync(fd.get()) != 0)) return ErrnoStatus(errno, "truncate", host);
  return Status::Ok();
}

}  // namespace morva
