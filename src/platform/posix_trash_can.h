#ifndef MORVA_PLATFORM_POSIX_TRASH_CAN_H_
#define MORVA_PLATFORM_POSIX_TRASH_CAN_H_

// The freedesktop.org trash, kept through directory handles: which trash directory takes an entry, and
// putting the entry there by a rename from the directory handle that holds it, so that no path is
// walked again between the checks of the run and the move. Internal to the host layer.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/posix_util.h"
#include "platform/status.h"

namespace morva::posix {

// A trash directory: its files/ and info/ halves as O_PATH handles.
struct TrashCan {
  ScopedFd files;
  ScopedFd info;
  // Where the Path= of a .trashinfo starts from: empty for the home trash, whose paths are absolute;
  // else the host path of the top directory of the mount, and paths are relative to it.
  std::string top;
};

// The trash of an entry of the directory `dir_fd` lying on mount `mount`: the home trash
// ($XDG_DATA_HOME/Trash) when the home trash lies on that same mount; else the trash at the top of that
// mount: $top/.Trash/$uid when $top/.Trash is a directory (not a link) with the sticky bit, otherwise
// $top/.Trash-$uid. A directory of this user's own trash must be this user's and no link. A file
// system whose files do not outlive the machine's next start (tmpfs, ramfs) gets no trash at its top:
// what went there would be deleted in disguise, and the desktop's trash does not list it.
//
// With `create`, missing directories are created (mode 0700) and *can receives the handles. Without,
// nothing is created and *can is left empty: Ok says the trash is there and writable, or could be
// created. ENOTSUP when the entry's file system has no trash it could be renamed into; another errno
// value when the trash cannot be used.
Status FindTrashCan(int dir_fd, std::uint64_t mount, bool create, TrashCan* can);

// Moves the entry `name` of `dir_fd` into `can` under a name unique among files/ and info/: its
// .trashinfo is created first (exclusively, naming where the entry is at that moment, as the kernel
// names the directory handle), then the entry is renamed; when the rename fails the .trashinfo goes and
// the entry stays. Never replaces anything, never copies. When the directory moved while the entry was
// renamed (its path before differs from its path after), the entry is put back and the call fails with
// EAGAIN: the .trashinfo could not be sure to name where it was. `host` names the entry in a failure.
Status MoveIntoTrash(int dir_fd, const std::string& name, const TrashCan& can, std::string_view host);

// The text of a .trashinfo: `path` percent-encoded (every byte but the unreserved ones and '/') and
// the local time `deleted` as YYYY-MM-DDThh:mm:ss.
std::string TrashInfoText(std::string_view path, const struct tm& deleted);

}  // namespace morva::posix

#endif  // MORVA_PLATFORM_POSIX_TRASH_CAN_H_
