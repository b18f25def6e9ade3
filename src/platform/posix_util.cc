#include "platform/posix_util.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

#include <array>
#include <cerrno>
#include <string>

#include "platform/file_time.h"

namespace morva::posix {
namespace {

FileTime FromStatxTimestamp(const struct statx_timestamp& t) {
  struct timespec ts {};
  ts.tv_sec = static_cast<time_t>(t.tv_sec);
  ts.tv_nsec = static_cast<long>(t.tv_nsec);
  return FileTimeFromTimespec(ts);
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

}  // namespace

int NoFollowDirectoryError(int dir_fd, const char* name, int err) {
  struct stat st {};
  if (err == ENOTDIR && fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) return ELOOP;
  return err;
}

Status ErrnoStatus(int err, std::string_view operation, std::string_view path) {
  std::string context(operation);
  context += ": ";
  context += path;
  return Status::Error(err, context);
}

bool HasForbiddenByte(std::string_view host_name) {
  static constexpr auto kForbidden = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 0x20; ++c) table[c] = true;
    for (unsigned char c : std::string_view("\\/:*?\"<>|")) table[c] = true;
    return table;
  }();
  for (unsigned char c : host_name) {
    if (kForbidden[c]) return true;
  }
  return false;
}

bool EngineNameOf(TextCodec* codec, std::string_view host_name, std::string* engine_name) {
  if (HasForbiddenByte(host_name)) return false;
  if (IsAscii(host_name)) {
    engine_name->assign(host_name);
    return true;
  }
  return codec->Utf8ToCp932(host_name, engine_name).ok();
}

std::string_view HostBaseName(std::string_view host_path) {
  while (host_path.size() > 1 && host_path.back() == '/') host_path.remove_suffix(1);
  if (host_path == "/") return {};
  const std::size_t slash = host_path.rfind('/');
  return slash == std::string_view::npos ? host_path : host_path.substr(slash + 1);
}

std::string HostDirName(std::string_view host_path) {
  while (host_path.size() > 1 && host_path.back() == '/') host_path.remove_suffix(1);
  const std::size_t slash = host_path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(host_path.substr(0, slash));
}

DosAttribState ClassifyDosAttribRead(long rc, int err, const char* buffer, DosAttrib* out) {
  if (rc < 0) {
    switch (err) {
      case ENODATA:
        return DosAttribState::kAbsent;
      case ENOTSUP:
        return DosAttribState::kUnsupported;
      case ERANGE:
        return DosAttribState::kUndecodable;  // far larger than any value this program knows
      default:
        return DosAttribState::kError;
    }
  }
  if (!DecodeDosAttrib(std::string_view(buffer, static_cast<std::size_t>(rc)), out)) {
    return DosAttribState::kUndecodable;
  }
  return DosAttribState::kFound;
}

Status ReadAt(int fd, std::uint64_t offset, std::size_t n, std::string* data, std::string_view host) {
  data->resize(n);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = pread(fd, data->data() + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return ErrnoStatus(errno, "read", host);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  data->resize(done);
  return Status::Ok();
}

std::string PathOf(const EntryRef& entry) {
  if (!entry.confined) return entry.name;
  return "/proc/self/fd/" + std::to_string(entry.dir_fd) + "/" + entry.name;
}

DosAttribState ReadDosAttrib(const EntryRef& entry, DosAttrib* out, int* err) {
  char buffer[256];
  const ssize_t rc = lgetxattr(PathOf(entry).c_str(), kDosAttribXattrName, buffer, sizeof(buffer));
  *err = rc < 0 ? errno : 0;
  return ClassifyDosAttribRead(rc, *err, buffer, out);
}

Status WriteDosAttrib(const EntryRef& entry, const DosAttrib& value, mode_t mode) {
  const std::string blob = EncodeDosAttrib(value);
  const std::string path = PathOf(entry);
  if (lsetxattr(path.c_str(), kDosAttribXattrName, blob.data(), blob.size(), 0) == 0) {
    return Status::Ok();
  }
  int err = errno;
  // The lent permission must land on the entry itself, never on what a link swapped in points at.
  if (err == EACCES && (S_ISREG(mode) || S_ISDIR(mode)) && (mode & S_IWUSR) == 0 &&
      fchmodat(entry.dir_fd, entry.name.c_str(), (mode & 07777) | S_IWUSR, AT_SYMLINK_NOFOLLOW) == 0) {
    err = lsetxattr(path.c_str(), kDosAttribXattrName, blob.data(), blob.size(), 0) == 0 ? 0 : errno;
    fchmodat(entry.dir_fd, entry.name.c_str(), mode & 07777, AT_SYMLINK_NOFOLLOW);
    if (err == 0) return Status::Ok();
  }
  // Symbolic links and special files cannot carry user extended attributes either.
  if (err == EPERM && !S_ISREG(mode) && !S_ISDIR(mode)) err = ENOTSUP;
  return ErrnoStatus(err, "write user.DOSATTRIB", entry.name);
}

void FillFindData(const struct statx& st, const DosAttrib* dos, bool link_to_directory, FindData* data) {
  const mode_t mode = st.stx_mode;
  std::uint32_t attributes = 0;
  if (S_ISDIR(mode)) {
    attributes |= kAttrDirectory;
  } else if (S_ISLNK(mode)) {
    attributes |= kAttrReparsePoint;
    if (link_to_directory) attributes |= kAttrDirectory;
  }
  // A directory's read-only flag is the stored one only (see SetAttributes).
  if (!S_ISLNK(mode) && !S_ISDIR(mode) && (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= kAttrReadOnly;
  if (dos != nullptr && (dos->valid_flags & kDosAttribValidAttributes) != 0) {
    const std::uint32_t stored = kAttrHidden | kAttrSystem | kAttrArchive | (S_ISDIR(mode) ? kAttrReadOnly : 0);
    attributes |= dos->attributes & stored;
  }
  data->attributes = attributes;
  data->identity.device = makedev(st.stx_dev_major, st.stx_dev_minor);
  data->identity.inode = st.stx_ino;

  data->last_write_time = FromStatxTimestamp(st.stx_mtime);
  data->last_access_time = FromStatxTimestamp(st.stx_atime);
  if (dos != nullptr && (dos->valid_flags & kDosAttribValidCreationTime) != 0) {
    data->creation_time = dos->creation_time;
  } else if ((st.stx_mask & STATX_BTIME) != 0) {
    data->creation_time = FromStatxTimestamp(st.stx_btime);
  } else {
    data->creation_time = data->last_write_time;
  }
  // Directories and links have no data of their own to count.
  data->size = S_ISREG(mode) ? st.stx_size : 0;
  data->write_bits = S_ISLNK(mode) ? 0 : mode & (S_IWUSR | S_IWGRP | S_IWOTH);
}

int WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace morva::posix
