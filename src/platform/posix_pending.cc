// Temporary: the operations of PosixFileSystem not written yet. Each moves to its own file.
#include <cerrno>

#include "platform/posix_file_system.h"

namespace morva {

Status PosixFileSystem::FindFiles(std::string_view, std::string_view, std::vector<FindData>*, std::size_t*) {
  return Status::Error(ENOSYS, "FindFiles");
}
Status PosixFileSystem::Stat(std::string_view, FindData*) { return Status::Error(ENOSYS, "Stat"); }
Status PosixFileSystem::SetAttributes(std::string_view, std::uint32_t) {
  return Status::Error(ENOSYS, "SetAttributes");
}
Status PosixFileSystem::SetTimes(std::string_view, const FileTime*, const FileTime*, const FileTime*) {
  return Status::Error(ENOSYS, "SetTimes");
}
Status PosixFileSystem::Move(std::string_view, std::string_view) { return Status::Error(ENOSYS, "Move"); }
Status PosixFileSystem::Copy(std::string_view, std::string_view, bool) { return Status::Error(ENOSYS, "Copy"); }
Status PosixFileSystem::CreateDirectory(std::string_view) { return Status::Error(ENOSYS, "CreateDirectory"); }

std::unique_ptr<FileSystem> NewPosixFileSystem(TextCodec* codec) {
  return std::make_unique<PosixFileSystem>(codec);
}

}  // namespace morva
