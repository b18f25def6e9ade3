#ifndef MORVA_PLATFORM_HOST_PATHS_H_
#define MORVA_PLATFORM_HOST_PATHS_H_

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace morva {

class TextCodec;

// Where the host publishes its mounts and devices. The defaults are the real locations; tests point them
// at fixtures in a temporary directory.
struct HostLocations {
  std::string mountinfo = "/proc/self/mountinfo";
  std::string disk_by_label = "/dev/disk/by-label";
  std::string sys_dev_block = "/sys/dev/block";  // "<major>:<minor>" links to the block devices
};

// An engine path taken apart, its names in UTF-8.
struct EnginePathParts {
  bool unc = false;
  std::string server;  // UNC only
  std::string share;   // UNC only
  // The names below the root ("Z:\" or "\\server\share\"), with "." dropped and ".." resolved textually.
  // A ".." at the root stays at the root, so a UNC path never leaves its share.
  std::vector<std::string> names;
};

// Splits `engine_path` (code page 932): "Z:" or "z:" with an optional rest that starts with a separator,
// or "\\server\share" with an optional rest. Either '\' or '/' separates names; repeated separators count
// as one. The text is converted to UTF-8 before it is split, so the trail byte 0x5C of a double-byte
// character is never a separator. Fails with EINVAL for another drive letter, a relative path, a UNC
// path without a server or share (or one named "." or ".."), or a NUL byte (which would cut the host path
// short); EILSEQ when the text is not valid code page 932.
Status SplitEnginePath(TextCodec* codec, std::string_view engine_path, EnginePathParts* parts);

// The host path of an engine path (the contract of FileSystem::ToHostPath). A UNC path is looked up in
// the mount table at `locations.mountinfo`: ENOTCONN when no reachable CIFS/SMB mount has the source
// //server/share, or the error of reading the table.
Status EngineToHostPath(const HostLocations& locations, TextCodec* codec, std::string_view engine_path,
                        std::string* host_path);

// The engine path of a host path (the contract of FileSystem::FromHostPath): always the "Z:\" form, also
// below a mounted share. A relative path is joined to the current directory; "." and ".." are resolved
// textually; repeated and trailing slashes are dropped. Fails with EINVAL for an empty path, a NUL byte or
// a name containing '\' (which the engine would split in two); EILSEQ when the path has no code page 932
// form (or no user-defined code is left for one of its characters: ENOSPC); the errno of getcwd when it
// fails.
Status HostToEnginePath(TextCodec* codec, std::string_view host_path, std::string* engine_path);

// The longest name, in bytes of its UTF-8 form, that the host's file systems hold in one directory
// entry. Whole paths have room to spare: the engine's 260 bytes become at most 780 of UTF-8 (after a
// share's mount point), far below PATH_MAX (4096).
inline constexpr std::size_t kHostNameMax = NAME_MAX;

// Whether the host can hold the code page 932 name `name` as one entry: its UTF-8 form has at most
// kHostNameMax bytes. A name that fits in 260 bytes here may not fit there ("ア" is two bytes here and
// three there). True for a name without a UTF-8 form: that is a different failure, which the move or
// copy reports.
bool HostNameFits(TextCodec* codec, std::string_view name);

// Whether the host can hold the code page 932 name `name` at all: it has a UTF-8 form and no NUL byte.
// False for a broken double-byte character (a lead byte without its trail) or one the code page leaves
// unassigned, which text from a pattern file or a hand-edited setting can carry; the preview refuses
// such a name as the run does.
bool HostCanHoldName(TextCodec* codec, std::string_view name);

}  // namespace morva

#endif  // MORVA_PLATFORM_HOST_PATHS_H_
