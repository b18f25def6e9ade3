#ifndef MORVA_PLATFORM_PRIVATE_FILE_H_
#define MORVA_PLATFORM_PRIVATE_FILE_H_

#include <string>
#include <string_view>

#include "platform/status.h"

namespace morva {

// Where the program puts files made for the person's own programs to read (the copy of the log a viewer
// shows), as host paths: "morva" in the user's runtime directory (`runtime_dir`, $XDG_RUNTIME_DIR),
// which is private and emptied at logout; else in the cache directory (`cache_home`, $XDG_CACHE_HOME,
// else `home`/.cache). A relative or empty variable is ignored, as the base directory rules ask. Empty
// when none of them names a directory.
std::string ChoosePrivateDirectory(std::string_view runtime_dir, std::string_view cache_home, std::string_view home);

// ChoosePrivateDirectory with this process's environment.
std::string PrivateDirectory();

// Whether the host directory `directory` is the user's alone: a directory, not a symbolic link, owned
// by this user, with no permission for the group or others (what $XDG_RUNTIME_DIR must be). EPERM
// when it is not, the lstat error when it cannot be looked at.
Status CheckPrivateDirectory(const std::string& directory);

// Creates the host directory `directory` (absolute) with its missing parents, mode 0700, and checks it
// with CheckPrivateDirectory: one made by someone else first, or left open to others, is refused.
Status MakePrivateDirectory(const std::string& directory);

// Replaces the file `name` in the host directory `directory` with `data`, readable and writable by the
// owner alone (mode 0600), atomically: a reader (a viewer still showing the previous copy) sees the
// whole old file or the whole new one. The directory is created, private to the user (0700), when it
// is missing; one that is a symbolic link, or that belongs to someone else or that others may write
// into, is refused (EPERM), so that nobody else can read or swap the file. On failure no temporary
// file is left behind. The path of the file is in *path on success.
Status WritePrivateFile(const std::string& directory, std::string_view name, std::string_view data,
                        std::string* path);

}  // namespace morva

#endif  // MORVA_PLATFORM_PRIVATE_FILE_H_
