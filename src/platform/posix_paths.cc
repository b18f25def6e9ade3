#include "platform/host_paths.h"
#include "platform/posix_file_system.h"
#include "platform/volume_info.h"

namespace morva {

// The file system reads the host's own tables; the functions behind these take their locations as
// arguments so that tests can feed them fixtures.

Status PosixFileSystem::ToHostPath(std::string_view engine_path, std::string* host_path) {
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
