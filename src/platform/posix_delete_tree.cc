// PosixFileSystem: permanent deletion of a file, a link or a directory with everything in it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

#ifndef STATX_ATTR_MOUNT_ROOT
#define STATX_ATTR_MOUNT_ROOT 0x00002000
#endif

namespace morva {
namespace {

using posix::ErrnoStatus;
using posix::ScopedFd;

// How many directories of one branch the walk holds open at once. Deeper, the handle of an ancestor is
// closed and taken again through ".." when the walk climbs back to it, so a tree thousands of levels
// deep costs no more descriptors than one of 16.
constexpr std::size_t kOpenDirectories = 16;

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

// What the walk knows of an entry without following it.
struct EntryKind {
  bool directory = false;
  bool mount_root = false;  // the root of a file system mounted there (bind mounts too)
  dev_t device = 0;
  ino_t inode = 0;
  std::uint64_t mount = 0;  // the mount id; 0 on a kernel that does not tell it
};

int KindOf(int dir_fd, const char* name, EntryKind* kind) {
  struct statx st {};
  if (statx(dir_fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_INO | STATX_MNT_ID, &st) != 0) {
    return errno;
  }
  kind->directory = S_ISDIR(st.stx_mode);
  kind->mount_root = (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (st.stx_attributes & STATX_ATTR_MOUNT_ROOT);
  kind->device = makedev(st.stx_dev_major, st.stx_dev_minor);
  kind->inode = st.stx_ino;
  kind->mount = (st.stx_mask & STATX_MNT_ID) ? st.stx_mnt_id : 0;
  return 0;
}

// One directory on the walk's path from the top: its entries still to delete.
struct Frame {
  std::string name;  // in its parent; empty for the top
  dev_t device = 0;
  ino_t inode = 0;
  std::uint64_t mount = 0;
  ScopedFd fd;  // O_RDONLY directory handle; closed when the frame is deep below the walk's place
  std::vector<std::string> entries;
  std::size_t next = 0;
};

// Deletes what a directory holds, depth first, never through a symbolic link and never into another
// file system. Goes on after a failure; first_error() is the first one.
class TreeDeleter {
 public:
  explicit TreeDeleter(TextCodec* codec) : codec_(codec) {}

  void DeleteContents(ScopedFd top, const EntryKind& kind) {
    std::vector<Frame> stack;
    if (!Push(&stack, std::string(), kind, std::move(top))) return;
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next == frame.entries.size()) {
        if (stack.size() == 1) return;  // the top itself is the caller's to remove
        if (!Climb(&stack)) return;
        continue;
      }
      const std::string name = std::move(frame.entries[frame.next++]);
      EntryKind child;
      if (const int err = KindOf(frame.fd.get(), name.c_str(), &child); err != 0) {
        if (err != ENOENT) Note(err);
        continue;
      }
      if (!child.directory) {
        // A link goes as the link: nothing it points at is reached.
        if (unlinkat(frame.fd.get(), name.c_str(), 0) != 0 && errno != ENOENT) Note(errno);
        continue;
      }
      if (child.mount_root || child.device != frame.device || child.mount != frame.mount) {
        // A file system mounted inside the tree is not part of it, nor is a bind mount of a directory of
        // the same device: its mount point stays, and with it everything above.
        Note(EBUSY);
        continue;
      }
      ScopedFd fd(openat(frame.fd.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (!fd.valid()) {
        const int err = errno;
        // Swapped for a link or a file since its status was taken: that entry goes as it is now.
        if ((err == ENOTDIR || err == ELOOP) && unlinkat(frame.fd.get(), name.c_str(), 0) == 0) continue;
        Note(err);
        continue;
      }
      struct stat st {};
      if (fstat(fd.get(), &st) != 0) {
        Note(errno);
        continue;
      }
      if (st.st_dev != child.device || st.st_ino != child.inode) {
        Note(EAGAIN);  // replaced between the two looks
        continue;
      }
      if (!Push(&stack, name, child, std::move(fd))) continue;
      if (stack.size() > kOpenDirectories) stack[stack.size() - 1 - kOpenDirectories].fd.reset();
    }
  }

  int first_error() const { return first_error_; }

 private:
  void Note(int err) {
    if (first_error_ == 0) first_error_ = err;
  }

  // Lists the directory open as `fd` and puts it on the stack; false (noted) when it cannot be listed.
  bool Push(std::vector<Frame>* stack, std::string name, const EntryKind& kind, ScopedFd fd) {
    Frame frame;
    frame.name = std::move(name);
    frame.device = kind.device;
    frame.inode = kind.inode;
    frame.mount = kind.mount;
    // The listing reads a duplicate, which closedir closes; the handle itself stays for the *at calls.
    const int dup_fd = fcntl(fd.get(), F_DUPFD_CLOEXEC, 0);
    if (dup_fd < 0) {
      Note(errno);
      return false;
    }
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(dup_fd));
    if (!dir) {
      Note(errno);
      close(dup_fd);
      return false;
    }
    std::string engine_name;
    errno = 0;
    while (const struct dirent* e = readdir(dir.get())) {
      const std::string_view host_name = e->d_name;
      if (host_name == "." || host_name == "..") continue;
      // A name Windows could not hold is never deleted, as it is never listed; its directory then stays.
      if (!posix::EngineNameOf(codec_, host_name, &engine_name)) continue;
      frame.entries.emplace_back(host_name);
    }
    if (errno != 0) {
      Note(errno);
      return false;
    }
    frame.fd = std::move(fd);
    stack->push_back(std::move(frame));
    return true;
  }

  // Leaves the finished directory at the top of the stack and removes it from its parent; false when the
  // parent cannot be taken again as the same directory (the walk then stops).
  bool Climb(std::vector<Frame>* stack) {
    Frame done = std::move(stack->back());
    stack->pop_back();
    Frame& parent = stack->back();
    if (!parent.fd.valid()) {
      // ".." is never a link; it is the parent only while nobody has moved the finished directory.
      ScopedFd up(openat(done.fd.get(), "..", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      struct stat st {};
      if (!up.valid() || fstat(up.get(), &st) != 0) {
        Note(errno);
        return false;
      }
      if (st.st_dev != parent.device || st.st_ino != parent.inode) {
        Note(ESTALE);
        return false;
      }
      parent.fd = std::move(up);
    }
    done.fd.reset();
    if (unlinkat(parent.fd.get(), done.name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) Note(errno);
    return true;
  }

  TextCodec* codec_;
  int first_error_ = 0;
};

}  // namespace

Status PosixFileSystem::DeleteTree(std::string_view path) {
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  if (host == "/") return ErrnoStatus(EPERM, "delete", host);
  EntryKind kind;
  if (const int err = KindOf(entry.dir_fd, entry.name.c_str(), &kind); err != 0) return ErrnoStatus(err, "statx", host);
  // A mount point cannot be removed: emptying the file system mounted there first would destroy all of
  // it and still fail.
  if (kind.directory && kind.mount_root) return ErrnoStatus(EBUSY, "delete mount point", host);
  if (Status s = posix::Confinement::CheckOnRootMount(entry, host); !s.ok()) return s;
  if (!kind.directory) {
    if (unlinkat(entry.dir_fd, entry.name.c_str(), 0) != 0) return ErrnoStatus(errno, "delete", host);
    return Status::Ok();
  }

  ScopedFd top(openat(entry.dir_fd, entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!top.valid()) {
    return ErrnoStatus(posix::NoFollowDirectoryError(entry.dir_fd, entry.name.c_str(), errno), "open", host);
  }
  struct stat st {};
  if (fstat(top.get(), &st) != 0) return ErrnoStatus(errno, "fstat", host);
  if (st.st_dev != kind.device || st.st_ino != kind.inode) return ErrnoStatus(EAGAIN, "replaced while deleting", host);

  TreeDeleter deleter(codec_);
  deleter.DeleteContents(std::move(top), kind);
  // Handles kept for directories of the tree would answer for paths that name nothing now.
  confinement_.Forget(host);
  if (deleter.first_error() != 0) return ErrnoStatus(deleter.first_error(), "delete contents of", host);
  if (unlinkat(entry.dir_fd, entry.name.c_str(), AT_REMOVEDIR) != 0) return ErrnoStatus(errno, "delete", host);
  return Status::Ok();
}

}  // namespace morva
