#ifndef MORVA_PLATFORM_POSIX_CONFINEMENT_H_
#define MORVA_PLATFORM_POSIX_CONFINEMENT_H_

// The declared roots of the work in progress and the directory handles reached from them
// (FileSystem::ConfineTo). Internal to the host layer.

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/posix_util.h"
#include "platform/status.h"

namespace morva::posix {

// Opens the directory `relative` below the directory handle `root_fd` as an O_PATH handle, following no
// symbolic link and never leaving `root_fd`: ELOOP when a component is a link, EXDEV for a ".." that
// would climb out. An empty `relative` fails with ENOENT. openat2 does it in one call; kernels (or
// sandboxes) without it get WalkBeneath.
Status OpenBeneath(int root_fd, std::string_view relative, ScopedFd* fd);

// The same, one component at a time with O_NOFOLLOW opens; ".." is refused (EXDEV) wherever it stands.
Status WalkBeneath(int root_fd, std::string_view relative, ScopedFd* fd);

class Confinement {
 public:
  // Declares `host_roots` (absolute host paths of directories) until the matching End; they stand in for
  // the roots declared before. Each root is resolved now, following links, and remembered by its device
  // and inode; a root that does not exist yet is resolved when a path below it is first used.
  void Begin(const std::vector<std::string>& host_roots);

  // Ends the latest Begin: the roots declared before it apply again.
  void End();

  // Where the operation on `host_path` finds its entry. Below a declared root (the innermost one that
  // holds it), the handle of its directory reached from the root by OpenBeneath and its last component:
  // ELOOP for a link on the way, EXDEV when the root is no longer the directory first found there.
  // Elsewhere (the roots themselves included) AT_FDCWD and the path itself. `host_path` is absolute and
  // free of "." and ".." components, as ToHostPath makes it. The handle stays valid across one more Locate (a move locates both of its ends), not
  // longer.
  Status Locate(std::string_view host_path, EntryRef* entry);

  // Forgets the handles of `host_path` and of every directory below it: the entry there has moved.
  void Forget(std::string_view host_path);

  // Deletion never enters another file system mounted in the tree: below a root, EXDEV when the entry
  // itself (a link is not followed) lies on another mount than the root, as everything does in a file
  // system or a bind mount mounted inside the tree, the mount point itself included. `host` names the
  // entry in the failure. Elsewhere always Ok.
  static Status CheckOnRootMount(const EntryRef& entry, std::string_view host);

 private:
  struct Root {
    bool pinned = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t mount = 0;  // the mount it lies on, 0 when unknown
  };
  struct CachedDirectory {
    std::string path;
    ScopedFd fd;
    std::uint64_t root_mount = 0;
    std::uint64_t last_use = 0;
  };

  // The innermost declared root holding `dir` (itself included) and its path, or null.
  Root* InnermostRoot(std::string_view dir, std::string* root_path);
  // Opens a root by its path and checks, or first records, which directory it is.
  static Status OpenRoot(const std::string& path, Root* root, ScopedFd* fd);
  // The cached handle of `dir`, or null.
  CachedDirectory* Cached(std::string_view dir);
  // Caches `fd` as the handle of `dir` below a root on mount `root_mount` in place of the least
  // recently used one; returns it.
  CachedDirectory* Cache(std::string_view dir, ScopedFd fd, std::uint64_t root_mount);
  void ClearCache();

  std::vector<std::unordered_map<std::string, Root>> scopes_;
  // A few directories, so that the two ends of a move or copy and the walk's next target all hit.
  std::array<CachedDirectory, 4> cache_;
  std::uint64_t clock_ = 0;
};

}  // namespace morva::posix

#endif  // MORVA_PLATFORM_POSIX_CONFINEMENT_H_
