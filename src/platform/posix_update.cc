// PosixFileSystem: changing a file in place under the cover of a safety copy (the ID3 tag writer).
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/posix_copy.h"
#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

// Reads the former contents: the file's own bytes until it is first written, then the safety copy's,
// which nothing writes once it is made. The two are one file's contents at one moment, but only the
// file's pages are in the cache: a copy that shares the file's blocks is a new file to the cache, and
// each of its pages is read from the disk.
class FormerContents final : public ReadableFile {
 public:
  FormerContents(int file, int copy, const bool& written, std::uint64_t size, std::string host)
      : file_(file), copy_(copy), written_(written), size_(size), host_(std::move(host)) {}

  std::uint64_t size() const override { return size_; }

  Status Read(std::uint64_t offset, std::size_t n, std::string* data) override {
    if (!written_) {
      if (Status s = posix::ReadAt(file_, offset, n, data, host_); !s.ok()) return s;
      // Nothing beyond the former end: the file stays as it was until its first write.
      if (offset >= size_) {
        data->clear();
      } else if (data->size() > size_ - offset) {
        data->resize(static_cast<std::size_t>(size_ - offset));
      }
      return Status::Ok();
    }
    return posix::ReadAt(copy_, offset, n, data, host_);
  }

 private:
  int file_;
  int copy_;
  const bool& written_;
  std::uint64_t size_;
  std::string host_;
};

// Makes `to` hold the first `size` bytes of `from` as its whole contents, with the last-write time
// `mtime`, and flushes it to the disk: a file given back its former self from its safety copy.
Status PutContentsBack(int from, int to, std::uint64_t size, const struct timespec& mtime, const std::string& host) {
  if (const int err = posix::CopyRange(from, 0, to, 0, size); err != 0) return ErrnoStatus(err, "restore", host);
  if (ftruncate(to, static_cast<off_t>(size)) != 0) return ErrnoStatus(errno, "truncate", host);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = mtime;
  if (futimens(to, times) != 0) return ErrnoStatus(errno, "futimens", host);
  if (fdatasync(to) != 0) return ErrnoStatus(errno, "flush", host);
  return Status::Ok();
}

