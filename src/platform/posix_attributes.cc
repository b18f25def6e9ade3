// PosixFileSystem: attributes and times.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

constexpr std::uint32_t kDosBits = kAttrHidden | kAttrSystem | kAttrArchive;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

Status LstatMode(const posix::EntryRef& entry, const std::string& host, mode_t* mode) {
  struct statx st {};
  if (statx(entry.dir_fd, entry.name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_MODE, &st) != 0) {
    return posix::ErrnoStatus(errno, "statx", host);
  }
  *mode = st.stx_mode;
  return Status::Ok();
}

// The DOSATTRIB value to build on: the stored one, or an empty one when there is none (or none this
// program can read, which it then replaces).
Status LoadDosAttrib(const posix::EntryRef& entry, const std::string& host, DosAttrib* value, bool* present) {
  int err = 0;
  *present = false;
  switch (posix::ReadDosAttrib(entry, value, &err)) {
    case posix::DosAttribState::kFound:
      *present = true;
      return Status::Ok();
    case posix::DosAttribState::kAbsent:
    case posix::DosAttribState::kUndecodable:
      *value = DosAttrib{};
      return Status::Ok();
    case posix::DosAttribState::kUnsupported:
      return posix::ErrnoStatus(ENOTSUP, "read user.DOSATTRIB", host);
    case posix::DosAttribState::kError:
      break;
  }
  return posix::ErrnoStatus(err, "read user.DOSATTRIB", host);
}

// Never through a link: the entry was found not to be one, and one swapped in since is refused.
Status Chmod(const posix::EntryRef& entry, const std::string& host, mode_t mode) {
  if (fchmodat(entry.dir_fd, entry.name.c_str(), mode & 07777, AT_SYMLINK_NOFOLLOW) != 0) {
    return posix::ErrnoStatus(errno, "chmod", host);
  }
  return Status::Ok();
}

// The process umask, read without changing it (umask() would, for a moment, for every thread).
mode_t ProcessUmask() {
  constexpr mode_t kUsualUmask = 022;
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (status == nullptr) return kUsualUmask;
  char line[256];
  unsigned int mask = kUsualUmask;
  while (std::fgets(line, sizeof(line), status) != nullptr) {
    if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
  }
  std::fclose(status);
  return static_cast<mode_t>(mask & 0777);
}

// The write permission a file whose read-only flag is cleared gets: `requested` (kWriteBitsOfNewFile:
// each read bit's write bit that the umask leaves), and the owner's in any case, so that the file is no
// longer read-only.
mode_t WriteBitsToGive(mode_t mode, std::uint32_t requested) {
  mode_t bits = requested == kWriteBitsOfNewFile ? ((mode & 0444) >> 1) & ~ProcessUmask()
                                                 : static_cast<mode_t>(requested);
  return (bits & kWriteBits) | S_IWUSR;
}

}  // namespace

Status PosixFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  return ChangeAttributes(path, attributes, S_IWUSR);
}

Status PosixFileSystem::SetAttributesGivingWriteBits(std::string_view path, std::uint32_t attributes,
                                                     std::uint32_t write_bits) {
  return ChangeAttributes(path, attributes, write_bits);
}

Status PosixFileSystem::ChangeAttributes(std::string_view path, std::uint32_t attributes, std::uint32_t write_bits) {
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  mode_t mode = 0;
  if (Status s = LstatMode(entry, host, &mode); !s.ok()) return s;

  const bool want_read_only = (attributes & kAttrReadOnly) != 0;
  // Windows' read-only flag on a folder stops no change inside it, so a directory keeps read-only in the
  // stored attributes only and its permissions stay: a rename inside it must still work.
  const bool is_directory = S_ISDIR(mode);
  const std::uint32_t stored_bits = kDosBits | (is_directory ? kAttrReadOnly : 0);
  const bool is_read_only = !S_ISLNK(mode) && !is_directory && (mode & kWriteBits) == 0;
  const std::uint32_t want_dos = attributes & kDosBits;
  // A link's own permissions cannot be changed on Linux, so it cannot be made read-only.
  if (want_read_only && S_ISLNK(mode)) return posix::ErrnoStatus(ENOTSUP, "read-only link", host);

  DosAttrib dos;
  bool present = false;
  Status loaded = LoadDosAttrib(entry, host, &dos, &present);
  const bool attributes_valid = present && (dos.valid_flags & kDosAttribValidAttributes) != 0;
  const std::uint32_t current_stored = attributes_valid ? dos.attributes & stored_bits : 0;
  const bool dos_change = (attributes & stored_bits) != current_stored;
  // Hidden, system and archive (and a directory's read-only) can only be kept in the extended attribute:
  // without it, only a request that leaves them as they are (all clear) can succeed.
  if (dos_change && !loaded.ok()) return loaded;

  // Lift read-only first, so that the owner may write the extended attribute afterwards.
  const mode_t original_mode = mode;
  if (!want_read_only && is_read_only) {
    mode |= WriteBitsToGive(mode, write_bits);
    if (Status s = Chmod(entry, host, mode); !s.ok()) return s;
  }

  // Samba and the kernel's SMB server take the read-only bit from the stored attributes when there are
  // any, so a stored value follows the new read-only state too; rewriting it for that alone is a
  // courtesy that must not fail the call.
  const bool read_only_stale =
      attributes_valid && ((dos.attributes & kAttrReadOnly) != 0) != want_read_only && !S_ISLNK(mode);
  if (dos_change || read_only_stale) {
    DosAttrib updated = dos;
    std::uint32_t bits = attributes_valid ? dos.attributes : 0;
    bits = (bits & ~(kDosBits | kAttrReadOnly)) | want_dos | (want_read_only ? kAttrReadOnly : 0);
    if (S_ISDIR(mode)) bits |= kAttrDirectory;
    updated.attributes = bits;
    updated.valid_flags |= kDosAttribValidAttributes;
    Status written = posix::WriteDosAttrib(entry, updated, mode);
    if (!written.ok() && dos_change) {
      // All or nothing; the failure returned is the write's, a failed undo of the chmod adds nothing to it.
      if (mode != original_mode) Chmod(entry, host, original_mode).IgnoreError();
      return written;
    }
  }

  if (want_read_only && !is_read_only && !is_directory) {
    if (Status s = Chmod(entry, host, mode & ~kWriteBits); !s.ok()) return s;
  }
  return Status::Ok();
}

Status PosixFileSystem::SetTimes(std::string_view path, const FileTime* creation_time,
                                 const FileTime* last_access_time, const FileTime* last_write_time) {
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;

  // The creation time goes first: it is the part a file system may refuse, and a refusal then leaves
  // the other two times untouched.
  if (creation_time != nullptr) {
    mode_t mode = 0;
    if (Status s = LstatMode(entry, host, &mode); !s.ok()) return s;
    DosAttrib dos;
    bool present = false;
    if (Status s = LoadDosAttrib(entry, host, &dos, &present); !s.ok()) return s;
    dos.creation_time = *creation_time;
    dos.valid_flags |= kDosAttribValidCreationTime;
    if (Status s = posix::WriteDosAttrib(entry, dos, mode); !s.ok()) return s;
  }

  if (last_access_time != nullptr || last_write_time != nullptr) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = times[0];
    if (last_access_time != nullptr) times[0] = TimespecFromFileTime(*last_access_time);
    if (last_write_time != nullptr) times[1] = TimespecFromFileTime(*last_write_time);
    if (utimensat(entry.dir_fd, entry.name.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
      return posix::ErrnoStatus(errno, "utimensat", host);
    }
  }
  return Status::Ok();
}

}  // namespace morva
