#include "platform/host_paths.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/mount_table.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits UTF-8 text on the given separators, dropping empty names.
std::vector<std::string> SplitNames(std::string_view text, std::string_view separators) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) names.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// Drops "." and resolves ".." against the previous name; a ".." with nothing before it is dropped, as
// the parent of a root is the root itself.
std::vector<std::string> ResolveDots(std::vector<std::string> names) {
  std::vector<std::string> out;
  out.reserve(names.size());
  for (std::string& name : names) {
    if (name == ".") continue;
    if (name == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    out.push_back(std::move(name));
  }
  return out;
}

Status CurrentDirectory(std::string* cwd) {
  std::string buffer(256, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return Status::Error(errno, "getcwd");
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  // Linux once reported a directory outside the process root as "(unreachable)/...": not a path.
  if (buffer.empty() || buffer[0] != '/') return Status::Error(ENOENT, "getcwd");
  *cwd = std::move(buffer);
  return Status::Ok();
}

}  // namespace

Status SplitEnginePath(TextCodec* codec, std::string_view engine_path, EnginePathParts* parts) {
  if (engine_path.find('\0') != std::string_view::npos) return Status::Error(EINVAL, "NUL in path");
  // The first two bytes are tested as bytes: the first byte of a string is always a character boundary,
  // and neither a drive letter nor '\' is a lead byte, so the second is one too.
  std::string_view rest;
  bool unc = false;
  if (engine_path.size() >= 2 && engine_path[0] == '\\' && engine_path[1] == '\\') {
    unc = true;
    rest = engine_path.substr(2);
  } else if (engine_path.size() >= 2 && IsAsciiLetter(engine_path[0]) && engine_path[1] == ':') {
    if (engine_path[0] != 'Z' && engine_path[0] != 'z') return Status::Error(EINVAL, "no such drive");
    rest = engine_path.substr(2);
    // "Z:name" is relative to the drive's current directory, which the host has no notion of.
    if (!rest.empty() && rest[0] != '\\' && rest[0] != '/') return Status::Error(EINVAL, "drive-relative path");
  } else {
    return Status::Error(EINVAL, "relative path");
  }

  std::string utf8;
  if (Status s = codec->Cp932ToUtf8(rest, &utf8); !s.ok()) return s;
  std::vector<std::string> names = SplitNames(utf8, "\\/");
  parts->unc = unc;
  parts->server.clear();
  parts->share.clear();
  if (unc) {
    if (names.size() < 2) return Status::Error(EINVAL, "UNC path without a share");
    for (std::size_t i = 0; i < 2; ++i) {
      if (names[i] == "." || names[i] == "..") return Status::Error(EINVAL, "UNC path without a share");
    }
    parts->server = std::move(names[0]);
    parts->share = std::move(names[1]);
    names.erase(names.begin(), names.begin() + 2);
  }
  parts->names = ResolveDots(std::move(names));
  return Status::Ok();
}

Status EngineToHostPath(const HostLocations& locations, TextCodec* codec, std::string_view engine_path,
                        std::string* host_path) {
  EnginePathParts parts;
  if (Status s = SplitEnginePath(codec, engine_path, &parts); !s.ok()) return s;
  std::string path;
  if (parts.unc) {
    MountTable mounts;
    if (Status s = mounts.Load(locations.mountinfo); !s.ok()) return s;
    const MountEntry* share = mounts.FindShare(parts.server, parts.share);
    if (share == nullptr) return Status::Error(ENOTCONN, "share not mounted");
    path = share->mount_point == "/" ? std::string() : share->mount_point;
  }
  for (const std::string& name : parts.names) {
    path += '/';
    path += name;
  }
  if (path.empty()) path.push_back('/');
  *host_path = std::move(path);
  return Status::Ok();
}

Status HostToEnginePath(TextCodec* codec, std::string_view host_path, std::string* engine_path) {
  if (host_path.empty()) return Status::Error(EINVAL, "empty path");
  if (host_path.find('\0') != std::string_view::npos) return Status::Error(EINVAL, "NUL in path");
  std::string absolute;
  if (host_path[0] != '/') {
    if (Status s = CurrentDirectory(&absolute); !s.ok()) return s;
    absolute += '/';
  }
  absolute += host_path;

  std::string utf8 = "Z:";
  const std::vector<std::string> names = ResolveDots(SplitNames(absolute, "/"));
  for (const std::string& name : names) {
    // In UTF-8 the byte 0x5C is only ever U+005C itself.
    if (name.find('\\') != std::string::npos) return Status::Error(EINVAL, "name containing a backslash");
    utf8 += '\\';
    utf8 += name;
  }
  if (names.empty()) utf8 += '\\';

  std::string cp932;
  if (Status s = codec->Utf8ToCp932(utf8, &cp932); !s.ok()) return s;
  *engine_path = std::move(cp932);
  return Status::Ok();
}

bool HostNameFits(TextCodec* codec, std::string_view name) {
  // One code page 932 byte becomes at most three UTF-8 bytes (a half-width katakana is one byte here and
  // three there; a double-byte character at most three), so the usual short name needs no conversion.
  if (name.size() * 3 <= kHostNameMax) return true;
  std::string utf8;
  if (!codec->Cp932ToUtf8(name, &utf8).ok()) return true;
  return utf8.size() <= kHostNameMax;
}

bool HostCanHoldName(TextCodec* codec, std::string_view name) {
  // Bytes 1 to 127 stand for themselves, so the usual name needs no conversion.
  const bool plain = std::all_of(name.begin(), name.end(), [](char c) { return c > 0; });
  if (plain) return true;
  if (name.find('\0') != std::string_view::npos) return false;
  std::string utf8;
  return codec->Cp932ToUtf8(name, &utf8).ok();
}

}  // namespace morva
