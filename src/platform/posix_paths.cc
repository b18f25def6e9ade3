#include <cerrno>

#include "platform/posix_file_system.h"

namespace morva {

// First cut: drive Z: only. UNC shares, relative host paths, volume labels and drive types follow.
Status PosixFileSystem::ToHostPath(std::string_view engine_path, std::string* host_path) {
  if (engine_path.size() < 2 || (engine_path[0] != 'Z' && engine_path[0] != 'z') || engine_path[1] != ':') {
    return Status::Error(EINVAL, "not a path on drive Z:");
  }
  std::string utf8;
  if (Status s = codec_->Cp932ToUtf8(engine_path.substr(2), &utf8); !s.ok()) return s;
  host_path->clear();
  for (char c : utf8) host_path->push_back(c == '\\' ? '/' : c);
  if (host_path->empty() || (*host_path)[0] != '/') host_path->insert(host_path->begin(), '/');
  return Status::Ok();
}

Status PosixFileSystem::FromHostPath(std::string_view host_path, std::string* engine_path) {
  if (host_path.empty() || host_path[0] != '/') return Status::Error(EINVAL, "relative host path");
  std::string cp932;
  if (Status s = codec_->Utf8ToCp932(host_path, &cp932); !s.ok()) return s;
  *engine_path = "Z:";
  for (char c : cp932) engine_path->push_back(c == '/' ? '\\' : c);
  return Status::Ok();
}

}  // namespace morva
