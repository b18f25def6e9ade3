#include "platform/path_utils.h"

#include <cerrno>
#include <vector>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Offsets of the single-byte characters equal to `c` in order, scanning characters from the start.
template <typename Visit>
void ForEachSingleByte(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (cp932::IsLeadByte(b)) {
      i += 2;
      continue;
    }
    if (!visit(i, b)) return;
    ++i;
  }
}

// The length of the root of a path: "X:" (2) for a drive, "\\server\share" for a UNC path, 0 otherwise.
std::size_t RootLength(std::string_view path) {
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') return 2;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    int separators = 0;
    std::size_t end = path.size();
    ForEachSingleByte(path.substr(2), [&](std::size_t i, unsigned char b) {
      if (b == '\\' && ++separators == 2) {
        end = i + 2;
        return false;
      }
      return true;
    });
    return end;
  }
  return 0;
}

// Splits on '\' (never on a trail byte); an empty text gives one empty part.
std::vector<std::string_view> SplitOnBackslash(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  ForEachSingleByte(text, [&](std::size_t i, unsigned char b) {
    if (b == '\\') {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
    return true;
  });
  parts.push_back(text.substr(start));
  return parts;
}

// Removes "." components and resolves ".." against the component before it, keeping the root.
std::string ResolveDots(std::string_view path) {
  const std::size_t root = RootLength(path);
  std::string_view rest = path.substr(root);
  const bool absolute = !rest.empty() && rest[0] == '\\';
  if (absolute) rest.remove_prefix(1);

  const std::vector<std::string_view> parts = SplitOnBackslash(rest);
  std::vector<std::string_view> kept;
  std::size_t stopped_at = parts.size();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i] == ".") continue;
    if (parts[i] == "..") {
      if (kept.empty()) {
        // Climbing above the drive: leave this and everything after it as typed.
        stopped_at = i;
        break;
      }
      kept.pop_back();
      continue;
    }
    kept.push_back(parts[i]);
  }

  std::string out(path.substr(0, root));
  if (absolute) out += '\\';
  bool first = true;
  auto append = [&](std::string_view part) {
    if (!first) out += '\\';
    out.append(part);
    first = false;
  };
  for (std::string_view part : kept) append(part);
  for (std::size_t i = stopped_at; i < parts.size(); ++i) append(parts[i]);
  return out;
}

bool IsDirectory(FileSystem& fs, std::string_view path) {
  FindData data;
  return fs.Stat(path, &data).ok() && (data.attributes & kAttrDirectory) != 0;
}

}  // namespace

bool IsFileNameChar(unsigned char byte, bool relaxed) {
  if (byte < 32) return false;
  switch (byte) {
    case '\\': case '*': case '"': case '<': case '>': case '|':
      return false;
    case '/': case ':': case '?':
      return relaxed;
    default:
      return true;
  }
}

bool HasForbiddenNameChar(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (cp932::IsLeadByte(b)) {
      i += 2;
      continue;
    }
    if (!IsFileNameChar(b, false)) return true;
    ++i;
  }
  return false;
}

