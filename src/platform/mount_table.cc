#include "platform/mount_table.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>
#include <unordered_set>

namespace morva {
namespace {

bool ParseInt(std::string_view text, int* value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool ParseUnsigned(std::string_view text, unsigned* value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end && !text.empty();
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start < line.size()) {
    std::size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    if (end > start) fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

bool ParseLine(std::string_view line, MountEntry* entry) {
  const std::vector<std::string_view> f = SplitFields(line);
  // Six fixed fields, any number of optional fields, "-", then type, source and super options.
  std::size_t dash = 6;
  while (dash < f.size() && f[dash] != "-") ++dash;
  if (dash + 3 >= f.size()) return false;
  if (!ParseInt(f[0], &entry->mount_id) || !ParseInt(f[1], &entry->parent_id)) return false;
  const std::size_t colon = f[2].find(':');
  if (colon == std::string_view::npos || !ParseUnsigned(f[2].substr(0, colon), &entry->major) ||
      !ParseUnsigned(f[2].substr(colon + 1), &entry->minor)) {
    return false;
  }
  entry->root = UnescapeMountField(f[3]);
  entry->mount_point = UnescapeMountField(f[4]);
  entry->options = std::string(f[5]);
  entry->fs_type = UnescapeMountField(f[dash + 1]);
  entry->source = UnescapeMountField(f[dash + 2]);
  entry->super_options = UnescapeMountField(f[dash + 3]);
  return true;
}

bool IsShareType(std::string_view type) { return type == "cifs" || type == "smb3" || type == "smbfs"; }

// Decodes one UTF-8 sequence at *pos; false on a malformed one.
bool NextCodePoint(std::string_view s, std::size_t* pos, char32_t* cp) {
  const unsigned char b0 = static_cast<unsigned char>(s[*pos]);
  std::size_t length;
  char32_t value;
  if (b0 < 0x80) {
    length = 1, value = b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    length = 2, value = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, value = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, value = b0 & 0x07;
  } else {
    return false;
  }
  if (*pos + length > s.size()) return false;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(s[*pos + i]);
    if ((b & 0xC0) != 0x80) return false;
    value = (value << 6) | (b & 0x3F);
  }
  *pos += length;
  *cp = value;
  return true;
}

char32_t FoldCase(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;  // full-width Latin
  if (c == 0x03C2) return 0x03A3;                    // final sigma
  if (c >= 0x03B1 && c <= 0x03C9) return c - 0x20;  // Greek
  if (c >= 0x0430 && c <= 0x044F) return c - 0x20;  // Cyrillic
  if (c >= 0x0450 && c <= 0x045F) return c - 0x50;
  return c;
}

}  // namespace

std::string UnescapeMountField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const char a = field[i + 1], b = field[i + 2], c = field[i + 3];
      if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
        out.push_back(static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0')));
        i += 3;
        continue;
      }
    }
    out.push_back(field[i]);
  }
  return out;
}

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t ca, cb;
    if (!NextCodePoint(a, &i, &ca) || !NextCodePoint(b, &j, &cb)) return a == b;
    if (FoldCase(ca) != FoldCase(cb)) return false;
  }
  return i == a.size() && j == b.size();
}

Status MountTable::Parse(std::string_view text) {
  entries_.clear();
  root_ = kNone;
  std::vector<MountEntry> entries;
  std::size_t start = 0;
  int line_number = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (line.find_first_not_of(' ') == std::string_view::npos) continue;
    MountEntry entry;
    if (!ParseLine(line, &entry)) {
      return Status::Error(EINVAL, "mountinfo line " + std::to_string(line_number));
    }
    entries.push_back(std::move(entry));
  }
  entries_ = std::move(entries);
  // The root of the namespace: a mount on "/" whose parent lies outside what this process sees.
  std::unordered_set<int> ids;
  for (const MountEntry& entry : entries_) ids.insert(entry.mount_id);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const MountEntry& entry = entries_[i];
    if (entry.mount_point == "/" && (entry.parent_id == entry.mount_id || ids.count(entry.parent_id) == 0)) {
      root_ = i;
    }
  }
  return Status::Ok();
}

Status MountTable::Load(const std::string& path) {
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "re"));
  if (!file) return Status::Error(errno, path);
  // The size of a proc file is unknown in advance: read until the end.
  std::string text;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0) text.append(buffer, n);
  if (std::ferror(file.get())) return Status::Error(EIO, path);
  return Parse(text);
}

std::size_t MountTable::FindChild(std::size_t parent, std::string_view mount_point) const {
  std::size_t found = kNone;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i != parent && entries_[i].parent_id == entries_[parent].mount_id &&
        entries_[i].mount_point == mount_point) {
      found = i;
    }
  }
  return found;
}

const MountEntry* MountTable::FindMountOf(std::string_view path) const {
  if (path.empty() || path[0] != '/') return nullptr;
  std::size_t current = root_;
  if (current == kNone) return nullptr;
  // Each directory on the way may carry a stack of mounts, each mounted on the one below it. The bound
  // on the stack height only guards against a damaged table whose parents form a cycle.
  auto climb = [this, &current](std::string_view point) {
    for (std::size_t guard = 0; guard < entries_.size(); ++guard) {
      const std::size_t child = FindChild(current, point);
      if (child == kNone) return;
      current = child;
    }
  };
  climb("/");
  std::size_t end = 1;
  while (end < path.size()) {
    std::size_t next = path.find('/', end);
    if (next == std::string_view::npos) next = path.size();
    if (next > end) climb(path.substr(0, next));
    end = next + 1;
  }
  return &entries_[current];
}

const MountEntry* MountTable::FindShare(std::string_view server, std::string_view share) const {
  const MountEntry* found = nullptr;
  for (const MountEntry& entry : entries_) {
    if (!IsShareType(entry.fs_type)) continue;
    std::string source = entry.source;
    for (char& c : source) {
      if (c == '\\') c = '/';
    }
    if (source.size() < 2 || source[0] != '/' || source[1] != '/') continue;
    std::string_view rest = std::string_view(source).substr(2);
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) continue;
    const std::string_view source_share = rest.substr(slash + 1);
    if (source_share.find('/') != std::string_view::npos) continue;
    if (!NamesEqualIgnoringCase(rest.substr(0, slash), server) ||
        !NamesEqualIgnoringCase(source_share, share)) {
      continue;
    }
    if (FindMountOf(entry.mount_point) == &entry) found = &entry;
  }
  return found;
}

}  // namespace morva
