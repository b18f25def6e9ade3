// PosixFileSystem: reading and replacing whole files (settings, presets, the log's trimmed copy).
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;
using posix::WriteAll;

// A name in `dir` for the new contents before they replace the file. Created exclusively, so it only
// has to be unlikely to exist.
std::string TemporaryNameIn(const std::string& dir) {
  std::uint64_t bits = 0;
  if (getrandom(&bits, sizeof(bits), GRND_NONBLOCK) != static_cast<ssize_t>(sizeof(bits))) {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    bits = static_cast<std::uint64_t>(ts.tv_nsec) ^ (static_cast<std::uint64_t>(getpid()) << 32);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = dir;
  if (name.empty() || name.back() != '/') name.push_back('/');
  name += ".morva-write-";
  for (int i = 0; i < 16; ++i) name.push_back(kHex[(bits >> (4 * i)) & 0xF]);
  name += ".tmp";
  return name;
}

// The temporary file of one WriteFile: removed when it goes out of scope unless it replaced the file.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    fd_.reset();
    if (!path_.empty()) unlink(path_.c_str());
  }

  // 0 or an errno value.
  int Create(const std::string& dir) {
    for (int attempt = 0; attempt < 16; ++attempt) {
      std::string name = TemporaryNameIn(dir);
      // 0666: the umask narrows it, as for every file a program creates.
      fd_.reset(open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666));
      if (fd_.valid()) {
        path_ = std::move(name);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  int fd() const { return fd_.get(); }
  const std::string& path() const { return path_; }

  // Closes the descriptor; 0 or an errno value (a delayed write error shows up here).
  int Close() { return ::close(fd_.release()) == 0 ? 0 : errno; }

  // The file now has its final name: nothing to remove.
  void Release() { path_.clear(); }

 private:
  ScopedFd fd_;
  std::string path_;
};

// A ReplacementFile: writes through a buffer into its temporary file, which Commit renames over the file.
class PosixReplacementFile final : public ReplacementFile {
 public:
  PosixReplacementFile(ScopedFd fd, std::string temporary, std::string target)
      : fd_(std::move(fd)), temporary_(std::move(temporary)), target_(std::move(target)) {
    buffer_.reserve(kBufferSize);
  }
  ~PosixReplacementFile() override {
    fd_.reset();
    if (!temporary_.empty()) unlink(temporary_.c_str());
  }

  int fd() const { return fd_.get(); }

  Status Append(std::string_view data) override {
    if (error_ != 0) return ErrnoStatus(error_, "write", temporary_);
    if (buffer_.size() + data.size() > kBufferSize) {
      if (!Drain()) return ErrnoStatus(error_, "write", temporary_);
      if (data.size() >= kBufferSize) {
        if ((error_ = WriteAll(fd_.get(), data)) != 0) return ErrnoStatus(error_, "write", temporary_);
        return Status::Ok();
      }
    }
    buffer_.append(data);
    return Status::Ok();
  }

  Status Commit() override {
    if (temporary_.empty()) return ErrnoStatus(EINVAL, "commit", target_);
    if (!Drain()) return ErrnoStatus(error_, "write", temporary_);
    // The data must be on the disk before the name points at it, or a crash could leave an empty file
    // where the old one was.
    if (fsync(fd_.get()) != 0) return ErrnoStatus(errno, "fsync", temporary_);
    if (::close(fd_.release()) != 0) return ErrnoStatus(errno, "close", temporary_);
    if (rename(temporary_.c_str(), target_.c_str()) != 0) return ErrnoStatus(errno, "rename", target_);
    temporary_.clear();
    ScopedFd dir_fd(open(posix::HostDirName(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir_fd.valid()) fsync(dir_fd.get());
    return Status::Ok();
  }

 private:
  static constexpr std::size_t kBufferSize = 1 << 20;

  bool Drain() {
    if (error_ == 0) error_ = WriteAll(fd_.get(), buffer_);
    buffer_.clear();
    return error_ == 0;
  }

  ScopedFd fd_;
  std::string temporary_;
  std::string target_;
  std::string buffer_;
  int error_ = 0;
};

}  // namespace

Status PosixFileSystem::OpenReplacement(std::string_view path, std::string_view temporary_name,
                                        std::unique_ptr<ReplacementFile>* file) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  if (temporary_name.empty() || temporary_name.find('/') != std::string_view::npos) {
    return ErrnoStatus(EINVAL, "temporary name for", host);
  }
  struct stat old {};
  if (lstat(host.c_str(), &old) != 0) return ErrnoStatus(errno, "lstat", host);
  if (!S_ISREG(old.st_mode)) return ErrnoStatus(S_ISDIR(old.st_mode) ? EISDIR : EINVAL, "replace", host);
  if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return ErrnoStatus(EACCES, "replace read-only", host);

  std::string temporary = posix::HostDirName(host);
  if (temporary.back() != '/') temporary.push_back('/');
  std::string utf8_name;
  if (Status s = codec_->Cp932ToUtf8(temporary_name, &utf8_name); !s.ok()) return s;
  temporary += utf8_name;
  // A file of that name can only be what a killed replacement left: the callers hold the lock that
  // keeps two replacements of one file apart.
  if (unlink(temporary.c_str()) != 0 && errno != ENOENT) return ErrnoStatus(errno, "remove", temporary);
  ScopedFd fd(open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd.valid()) return ErrnoStatus(errno, "create", temporary);
  auto replacement = std::make_unique<PosixReplacementFile>(std::move(fd), temporary, host);
  // The new file takes the old one's place for every reader, so it keeps its owner and permissions; a
  // process that cannot give it the owner does not replace the file.
  const int out = replacement->fd();
  struct stat now {};
  if (fstat(out, &now) != 0) return ErrnoStatus(errno, "fstat", temporary);
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && fchown(out, old.st_uid, old.st_gid) != 0) {
    return ErrnoStatus(EPERM, "keep the owner of", host);
  }
  if (fchmod(out, old.st_mode & 07777) != 0) return ErrnoStatus(errno, "fchmod", temporary);
  *file = std::move(replacement);
  return Status::Ok();
}

