#include "platform/private_file.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix_util.h"

namespace morva {
namespace {

constexpr std::string_view kProgramSubdirectory = "morva";
constexpr mode_t kPrivateDirectoryMode = 0700;
constexpr mode_t kPrivateFileMode = 0600;

bool Absolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string Joined(std::string_view directory, std::string_view name) {
  std::string path(directory);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

// mkdir -p of `path` (absolute); the directories made are private to the user.
int MakeDirectories(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), kPrivateDirectoryMode) != 0 && errno != EEXIST) return errno;
    if (slash == std::string::npos) return 0;
  }
}

// The temporary file of one WritePrivateFile: removed when it goes out of scope unless it was renamed.
class Temporary {
 public:
  Temporary() = default;
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    fd_.reset();
    if (!path_.empty()) unlink(path_.c_str());
  }

  // 0 or an errno value. mkstemp creates the file exclusively with mode 0600.
  int Create(const std::string& directory, std::string_view name) {
    std::string pattern = Joined(directory, "." + std::string(name) + ".XXXXXX");
    fd_.reset(mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd_.valid()) return errno;
    path_ = std::move(pattern);
    return 0;
  }
  int fd() const { return fd_.get(); }
  const std::string& path() const { return path_; }
  int Close() { return ::close(fd_.release()) == 0 ? 0 : errno; }
  void Release() { path_.clear(); }

 private:
  posix::ScopedFd fd_;
  std::string path_;
};

}  // namespace

std::string ChoosePrivateDirectory(std::string_view runtime_dir, std::string_view cache_home, std::string_view home) {
  if (Absolute(runtime_dir)) return Joined(runtime_dir, kProgramSubdirectory);
  if (Absolute(cache_home)) return Joined(cache_home, kProgramSubdirectory);
  if (Absolute(home)) return Joined(Joined(home, ".cache"), kProgramSubdirectory);
  return std::string();
}

std::string PrivateDirectory() {
  return ChoosePrivateDirectory(Environment("XDG_RUNTIME_DIR"), Environment("XDG_CACHE_HOME"), Environment("HOME"));
}

Status CheckPrivateDirectory(const std::string& directory) {
  struct stat st {};
  if (lstat(directory.c_str(), &st) != 0) return Status::Error(errno, "lstat " + directory);
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    return Status::Error(EPERM, "not a private directory: " + directory);
  }
  return Status::Ok();
}

Status MakePrivateDirectory(const std::string& directory) {
  if (!Absolute(directory)) return Status::Error(EINVAL, "private directory " + directory);
  if (const int err = MakeDirectories(directory); err != 0) return Status::Error(err, "mkdir " + directory);
  return CheckPrivateDirectory(directory);
}

Status WritePrivateFile(const std::string& directory, std::string_view name, std::string_view data,
                        std::string* path) {
  if (!Absolute(directory) || name.empty() || name.find('/') != std::string_view::npos) {
    return Status::Error(EINVAL, "private file " + directory);
  }
  if (const int err = MakeDirectories(directory); err != 0) return Status::Error(err, "mkdir " + directory);
  struct stat st {};
  if (lstat(directory.c_str(), &st) != 0) return Status::Error(errno, "lstat " + directory);
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    return Status::Error(EPERM, "not a private directory: " + directory);
  }

  const std::string final_path = Joined(directory, name);
  Temporary temporary;
  if (const int err = temporary.Create(directory, name); err != 0) {
    return Status::Error(err, "create temporary file for " + final_path);
  }
  // mkstemp's mode already; said again so that the contract does not rest on the C library's.
  if (fchmod(temporary.fd(), kPrivateFileMode) != 0) return Status::Error(errno, "fchmod " + final_path);
  if (const int err = posix::WriteAll(temporary.fd(), data); err != 0) return Status::Error(err, "write " + final_path);
  if (const int err = temporary.Close(); err != 0) return Status::Error(err, "close " + final_path);
  if (rename(temporary.path().c_str(), final_path.c_str()) != 0) return Status::Error(errno, "rename " + final_path);
  temporary.Release();
  *path = final_path;
  return Status::Ok();
}

}  // namespace morva
