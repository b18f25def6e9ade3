#ifndef MORVA_PLATFORM_MOUNT_TABLE_H_
#define MORVA_PLATFORM_MOUNT_TABLE_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace morva {

// One line of /proc/self/mountinfo. Paths and the source are unescaped (the kernel writes a space as
// "\040", a backslash as "\134" and so on).
struct MountEntry {
  int mount_id = 0;
  int parent_id = 0;
  unsigned major = 0;  // the st_dev of files on this mount (0 for file systems without a device)
  unsigned minor = 0;
  std::string root;         // the directory of the file system that is mounted ("/" for the whole)
  std::string mount_point;  // absolute host path
  std::string options;      // per-mount options ("rw,relatime")
  std::string fs_type;      // "ext4", "cifs", "fuse.sshfs"
  std::string source;       // "/dev/sda1", "//server/share", "tmpfs"
  std::string super_options;
};

// The mounts of this process, in the order the kernel lists them. Mounts stack: one mounted on the same
// directory as another hides it. Pure data: building and querying it touches nothing but its text.
class MountTable {
 public:
  MountTable() = default;

  // Replaces the table with the mounts in `text` (the format of /proc/<pid>/mountinfo). Empty lines are
  // skipped. A line without the fields up to the super options, or with a non-numeric id or device,
  // fails the whole parse with EINVAL and leaves the table empty: a half-read table could name the
  // wrong mount for a path.
  Status Parse(std::string_view text);

  // Parse of the file at `path` (normally "/proc/self/mountinfo"); the errno of a failed read otherwise.
  Status Load(const std::string& path);

  const std::vector<MountEntry>& entries() const { return entries_; }

  // The mount that holds the absolute, normalized host path `path` (no "." or ".." components, no
  // repeated slashes), found as the kernel walks a path: from the root mount, component by component,
  // into the last mount listed on that directory of the current mount. A mount covered by a later one
  // is therefore never the answer. No symbolic link is resolved. Null when the table has no root mount
  // (one on "/" whose parent is not listed).
  const MountEntry* FindMountOf(std::string_view path) const;

  // The visible CIFS/SMB mount (type "cifs", "smb3" or "smbfs") whose source is //server/share,
  // `server` and `share` (UTF-8) compared with its source case-insensitively as a Windows server
  // compares names. A mount of only a directory inside the share ("//server/share/dir") does not count,
  // nor does one that paths cannot reach (FindMountOf of its mount point is another mount). Null when
  // none; the last listed when several.
  const MountEntry* FindShare(std::string_view server, std::string_view share) const;

 private:
  // The index of the last mount on `mount_point` whose parent is entries_[parent]; kNone when none.
  std::size_t FindChild(std::size_t parent, std::string_view mount_point) const;

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  std::vector<MountEntry> entries_;
  std::size_t root_ = kNone;  // index of the namespace's root mount
};

// The mountinfo form of a path field decoded: every backslash followed by three octal digits becomes
// the byte they give; anything else is kept as it is.
std::string UnescapeMountField(std::string_view field);

// Whether two UTF-8 names are equal when letter case is ignored: ASCII letters and the letters code page
// 932 has in both cases (full-width Latin, Greek, Cyrillic). Invalid UTF-8 is compared byte for byte.
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace morva

#endif  // MORVA_PLATFORM_MOUNT_TABLE_H_
