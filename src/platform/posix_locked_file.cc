// PosixFileSystem: the locked, memory-mapped file that the log keeps beside it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

class PosixLockedFile final : public LockedFile {
 public:
  PosixLockedFile(ScopedFd fd, void* map, std::size_t size) : fd_(std::move(fd)), map_(map), size_(size) {}
  ~PosixLockedFile() override {
    if (map_ != nullptr) munmap(map_, size_);
    // Closing the descriptor releases the lock.
  }

  std::span<char> bytes() override {
    return map_ == nullptr ? std::span<char>() : std::span<char>(static_cast<char*>(map_), size_);
  }

 private:
  ScopedFd fd_;
  void* map_;
  std::size_t size_;
};

// Makes sure the first `size` bytes of the file have blocks on the disk, so that a store into the
// mapping can never meet a full disk (which would kill the process with SIGBUS). 0 or an errno value.
int ReserveBlocks(int fd, std::size_t size) {
  const int err = posix_fallocate(fd, 0, static_cast<off_t>(size));
  if (err == 0) return 0;
  if (err != EOPNOTSUPP && err != ENOSYS && err != EINVAL) return err;
  // A file system without fallocate: write the zeros (only past what is there already).
  struct stat st {};
  if (fstat(fd, &st) != 0) return errno;
  if (static_cast<std::size_t>(st.st_size) >= size) return 0;
  const std::vector<char> zeros(size - static_cast<std::size_t>(st.st_size), 0);
  std::size_t done = 0;
  while (done < zeros.size()) {
    const ssize_t n = pwrite(fd, zeros.data() + done, zeros.size() - done, st.st_size + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(n);
  }
  return fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

Status PosixFileSystem::OpenLockedFile(std::string_view path, std::size_t map_size, bool wait,
                                       std::unique_ptr<LockedFile>* file) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  ScopedFd fd(open(host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK, 0666));
  if (!fd.valid()) return ErrnoStatus(errno, "open", host);
  struct stat st {};
  if (fstat(fd.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "lock", host);
  while (flock(fd.get(), LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
    if (errno == EINTR) continue;
    return ErrnoStatus(errno, "lock", host);
  }
  void* map = nullptr;
  if (map_size > 0 && ReserveBlocks(fd.get(), map_size) == 0) {
    map = mmap(nullptr, map_size, PROT_READ | PROT_WRITE, MAP_SHARED, fd.get(), 0);
    if (map == MAP_FAILED) map = nullptr;
  }
  *file = std::make_unique<PosixLockedFile>(std::move(fd), map, map == nullptr ? 0 : map_size);
  return Status::Ok();
}

}  // namespace morva
