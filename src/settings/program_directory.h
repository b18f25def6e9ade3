#ifndef MORVA_SETTINGS_PROGRAM_DIRECTORY_H_
#define MORVA_SETTINGS_PROGRAM_DIRECTORY_H_

#include <string>
#include <string_view>

// The program directory: where the settings file, the presets and the log live. Both front ends take it
// from here, so that the console and the window always share one job.
namespace morva {

// The directory (host path) of the running executable, from /proc/self/exe; empty when unknown.
std::string ExecutableDirectory();

// Where the installed help document and other read-only data live, relative to the executable's
// directory: <prefix>/bin/../share/morva.
inline constexpr std::string_view kInstalledDataDirectory = "../share/morva";

// What the choice depends on, so that it can be made for any layout.
struct ProgramDirectoryPlaces {
  std::string executable_directory;  // host path
  std::string xdg_config_home;       // $XDG_CONFIG_HOME, empty when unset
  std::string home;                  // $HOME, empty when unset
};

// The program directory (host path) for `places`:
//   - the executable's directory when this user may write there and it is not an installed layout (a
//     build tree, a copy unpacked somewhere): what the program always did;
//   - otherwise $XDG_CONFIG_HOME/morva, or ~/.config/morva when that variable is unset, empty or not
//     an absolute path; created (with its parents, mode 0700 for a new one) when missing.
// An installed layout is a directory whose ../share/morva exists: an installation under a prefix the
// user may write to (~/.local) or one run as root must not write beside the executable either.
// Returns an empty string with a one-line reason in *error when no directory can be had.
std::string ChooseProgramDirectory(const ProgramDirectoryPlaces& places, std::string* error);

// ChooseProgramDirectory for the running executable and the environment, by its real path.
std::string ProgramDirectory(std::string* error);

// The real path of `directory` (a host path; links and dots resolved), or `directory` as it is when it
// cannot be resolved. A run tells the program's own files, and the directories holding them, by the
// directories along the program directory's path: those must be the real ones.
std::string RealDirectory(const std::string& directory);

}  // namespace morva

#endif  // MORVA_SETTINGS_PROGRAM_DIRECTORY_H_
