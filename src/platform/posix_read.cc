// PosixFileSystem: reading a file at chosen offsets (the media readers).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

class PosixReadableFile final : public ReadableFile {
 public:
  PosixReadableFile(ScopedFd fd, std::uint64_t size, std::string host)
      : fd_(std::move(fd)), size_(size), host_(std::move(host)) {}

  std::uint64_t size() const override { return size_; }

  Status Read(std::uint64_t offset, std::size_t n, std::string* data) override {
    return posix::ReadAt(fd_.get(), offset, n, data, host_);
  }

 private:
  ScopedFd fd_;
  std::uint64_t size_;
  std::string host_;
};

}  // namespace

Status PosixFileSystem::OpenRead(std::string_view path, std::unique_ptr<ReadableFile>* file) {
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  // O_NONBLOCK keeps a named pipe from blocking the open; it is refused just below. A link in the last
  // place is followed, as the contract says: reading what it points at changes nothing. O_NOATIME keeps
  // a look at a photo's or a song's tags from moving its last access time, which a timestamp job may be
  // about to read or set; the host allows it on the owner's files only (EPERM otherwise).
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  ScopedFd fd(openat(entry.dir_fd, entry.name.c_str(), kFlags | O_NOATIME));
  if (!fd.valid() && errno == EPERM) fd = ScopedFd(openat(entry.dir_fd, entry.name.c_str(), kFlags));
  if (!fd.valid()) return ErrnoStatus(errno, "open", host);
  struct stat st {};
  if (fstat(fd.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "read", host);
  *file = std::make_unique<PosixReadableFile>(std::move(fd), static_cast<std::uint64_t>(st.st_size), std::move(host));
  return Status::Ok();
}

}  // namespace morva