Status PosixFileSystem::RemoveFile(std::string_view path) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return ErrnoStatus(errno, "lstat", host);
  if (S_ISDIR(st.st_mode)) return ErrnoStatus(EISDIR, "remove", host);
  if (unlink(host.c_str()) != 0) return ErrnoStatus(errno, "remove", host);
  return Status::Ok();
}

Status PosixFileSystem::ReadFile(std::string_view path, std::uint64_t max_size, std::string* data) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  // O_NONBLOCK keeps a named pipe from blocking the open; it is refused just below.
  ScopedFd fd(open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd.valid()) return ErrnoStatus(errno, "open", host);
  struct stat st {};
  if (fstat(fd.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "read", host);
  if (static_cast<std::uint64_t>(st.st_size) > max_size) return ErrnoStatus(EFBIG, "read", host);

  data->clear();
  data->reserve(static_cast<std::size_t>(st.st_size));
  char buffer[1 << 16];
  while (true) {
    const ssize_t n = read(fd.get(), buffer, sizeof(buffer));
    if (n == 0) return Status::Ok();
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoStatus(errno, "read", host);
    }
    // The file may grow while it is read; the limit holds for what is read, too.
    if (data->size() + static_cast<std::size_t>(n) > max_size) return ErrnoStatus(EFBIG, "read", host);
    data->append(buffer, static_cast<std::size_t>(n));
  }
}

Status PosixFileSystem::WriteFile(std::string_view path, std::string_view data) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  if (posix::HostBaseName(host).empty()) return ErrnoStatus(EISDIR, "write", host);

  bool keep_mode = false;
  struct stat old {};
  if (lstat(host.c_str(), &old) == 0) {
    if (S_ISDIR(old.st_mode)) return ErrnoStatus(EISDIR, "write", host);
    keep_mode = S_ISREG(old.st_mode);
  } else if (errno != ENOENT) {
    return ErrnoStatus(errno, "lstat", host);
  }

  const std::string dir = posix::HostDirName(host);
  TemporaryFile temporary;
  if (const int err = temporary.Create(dir); err != 0) return ErrnoStatus(err, "create temporary file for", host);
  if (const int err = WriteAll(temporary.fd(), data); err != 0) return ErrnoStatus(err, "write", host);
  if (keep_mode && fchmod(temporary.fd(), old.st_mode & 07777) != 0) return ErrnoStatus(errno, "fchmod", host);
  // The data must be on the disk before the name points at it, or a crash could leave an empty file
  // where the old one was.
  if (fsync(temporary.fd()) != 0) return ErrnoStatus(errno, "fsync", host);
  if (const int err = temporary.Close(); err != 0) return ErrnoStatus(err, "close", host);
  if (rename(temporary.path().c_str(), host.c_str()) != 0) return ErrnoStatus(errno, "rename", host);
  temporary.Release();
  // Best effort: make the new name itself durable. The file is already in place either way.
  ScopedFd dir_fd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir_fd.valid()) fsync(dir_fd.get());
  return Status::Ok();
}

}  // namespace morva
