// PosixFileSystem: appending to a file (the conversion log).
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

class PosixAppendFile final : public AppendFile {
 public:
  PosixAppendFile(ScopedFd fd, std::string host) : fd_(std::move(fd)), host_(std::move(host)) {}

  Status Append(std::string_view data) override {
    while (!data.empty()) {
      const ssize_t n = write(fd_.get(), data.data(), data.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return ErrnoStatus(errno, "append to", host_);
      }
      if (n == 0) return ErrnoStatus(EIO, "append to", host_);
      data.remove_prefix(static_cast<std::size_t>(n));
    }
    return Status::Ok();
  }

  Status Describe(std::uint64_t* size, FileIdentity* identity) override {
    struct stat st {};
    if (fstat(fd_.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host_);
    *size = static_cast<std::uint64_t>(st.st_size);
    identity->device = st.st_dev;
    identity->inode = st.st_ino;
    return Status::Ok();
  }

 private:
  ScopedFd fd_;
  std::string host_;
};

}  // namespace

Status PosixFileSystem::OpenAppend(std::string_view path, std::unique_ptr<AppendFile>* file) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  // O_NONBLOCK keeps a named pipe from blocking the open; it is refused just below and cleared for a
  // regular file, where it means nothing anyway.
  ScopedFd fd(open(host.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
  if (!fd.valid()) return ErrnoStatus(errno, "open", host);
  struct stat st {};
  if (fstat(fd.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "append to", host);
  *file = std::make_unique<PosixAppendFile>(std::move(fd), std::move(host));
  return Status::Ok();
}

}  // namespace morva
