// Temporary: the operations of PosixFileSystem not written yet. Each moves to its own file.
#include <cerrno>

#include "platform/posix_file_system.h"

namespace morva {

Status PosixFileSystem::GetVolumeLabel(std::string_view, std::string*) {
  return Status::Error(ENOSYS, "GetVolumeLabel");
}
DriveType PosixFileSystem::GetDriveType(std::string_view) { return DriveType::kUnknown; }

}  // namespace morva
