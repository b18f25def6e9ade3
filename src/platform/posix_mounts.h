#ifndef MORVA_PLATFORM_POSIX_MOUNTS_H_
#define MORVA_PLATFORM_POSIX_MOUNTS_H_

// Which mount an entry lies on, told from handles rather than paths: a bind mount of a directory of the
// same device has the same st_dev, so only the mount id tells it apart. Internal to the host layer.

#include <cstdint>
#include <string>

#include "platform/posix_util.h"

namespace morva::posix {

// The id of the mount holding the entry `name` of `dir_fd` (the entry itself: a link is not followed,
// an automount is not triggered), or of `dir_fd` itself when `name` is empty. 0 or an errno value.
int MountIdOf(int dir_fd, const char* name, std::uint64_t* id);

// Whether the entry `name` of `dir_fd` is the root of a mount (a mount point seen from above).
// 0 or an errno value.
int IsMountRoot(int dir_fd, const char* name, bool* root);

// Opens the root directory of the mount holding the directory `dir_fd` (an O_PATH handle), climbing
// through ".." while the mount stays the same. 0 or an errno value.
int OpenMountRoot(int dir_fd, ScopedFd* root);

// Whether a file system is mounted anywhere below the directory `name` of `dir_fd` (/proc/self/mountinfo):
// renaming the directory would carry the mount along. 0 or an errno value.
int HoldsMount(int dir_fd, const std::string& name, bool* holds);

// The file system type of the mount holding the directory `dir_fd` as /proc/self/mountinfo names it
// ("ext4", "vfat", "fuse.sshfs"). 0 or an errno value (ENOENT when the mount is not listed).
int FileSystemTypeOf(int dir_fd, std::string* type);

// Where the directory `dir_fd` is now, as the kernel names it (/proc/self/fd): the path it has at this
// moment, whatever path led to it. ENOENT when it has been removed. 0 or an errno value.
int CurrentPathOf(int dir_fd, std::string* path);

}  // namespace morva::posix

#endif  // MORVA_PLATFORM_POSIX_MOUNTS_H_
