#include "engine/work_roots.h"

#include <algorithm>

#include "platform/path_utils.h"
#include "platform/file_system.h"

namespace morva {
namespace {

// The directory holding `path`. A path without one, or too long to be split (nor reached), stands for
// itself.
std::string DirectoryOf(std::string_view path) {
  std::string dir, name;
  if (!SplitPath(path, &dir, &name) || dir.empty()) return std::string(path);
  return dir;
}

bool HasWildcard(std::string_view name) {
  return FindFirstChar(name, '*') != std::string_view::npos || FindFirstChar(name, '?') != std::string_view::npos;
}

// "X:..." or "\\...": a path, where the header of a list-mode run names a number of files.
bool IsEnginePath(std::string_view text) {
  if (text.size() < 2) return false;
  if (text[0] == '\\' && text[1] == '\\') return true;
  const char drive = static_cast<char>(text[0] | 0x20);
  return drive >= 'a' && drive <= 'z' && text[1] == ':';
}

void SortUnique(std::vector<std::string>* roots) {
  std::sort(roots->begin(), roots->end());
  roots->erase(std::unique(roots->begin(), roots->end()), roots->end());
}

}  // namespace

std::string DirectoryTargetRoot(FileSystem& fs, std::string_view target) {
  std::string dir, name;
  if (SplitPath(target, &dir, &name) && HasWildcard(name)) return DirectoryOf(target);
  FindData data;
  if (fs.Stat(target, &data).ok() && (data.attributes & kAttrDirectory) == 0) return DirectoryOf(target);
  return std::string(target);
}

std::vector<std::string> RunRoots(Host& host, const AppSettings& app, bool copy_conversion) {
  std::vector<std::string> roots;
  if (app.set_0 == 2) {
    for (const std::string& item : app.list_items) roots.push_back(DirectoryOf(item));
  } else {
    roots.push_back(DirectoryTargetRoot(host.fs, app.dirfil[0].value_or(std::string())));
  }
  if (copy_conversion) roots.emplace_back(app.cpdir.view());
  SortUnique(&roots);
  return roots;
}

std::vector<std::string> LoggedRunRoots(FileSystem& fs, std::string_view logged_target, const UndoList& undo) {
  if (IsEnginePath(logged_target)) return {DirectoryTargetRoot(fs, logged_target)};
  std::vector<std::string> roots;
  for (const UndoRecord& record : undo.records()) roots.push_back(DirectoryOf(record.current_path));
  SortUnique(&roots);
  return roots;
}

}  // namespace morva
