// Temporary: the operations of PosixFileSystem not written yet. Each moves to its own file.
#include <cerrno>

#include "platform/posix_file_system.h"

namespace morva {

Status PosixFileSystem::FindFiles(std::string_view, std::string_view, std::vector<FindData>*, std::size_t*) {
  return Status::Error(ENOSYS, "FindFiles");
}
Status PosixFileSystem::GetVolumeLabel(std::string_view, std::string*) {
  return Status::Error(ENOSYS, "GetVolumeLabel");
}
DriveType PosixFileSystem::GetDriveType(std::string_view) { return DriveType::kUnknown; }

}  // namespace morva