PathClass ClassifyPath(FileSystem& fs, std::string_view path) {
  if (path.size() > kMaxPath) return kPathInvalid;
  bool forbidden = false;
  ForEachSingleByte(path, [&](std::size_t i, unsigned char b) {
    if (!IsFileNameChar(b, false) && b != '\\' && !(b == ':' && i == 1)) forbidden = true;
    return !forbidden;
  });
  if (forbidden) return kPathInvalid;

  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return path.size() > 2 ? kPathUnc : kPathInvalid;
  if (path.size() < 3 || !IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\') return kPathInvalid;

  if (path.size() == 3) {
    const DriveType type = fs.GetDriveType(path);
    return (type == DriveType::kUnknown || type == DriveType::kNoRootDir) ? kPathMissing : kPathDriveRoot;
  }
  FindData data;
  return fs.Stat(path, &data).ok() ? kPathExists : kPathMissing;
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  std::string out(dir);
  const std::size_t last = FindLastChar(dir, '\\');
  if (last != std::string_view::npos && last + 1 == dir.size()) out.pop_back();
  out += '\\';
  out.append(name);
  return out;
}

bool SplitPath(std::string_view path, std::string* dir, std::string* name) {
  if (path.size() > kMaxPath) return false;
  const std::size_t last = FindLastChar(path, '\\');
  if (last == std::string_view::npos) {
    dir->clear();
    name->assign(path);
    return true;
  }
  // The separator of a drive root ("Z:\") belongs to the directory.
  const bool drive_root = last == 2 && RootLength(path) == 2;
  dir->assign(path.substr(0, drive_root ? last + 1 : last));
  name->assign(path.substr(last + 1));
  return true;
}

void SplitName(std::string_view name, bool is_directory, std::string* base, std::string* ext) {
  const std::size_t dot = is_directory ? std::string_view::npos : FindLastChar(name, '.');
  if (dot == std::string_view::npos || dot == 0) {
    base->assign(name);
    ext->clear();
    return;
  }
  base->assign(name.substr(0, dot));
  ext->assign(name.substr(dot + 1));
}

void SplitBaseExt(std::string_view name, std::string* base, std::string* ext) {
  std::size_t leading = 0;
  while (leading < name.size() && name[leading] == '.') ++leading;
  const std::size_t dot = FindLastChar(name.substr(leading), '.');
  if (dot == std::string_view::npos) {
    base->assign(name);
    ext->clear();
    return;
  }
  base->assign(name.substr(0, leading + dot));
  ext->assign(name.substr(leading + dot + 1));
}

std::size_t FindLastChar(std::string_view text, char c) {
  std::size_t found = std::string_view::npos;
  ForEachSingleByte(text, [&](std::size_t i, unsigned char b) {
    if (b == static_cast<unsigned char>(c)) found = i;
    return true;
  });
  return found;
}

std::size_t FindFirstChar(std::string_view text, char c) {
  std::size_t found = std::string_view::npos;
  ForEachSingleByte(text, [&](std::size_t i, unsigned char b) {
    if (b != static_cast<unsigned char>(c)) return true;
    found = i;
    return false;
  });
  return found;
}

std::string ExpandPath(std::string_view in, const EnvironmentLookup& lookup) {
  std::string expanded;
  std::size_t pos = 0;
  while (pos < in.size() && in[pos] == '%') {
    const std::string_view rest = in.substr(pos + 1);
    const std::size_t close = FindFirstChar(rest, '%');
    const std::size_t separator = FindFirstChar(rest, '\\');
    if (close == std::string_view::npos || (separator != std::string_view::npos && separator < close)) break;
    std::optional<std::string> value = lookup(rest.substr(0, close));
    if (!value) break;
    expanded += *value;
    pos += close + 2;
  }
  expanded.append(in.substr(pos));
  return ResolveDots(expanded);
}

std::string NormalizePath(std::string_view path) {
  const std::size_t root = RootLength(path);
  const bool drive = root == 2;
  if (root == 0 || (drive && (path.size() < 3 || path[2] != '\\'))) return std::string(path);

  std::vector<std::string_view> kept;
  for (std::string_view part : SplitOnBackslash(path.substr(root))) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  std::string out(path.substr(0, root));
  if (drive && kept.empty()) out += '\\';
  for (std::string_view part : kept) {
    out += '\\';
    out.append(part);
  }
  return out;
}

bool MakeDirectories(FileSystem& fs, std::string_view path) {
  if (path.size() > kMaxPath) return false;
  const std::size_t root = RootLength(path);
  std::vector<std::size_t> ends;
  ForEachSingleByte(path, [&](std::size_t i, unsigned char b) {
    if (b == '\\' && i > root) ends.push_back(i);
    return true;
  });
  if (ends.empty() || ends.back() + 1 != path.size()) ends.push_back(path.size());
  for (std::size_t end : ends) {
    const std::string_view prefix = path.substr(0, end);
    if (IsDirectory(fs, prefix)) continue;
    const Status s = fs.CreateDirectory(prefix);
    if (!s.ok() && !(s.code() == EEXIST && IsDirectory(fs, prefix))) return false;
  }
  return true;
}

bool IsEnginePathForm(std::string_view path) {
  const bool drive_form = path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
                          ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive_form || path.substr(0, 2) == "\\\\";
}

Status PathAsGiven(TextCodec& codec, FileSystem& fs, std::string_view given, std::string* engine) {
  return IsEnginePathForm(given) ? codec.Utf8ToCp932(given, engine) : fs.FromHostPath(given, engine);
}

}  // namespace morva
