#ifndef MORVA_PLATFORM_MOVE_TEMPORARY_H_
#define MORVA_PLATFORM_MOVE_TEMPORARY_H_

#include <string>
#include <string_view>

namespace morva {

// The name of the entry, beside `to`, that FileSystem::Move passes through when a move cannot be made in
// one step (a case-only rename on a case-insensitive file system): ".morva-" + 16 hexadecimal digits + ".tmp",
// the digits a hash of the engine path `to`. The name depends on `to` alone, so a journal can note it
// before the move and find the entry under it after a process killed half way.
std::string MoveTemporaryName(std::string_view to);

// The engine path of that entry: the directory of `to` (up to its last '\\') and MoveTemporaryName(to).
// Empty when `to` has no directory part.
std::string MoveTemporaryPath(std::string_view to);

}  // namespace morva

#endif  // MORVA_PLATFORM_MOVE_TEMPORARY_H_
