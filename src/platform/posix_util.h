#ifndef MORVA_PLATFORM_POSIX_UTIL_H_
#define MORVA_PLATFORM_POSIX_UTIL_H_

// Pieces shared by the PosixFileSystem operations (find, attributes, move). Internal to the host layer.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dos_attrib.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "platform/text_codec.h"

namespace morva::posix {

// Closes a file descriptor when it goes out of scope.
class ScopedFd {
 public:
  ScopedFd() = default;
  explicit ScopedFd(int fd) : fd_(fd) {}
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  ScopedFd(ScopedFd&& other) noexcept : fd_(other.release()) {}
  ScopedFd& operator=(ScopedFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~ScopedFd() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// Where an operation finds one entry: a name relative to a directory handle, for the *at system calls.
// Below a declared root the handle was reached without following a link and the name is one component
// (`confined`); elsewhere the handle is AT_FDCWD and the name is the whole host path.
struct EntryRef {
  int dir_fd = AT_FDCWD;
  std::string name;
  bool confined = false;
  // Below a root: the id of the mount the root lies on (0 when the host could not tell it).
  std::uint64_t root_mount = 0;
};

// A path naming the entry itself for the calls that only take a path (the extended attribute calls):
// the host path, or below a root the handle's /proc/self/fd link and the name, which reaches the
// directory the handle holds however the tree changed since.
std::string PathOf(const EntryRef& entry);

// The error of an O_NOFOLLOW | O_DIRECTORY open of `name` in `dir_fd` that failed with `err`. The
// directory test speaks first, so a symbolic link there reads as ENOTDIR; it is told as ELOOP, a link
// refused.
int NoFollowDirectoryError(int dir_fd, const char* name, int err);

// A failure status from an errno value, with "operation: path" as context.
Status ErrnoStatus(int err, std::string_view operation, std::string_view path);

// Reads up to `n` bytes at `offset` of `fd` into *data (fewer only at the end of the file), through
// interruptions; a failure names `host`.
Status ReadAt(int fd, std::uint64_t offset, std::size_t n, std::string* data, std::string_view host);

// True when a host name cannot be shown to the engine for its bytes alone: a byte below 0x20 or one of
// \ / : * ? " < > |.
bool HasForbiddenByte(std::string_view host_name);

// The code page 932 form of a host name (UTF-8 bytes), or false when the name is invisible: a forbidden
// byte, or no code page 932 form (not UTF-8, or no user-defined code left for one of its characters).
bool EngineNameOf(TextCodec* codec, std::string_view host_name, std::string* engine_name);

// The last component of a host path, ignoring trailing slashes ("" for "/").
std::string_view HostBaseName(std::string_view host_path);

// The directory part of a host path ("/a/b" -> "/a", "/a" -> "/").
std::string HostDirName(std::string_view host_path);

// The result of reading user.DOSATTRIB.
enum class DosAttribState {
  kFound,         // decoded into *out
  kAbsent,        // the entry has no such attribute
  kUndecodable,   // a value this program cannot read
  kUnsupported,   // the file system has no user extended attributes
  kError,         // another failure; *err holds errno
};

// Classifies the result of a getxattr-like call (`rc` is its return value, `err` errno after it) and
// decodes the value read into `buffer`.
DosAttribState ClassifyDosAttribRead(long rc, int err, const char* buffer, DosAttrib* out);

// Reads user.DOSATTRIB of the entry itself (a symbolic link is not followed).
DosAttribState ReadDosAttrib(const EntryRef& entry, DosAttrib* out, int* err);

// Writes `value` as user.DOSATTRIB of the entry itself. A user extended attribute needs
// write permission; when the owner has made the entry read-only (`mode` without S_IWUSR) and the write is
// refused, owner write permission is lent for the duration of the write and the mode restored after it.
// Fails with ENOTSUP on a file system without user extended attributes.
Status WriteDosAttrib(const EntryRef& entry, const DosAttrib& value, mode_t mode);

// The attributes and times of an entry from its status (taken without following a link) and its
// DOSATTRIB value (null when it has none). `link_to_directory` tells whether a symbolic link points at a
// directory. The name is left as it is.
void FillFindData(const struct statx& st, const DosAttrib* dos, bool link_to_directory, FindData* data);

// The statx mask FillFindData needs.
inline constexpr unsigned int kStatxMask = STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_ATIME |
                                           STATX_MTIME | STATX_BTIME;

// Writes all of `data` to `fd` (again after a partial write or an interrupt); 0 or an errno value.
int WriteAll(int fd, std::string_view data);

}  // namespace morva::posix

#endif  // MORVA_PLATFORM_POSIX_UTIL_H_
