// PosixFileSystem: directory search and the status of one path.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/posix_file_system.h"
#include "platform/posix_util.h"

namespace morva {

Status PosixFileSystem::Stat(std::string_view path, FindData* data) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  struct statx st {};
  if (statx(AT_FDCWD, host.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, posix::kStatxMask, &st) != 0) {
    return posix::ErrnoStatus(errno, "statx", host);
  }
  bool link_to_directory = false;
  if (S_ISLNK(st.stx_mode)) {
    struct stat target {};
    link_to_directory = stat(host.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
  }
  DosAttrib dos;
  bool have_dos = false;
  if (S_ISREG(st.stx_mode) || S_ISDIR(st.stx_mode)) {
    int err = 0;
    have_dos = posix::ReadDosAttrib(host, &dos, &err) == posix::DosAttribState::kFound;
  }
  FindData result;
  if (Status s = codec_->Utf8ToCp932(posix::HostBaseName(host), &result.name); !s.ok()) return s;
  posix::FillFindData(st, have_dos ? &dos : nullptr, link_to_directory, &result);
  *data = std::move(result);
  return Status::Ok();
}

std::unique_ptr<FileSystem> NewPosixFileSystem(TextCodec* codec) {
  return std::make_unique<PosixFileSystem>(codec);
}

}  // namespace morva
