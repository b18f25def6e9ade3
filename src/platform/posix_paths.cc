#include "platform/cp932.h"
#include "platform/host_paths.h"
#include "platform/posix_file_system.h"
#include "platform/volume_info.h"

namespace morva {

// The file system reads the host's own tables; the functions behind these take their locations as
// arguments so that tests can feed them fixtures.

namespace {

// The offset of the last '\' of a code page 932 path (never the trail byte of a double-byte character),
// or npos.
std::size_t LastBackslash(std::string_view path) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size();) {
    if (path[i] == '\\') last = i;
    i += cp932::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size() ? 2 : 1;
  }
  return last;
}

}  // namespace

Status PosixFileSystem::ToHostPath(std::string_view engine_path, std::string* host_path) {
  // A run names entry after entry of one directory: the directory's host form is kept from the last
  // call, and only the name is converted. Only a plain name on drive Z: takes this way; anything else
  // ("." or "..", a '/' or a NUL, a share) goes the whole way.
  const std::size_t slash = LastBackslash(engine_path);
  const bool drive_z = engine_path.size() >= 2 && (engine_path[0] == 'Z' || engine_path[0] == 'z') && engine_path[1] == ':';
  if (drive_z && slash != std::string_view::npos) {
    const std::string_view directory = engine_path.substr(0, slash);
    const std::string_view name = engine_path.substr(slash + 1);
    if (!name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos) {
      if (directory != cached_engine_directory_) {
        cached_engine_directory_.clear();
        if (!EngineToHostPath(HostLocations(), codec_, directory, &cached_host_directory_).ok()) {
          return EngineToHostPath(HostLocations(), codec_, engine_path, host_path);
        }
        cached_engine_directory_.assign(directory);
      }
      std::string utf8_name;
      if (Status s = codec_->Cp932ToUtf8(name, &utf8_name); !s.ok()) return s;
      host_path->assign(cached_host_directory_);
      if (host_path->back() != '/') host_path->push_back('/');
      host_path->append(utf8_name);
      return Status::Ok();
    }
  }
  return EngineToHostPath(HostLocations(), codec_, engine_path, host_path);
}

Status PosixFileSystem::FromHostPath(std::string_view host_path, std::string* engine_path) {
  return HostToEnginePath(codec_, host_path, engine_path);
}

Status PosixFileSystem::GetVolumeLabel(std::string_view path, std::string* label) {
  return ReadVolumeLabel(HostLocations(), codec_, path, label);
}

DriveType PosixFileSystem::GetDriveType(std::string_view path) {
  return ReadDriveType(HostLocations(), codec_, path);
}

}  // namespace morva
