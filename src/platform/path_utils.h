#ifndef MORVA_PLATFORM_PATH_UTILS_H_
#define MORVA_PLATFORM_PATH_UTILS_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace morva {

class FileSystem;
class TextCodec;

// The engine's path utilities. Paths are code page 932 Windows-form paths ("Z:\dir\name",
// "\\server\share\dir"). Every function is double-byte aware: a lead byte and its trail are never split,
// and a trail byte is never taken for '\', '.', '*', '?' or '%'.

// The longest path the engine handles, in bytes, without the terminator.
inline constexpr std::size_t kMaxPath = 260;

// What ClassifyPath found.
enum PathClass {
  kPathInvalid = 0,      // too long, a forbidden character, or neither "X:\" nor "\\" at the start
  kPathMissing = 1,      // a drive root of unknown type or without a root directory, or a missing path
  kPathDriveRoot = 2,    // "X:\" of a drive that exists
  kPathExists = 3,       // an existing file or directory
  kPathUnc = 4,          // "\\" followed by at least one byte (not checked further)
};

PathClass ClassifyPath(FileSystem& fs, std::string_view path);

// False for bytes 1 to 31 and for \ / : * ? " < > |; with `relaxed`, '/', ':' and '?' are allowed (where
// they are legal, as in regular expressions).
bool IsFileNameChar(unsigned char byte, bool relaxed);

// True when `text` holds a one-byte character that a file name cannot hold (IsFileNameChar, not
// relaxed); two-byte characters always pass, whatever their trail byte.
bool HasForbiddenNameChar(std::string_view text);

// "dir\name" after removing one trailing '\' from `dir`; `name` alone when `dir` is empty.
std::string JoinPath(std::string_view dir, std::string_view name);

// Splits off the last component. The directory of a component right below a drive root keeps its '\'
// ("Z:\a" gives "Z:\" and "a"); a path without '\' has an empty directory. False (outputs untouched) for
// a path over kMaxPath bytes.
bool SplitPath(std::string_view path, std::string* dir, std::string* name);

// Base name and extension of a name. A directory, a name without '.', or a name whose only '.' is its
// first byte is all base with an empty extension; otherwise the base runs up to the last '.' and the
// extension follows it (without the '.').
void SplitName(std::string_view name, bool is_directory, std::string* base, std::string* ext);

// As SplitName for a file, but leading dots are skipped before the last '.' is searched, so ".x.txt"
// gives ".x" and "txt", and "..y" is all base.
void SplitBaseExt(std::string_view name, std::string* base, std::string* ext);

// The offset of the last / first byte `c` that is not the trail of a double-byte character, or npos.
std::size_t FindLastChar(std::string_view text, char c);
std::size_t FindFirstChar(std::string_view text, char c);

// Looks up an environment variable by name and gives its value as engine text, or nothing when the
// variable is not defined.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Expands a typed path: references "%NAME%" standing one after another at the very beginning of the
// path are replaced by their values (the closing '%' must come before the next '\'; expansion stops at
// the first byte that is not such a reference, and a reference to an undefined variable stays as it is
// and ends the expansion). Then "\." components are removed and "\.." climbs one component; a ".." that
// would climb above the drive stops the resolution there, at the drive root.
std::string ExpandPath(std::string_view in, const EnvironmentLookup& lookup);

// The path in the one form the host layer resolves it to, so that a target has one spelling whatever
// way it was typed: repeated '\' count as one, "." components are dropped, ".." removes the component
// before it (a ".." at "X:\" or at a share's root stays there, as on the host), and a trailing '\'
// goes ("X:\" keeps its own). Letter case and blanks are kept. A path that starts neither with "X:\"
// nor with "\\" comes back as it is, for ClassifyPath to refuse.
std::string NormalizePath(std::string_view path);

// Creates every missing directory along `path` (at most kMaxPath bytes), left to right. False at the
// first failure; directories created before it stay.
bool MakeDirectories(FileSystem& fs, std::string_view path);

// True for "X:\..." and "\\server\share": the engine's own forms of a path.
bool IsEnginePathForm(std::string_view path);

// A path as a person gives it (UTF-8, typed or dropped) in the engine's form: "Z:\..." or "\\server\share"
// is taken as it is, anything else is a host path.
Status PathAsGiven(TextCodec& codec, FileSystem& fs, std::string_view given, std::string* engine);

}  // namespace morva

#endif  // MORVA_PLATFORM_PATH_UTILS_H_