int WriteAllAt(int fd, std::string_view data, std::uint64_t offset) {
  while (!data.empty()) {
    const ssize_t n = pwrite(fd, data.data(), data.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return 0;
}

// The mark of a safety copy: which file it was made of, so that a copy left by a killed process is told
// from a person's own file of that name and from the copy of a file that has been replaced since.
constexpr char kUpdateMarkName[] = "user.morva.update";

// "morva-update 1 <device> <inode> <name>": the file's identity and its name (host bytes) in its directory.
std::string UpdateMark(const struct stat& st, std::string_view name) {
  char head[80];
  std::snprintf(head, sizeof(head), "morva-update 1 %" PRIu64 " %" PRIu64 " ", static_cast<std::uint64_t>(st.st_dev),
                static_cast<std::uint64_t>(st.st_ino));
  return head + std::string(name);
}

// The identity and name a mark holds; false for anything else.
bool ReadUpdateMark(std::string_view mark, std::uint64_t* device, std::uint64_t* inode, std::string* name) {
  constexpr std::string_view kHead = "morva-update 1 ";
  if (mark.substr(0, kHead.size()) != kHead) return false;
  const std::string rest(mark.substr(kHead.size()));
  int used = 0;
  unsigned long long d = 0, i = 0;
  if (std::sscanf(rest.c_str(), "%llu %llu %n", &d, &i, &used) != 2 || used <= 0) return false;
  *device = d;
  *inode = i;
  name->assign(rest.substr(static_cast<std::size_t>(used)));
  return !name->empty();
}

// Where the safety copy lives once it has its name: its own handle of the directory (the confinement's
// handles do not last) and its name there.
struct CopyPlace {
  ScopedFd dir;
  std::string name;
  std::string host;
};

class PosixFileUpdate final : public FileUpdate {
 public:
  PosixFileUpdate(ScopedFd file, std::string host, const struct stat& st, ScopedFd copy, CopyPlace place,
                  bool shares_data)
      : file_(std::move(file)),
        host_(std::move(host)),
        size_(static_cast<std::uint64_t>(st.st_size)),
        mtime_(st.st_mtim),
        device_(static_cast<std::uint64_t>(st.st_dev)),
        shares_data_(shares_data),
        copy_(std::move(copy)),
        place_(std::move(place)),
        reader_(file_.get(), copy_.get(), written_, size_, place_.host) {}

  ~PosixFileUpdate() override {
    if (!removed_ && !touched_) RemoveCopy();
  }

  ReadableFile& original() override { return reader_; }

  Status Write(std::uint64_t offset, std::string_view data) override {
    touched_ = true;
    written_ = true;
    volume_flushed_ = false;
    if (const int err = WriteAllAt(file_.get(), data, offset); err != 0) return ErrnoStatus(err, "write", host_);
    return Status::Ok();
  }

  Status CopyOriginal(std::uint64_t original_offset, std::uint64_t offset) override {
    if (!copy_flushed_) {
      if (fdatasync(copy_.get()) != 0) return ErrnoStatus(errno, "flush", place_.host);
      // The copy's name must last as well as its data.
      // A handle that could only be had without read access cannot be flushed (EBADF).
      if (fsync(place_.dir.get()) != 0 && errno != EINVAL && errno != EBADF) {
        return ErrnoStatus(errno, "flush directory of", place_.host);
      }
      copy_flushed_ = true;
    }
    touched_ = true;
    written_ = true;
    volume_flushed_ = false;
    const std::uint64_t length = original_offset < size_ ? size_ - original_offset : 0;
    if (const int err = posix::CopyRange(copy_.get(), original_offset, file_.get(), offset, length); err != 0) {
      return ErrnoStatus(err, "copy into", host_);
    }
    if (ftruncate(file_.get(), static_cast<off_t>(offset + length)) != 0) return ErrnoStatus(errno, "truncate", host_);
    return Status::Ok();
  }

  Status Commit() override {
    if (touched_ && !volume_flushed_ && fdatasync(file_.get()) != 0) return ErrnoStatus(errno, "flush", host_);
    touched_ = false;
    RemoveCopy();
    return Status::Ok();
  }

  Status Restore() override {
    if (touched_) {
      if (Status s = PutContentsBack(copy_.get(), file_.get(), size_, mtime_, host_); !s.ok()) return s;
      touched_ = false;
    }
    RemoveCopy();
    return Status::Ok();
  }

  bool removed() const override { return removed_; }

  bool shares_data() const override { return shares_data_; }
  std::uint64_t volume() const override { return device_; }

  Status FlushVolume() override {
    // syncfs reports a failed write-back of any file of the file system since this descriptor was
    // opened (Linux 5.8 and later), this file's among them.
    if (syncfs(file_.get()) != 0) return ErrnoStatus(errno, "flush file system of", host_);
    volume_flushed_ = true;
    return Status::Ok();
  }

  void VolumeFlushed() override { volume_flushed_ = true; }

 private:
  void RemoveCopy() {
    if (removed_) return;
    removed_ = unlinkat(place_.dir.get(), place_.name.c_str(), 0) == 0 || errno == ENOENT;
  }

  ScopedFd file_;
  std::string host_;
  std::uint64_t size_;
  struct timespec mtime_;
  std::uint64_t device_;
  bool shares_data_;
  ScopedFd copy_;
  CopyPlace place_;
  bool touched_ = false;       // the file may differ from the copy
  bool written_ = false;       // the file was written to, whatever came after
  FormerContents reader_;
  bool copy_flushed_ = false;  // the copy is on the disk
  bool removed_ = false;
  bool volume_flushed_ = false;  // a flush of the file system after the last write covers the file
};

// A handle of the directory of `entry` that outlives the confinement's cache, and the entry's name in it.
Status PlaceOf(const posix::EntryRef& entry, const std::string& host, CopyPlace* place) {
  place->host = host;
  const std::string dir = entry.confined ? std::string(".") : posix::HostDirName(entry.name);
  place->name = entry.confined ? entry.name : std::string(posix::HostBaseName(entry.name));
  // Readable, so that the name can be flushed; a directory that cannot be read is still reached.
  place->dir.reset(openat(entry.dir_fd, dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!place->dir.valid()) place->dir.reset(openat(entry.dir_fd, dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!place->dir.valid()) return ErrnoStatus(errno, "open directory of", host);
  return Status::Ok();
}

}  // namespace

Status PosixFileSystem::OpenUpdate(std::string_view path, std::string_view backup,
                                   std::unique_ptr<FileUpdate>* update) {
  std::string host, backup_host;
  posix::EntryRef entry, backup_entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  // O_NONBLOCK keeps a named pipe from blocking the open; it is refused just below. O_NOATIME: see
  // OpenRead; the host allows it on the owner's files only (EPERM otherwise).
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  ScopedFd file(openat(entry.dir_fd, entry.name.c_str(), kFlags | O_NOATIME));
  if (!file.valid() && errno == EPERM) file.reset(openat(entry.dir_fd, entry.name.c_str(), kFlags));
  if (!file.valid()) return ErrnoStatus(errno, "open", host);
  struct stat st {};
  if (fstat(file.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host);
  if (!S_ISREG(st.st_mode)) return ErrnoStatus(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "update", host);

  if (Status s = Locate(backup, &backup_host, &backup_entry); !s.ok()) return s;
  // A name that is taken is known before the whole file is copied for nothing; the exclusive link at the
  // end still decides.
  struct stat taken {};
  if (const int err = posix::StatNoFollow(backup_entry, &taken); err != ENOENT) {
    return ErrnoStatus(err == 0 ? EEXIST : err, "safety copy", backup_host);
  }
  posix::PendingFile pending(backup_entry);
  if (const int err = pending.Create(O_RDWR); err != 0) return ErrnoStatus(err, "create safety copy", backup_host);
  bool shared = false;
  if (const int err = posix::CopyData(file.get(), pending.fd(), &shared); err != 0) {
    return ErrnoStatus(err, "copy into", backup_host);
  }
  posix::CopyDosAttributes(file.get(), pending.fd());
  // Best effort: without user extended attributes a copy left by a killed process cannot be told from
  // a person's file, and is left alone (CheckLeftoverCopy).
  const std::string mark = UpdateMark(st, posix::HostBaseName(host));
  fsetxattr(pending.fd(), kUpdateMarkName, mark.data(), mark.size(), 0);
  if (fchmod(pending.fd(), st.st_mode & 0777) != 0) return ErrnoStatus(errno, "fchmod", backup_host);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = st.st_mtim;
  if (futimens(pending.fd(), times) != 0) return ErrnoStatus(errno, "futimens", backup_host);
  CopyPlace place;
  if (Status s = PlaceOf(backup_entry, backup_host, &place); !s.ok()) return s;
  if (const int err = pending.Publish(false); err != 0) return ErrnoStatus(err, "name safety copy", backup_host);
  *update = std::make_unique<PosixFileUpdate>(std::move(file), std::move(host), st, pending.TakeFd(), std::move(place),
                                              shared);
  return Status::Ok();
}

Status PosixFileSystem::CheckLeftoverCopy(std::string_view path, std::string_view backup, bool restore,
                                          LeftoverCopy* found) {
  *found = LeftoverCopy::kNone;
  std::string host, backup_host;
  posix::EntryRef entry, backup_entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  struct stat st {};
  if (const int err = posix::StatNoFollow(entry, &st); err != 0) return ErrnoStatus(err, "lstat", host);
  if (Status s = Locate(backup, &backup_host, &backup_entry); !s.ok()) return s;
  ScopedFd copy(openat(backup_entry.dir_fd, backup_entry.name.c_str(),
                       O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!copy.valid()) {
    // Nothing there, or nothing this program made (a link, something it cannot read).
    return errno == ENOENT || errno == ELOOP || errno == EACCES ? Status::Ok() : ErrnoStatus(errno, "open", backup_host);
  }
  struct stat copy_st {};
  if (fstat(copy.get(), &copy_st) != 0) return ErrnoStatus(errno, "fstat", backup_host);
  if (!S_ISREG(copy_st.st_mode)) return Status::Ok();
  char buffer[512];
  const ssize_t n = fgetxattr(copy.get(), kUpdateMarkName, buffer, sizeof(buffer));
  std::uint64_t device = 0, inode = 0;
  std::string name;
  if (n <= 0 || !ReadUpdateMark(std::string_view(buffer, static_cast<std::size_t>(n)), &device, &inode, &name)) {
    return Status::Ok();
  }
  if (name != posix::HostBaseName(host)) return Status::Ok();  // the copy of another file, renamed
  if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_dev) != device ||
      static_cast<std::uint64_t>(st.st_ino) != inode) {
    *found = LeftoverCopy::kUncertain;
    return Status::Ok();
  }
  *found = LeftoverCopy::kOfThisFile;
  if (!restore) return Status::Ok();

  ScopedFd file(openat(entry.dir_fd, entry.name.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!file.valid()) return ErrnoStatus(errno, "open", host);
  struct stat opened {};
  if (fstat(file.get(), &opened) != 0) return ErrnoStatus(errno, "fstat", host);
  if (opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) return ErrnoStatus(EAGAIN, "restore", host);
  const auto size = static_cast<std::uint64_t>(copy_st.st_size);
  if (Status s = PutContentsBack(copy.get(), file.get(), size, copy_st.st_mtim, host); !s.ok()) return s;
  // Only the copy that was read goes: a name given to another file meanwhile stays.
  struct stat named {};
  if (posix::StatNoFollow(backup_entry, &named) != 0 || named.st_dev != copy_st.st_dev ||
      named.st_ino != copy_st.st_ino) {
    return ErrnoStatus(EAGAIN, "remove safety copy", backup_host);
  }
  if (unlinkat(backup_entry.dir_fd, backup_entry.name.c_str(), 0) != 0) {
    return ErrnoStatus(errno, "remove safety copy", backup_host);
  }
  return Status::Ok();
}

}  // namespace morva
