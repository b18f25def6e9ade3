#include "settings/program_directory.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace morva {
namespace {

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p: every missing directory of `path` (absolute), the new ones private to the user, as the
// freedesktop base directory rules ask for the configuration directory.
bool MakeDirectories(const std::string& path, std::string* error) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      *error = "cannot create " + part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) break;
  }
  if (!IsDirectory(path)) {
    *error = path + " is not a directory";
    return false;
  }
  return true;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string ExecutableDirectory() {
  std::string path(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return std::string();
  path.resize(static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ChooseProgramDirectory(const ProgramDirectoryPlaces& places, std::string* error) {
  const std::string& beside = places.executable_directory;
  if (!beside.empty() && access(beside.c_str(), W_OK) == 0 &&
      !IsDirectory(beside + "/" + std::string(kInstalledDataDirectory))) {
    return beside;
  }
  std::string config = places.xdg_config_home;
  // The base directory rules: a relative path in the variable is to be ignored.
  if (config.empty() || config[0] != '/') {
    if (places.home.empty() || places.home[0] != '/') {
      *error = "neither $XDG_CONFIG_HOME nor $HOME names a directory for the settings";
      return std::string();
    }
    config = places.home + "/.config";
  }
  while (config.size() > 1 && config.back() == '/') config.pop_back();
  const std::string directory = config + "/morva";
  if (!MakeDirectories(directory, error)) return std::string();
  return directory;
}

std::string ProgramDirectory(std::string* error) {
  return RealDirectory(
      ChooseProgramDirectory({ExecutableDirectory(), Environment("XDG_CONFIG_HOME"), Environment("HOME")}, error));
}

std::string RealDirectory(const std::string& directory) {
  if (directory.empty()) return directory;
  std::unique_ptr<char, decltype(&free)> real(realpath(directory.c_str(), nullptr), &free);
  return real ? std::string(real.get()) : directory;
}

}  // namespace morva
