#include "platform/posix_confinement.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "platform/posix_mounts.h"

namespace morva::posix {
namespace {

bool Below(std::string_view path, std::string_view dir) {
  if (dir == "/") return path.size() > 1 && path[0] == '/';
  return path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/';
}

}  // namespace

Status OpenBeneath(int root_fd, std::string_view relative, ScopedFd* fd) {
  if (relative.empty()) return Status::Error(ENOENT, "empty relative path");
  const std::string path(relative);
  struct open_how how {};
  how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH;
  const long opened = syscall(SYS_openat2, root_fd, path.c_str(), &how, sizeof(how));
  if (opened >= 0) {
    fd->reset(static_cast<int>(opened));
    return Status::Ok();
  }
  // A sandbox that does not know the call refuses it with EPERM or ENOSYS; O_PATH opens never give EPERM.
  if (errno != ENOSYS && errno != EPERM) return ErrnoStatus(errno, "openat2", path);
  return WalkBeneath(root_fd, relative, fd);
}

Status WalkBeneath(int root_fd, std::string_view relative, ScopedFd* fd) {
  if (relative.empty()) return Status::Error(ENOENT, "empty relative path");
  ScopedFd current;
  int at = root_fd;
  std::string name;
  while (!relative.empty()) {
    const std::size_t slash = relative.find('/');
    name.assign(relative.substr(0, slash));
    relative.remove_prefix(slash == std::string_view::npos ? relative.size() : slash + 1);
    if (name.empty() || name == ".") continue;
    if (name == "..") return ErrnoStatus(EXDEV, "climb out of root", name);
    ScopedFd next(openat(at, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next.valid()) return ErrnoStatus(NoFollowDirectoryError(at, name.c_str(), errno), "open directory", name);
    current = std::move(next);
    at = current.get();
  }
  if (!current.valid()) {
    // Only "." components: the root itself.
    current.reset(openat(root_fd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!current.valid()) return ErrnoStatus(errno, "open directory", ".");
  }
  *fd = std::move(current);
  return Status::Ok();
}

void Confinement::Begin(const std::vector<std::string>& host_roots) {
  ClearCache();
  std::unordered_map<std::string, Root>& roots = scopes_.emplace_back();
  for (const std::string& path : host_roots) {
    auto [it, added] = roots.try_emplace(path);
    ScopedFd fd;
    // A root that cannot be opened yet (it may not exist) is pinned when first used, and Locate reports
    // the failure to the call that uses it.
    if (added) OpenRoot(path, &it->second, &fd).IgnoreError();
  }
}

void Confinement::End() {
  ClearCache();
  if (!scopes_.empty()) scopes_.pop_back();
}

Status Confinement::Locate(std::string_view host_path, EntryRef* entry) {
  entry->dir_fd = AT_FDCWD;
  entry->confined = false;
  const std::size_t slash = host_path.rfind('/');
  if (scopes_.empty() || slash == std::string_view::npos || host_path.size() == 1) {
    entry->name.assign(host_path);
    return Status::Ok();
  }
  const std::string_view dir = slash == 0 ? std::string_view("/") : host_path.substr(0, slash);
  const std::string_view name = host_path.substr(slash + 1);
  CachedDirectory* cached = Cached(dir);
  if (cached == nullptr) {
    std::string root_path;
    Root* root = InnermostRoot(dir, &root_path);
    if (root == nullptr) {
      entry->name.assign(host_path);
      return Status::Ok();
    }
    ScopedFd root_fd;
    if (Status s = OpenRoot(root_path, root, &root_fd); !s.ok()) return s;
    if (dir.size() == root_path.size()) {
      cached = Cache(dir, std::move(root_fd), root->mount);
    } else {
      const std::size_t skip = root_path == "/" ? 1 : root_path.size() + 1;
      ScopedFd below;
      if (Status s = OpenBeneath(root_fd.get(), dir.substr(skip), &below); !s.ok()) return s;
      cached = Cache(dir, std::move(below), root->mount);
    }
  }
  entry->dir_fd = cached->fd.get();
  entry->name.assign(name);
  entry->confined = true;
  entry->root_mount = cached->root_mount;
  return Status::Ok();
}

Status Confinement::CheckOnRootMount(const EntryRef& entry, std::string_view host) {
  if (!entry.confined || entry.root_mount == 0) return Status::Ok();
  std::uint64_t mount = 0;
  if (const int err = MountIdOf(entry.dir_fd, entry.name.c_str(), &mount); err != 0) {
    return ErrnoStatus(err, "statx", host);
  }
  if (mount != entry.root_mount) return ErrnoStatus(EXDEV, "delete on another mount than its tree", host);
  return Status::Ok();
}

void Confinement::Forget(std::string_view host_path) {
  for (CachedDirectory& c : cache_) {
    if (c.fd.valid() && (c.path == host_path || Below(c.path, host_path))) {
      c.fd.reset();
      c.path.clear();
      c.last_use = 0;  // taken first
    }
  }
}

Confinement::Root* Confinement::InnermostRoot(std::string_view dir, std::string* root_path) {
  std::unordered_map<std::string, Root>& roots = scopes_.back();
  if (roots.empty()) return nullptr;
  root_path->assign(dir);
  while (true) {
    const auto it = roots.find(*root_path);
    if (it != roots.end()) return &it->second;
    if (*root_path == "/") return nullptr;
    *root_path = HostDirName(*root_path);
  }
}

Status Confinement::OpenRoot(const std::string& path, Root* root, ScopedFd* fd) {
  fd->reset(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!fd->valid()) return ErrnoStatus(errno, "open root", path);
  struct stat st {};
  if (fstat(fd->get(), &st) != 0) return ErrnoStatus(errno, "fstat root", path);
  if (!root->pinned) {
    root->pinned = true;
    root->device = st.st_dev;
    root->inode = st.st_ino;
    // Without a mount id nothing is refused for lying on another mount.
    if (MountIdOf(fd->get(), "", &root->mount) != 0) root->mount = 0;
  } else if (root->device != st.st_dev || root->inode != st.st_ino) {
    fd->reset();
    return ErrnoStatus(EXDEV, "root replaced", path);
  }
  return Status::Ok();
}

Confinement::CachedDirectory* Confinement::Cached(std::string_view dir) {
  for (CachedDirectory& c : cache_) {
    if (c.fd.valid() && c.path == dir) {
      c.last_use = ++clock_;
      return &c;
    }
  }
  return nullptr;
}

Confinement::CachedDirectory* Confinement::Cache(std::string_view dir, ScopedFd fd, std::uint64_t root_mount) {
  CachedDirectory* slot = &cache_[0];
  for (CachedDirectory& c : cache_) {
    if (c.last_use < slot->last_use) slot = &c;
  }
  slot->path.assign(dir);
  slot->fd = std::move(fd);
  slot->root_mount = root_mount;
  slot->last_use = ++clock_;
  return slot;
}

void Confinement::ClearCache() {
  for (CachedDirectory& c : cache_) {
    c.fd.reset();
    c.path.clear();
    c.last_use = 0;
  }
}

}  // namespace morva::posix
