#include "engine/directory_cache.h"

#include <vector>

#include "platform/cp932.h"

namespace morva {

std::string FoldName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    std::size_t length = 0;
    const cp932::Char c = cp932::CharAt(name, i, &length);
    cp932::AppendChar(cp932::ToUpper(c), &out);
    i += length;
  }
  return out;
}

void DirectoryCache::Load(FileSystem& fs, std::string_view directory, const std::vector<std::string>* names) {
  if (loaded_ && directory_ == directory) return;
  Clear();
  loaded_ = true;
  directory_.assign(directory);
  if (names != nullptr) {
    exact_.reserve(names->size());
    folded_.reserve(names->size());
    for (const std::string& name : *names) Add(name);
    return;
  }
  std::vector<FindData> entries;
  if (!fs.FindFiles(directory, "*.*", &entries, nullptr).ok()) return;
  exact_.reserve(entries.size());
  folded_.reserve(entries.size());
  for (FindData& e : entries) Add(std::move(e.name));
}

void DirectoryCache::Clear() {
  loaded_ = false;
  directory_.clear();
  exact_.clear();
  folded_.clear();
}

void DirectoryCache::Add(std::string name) {
  ++folded_[FoldName(name)];
  exact_.insert(std::move(name));
}

bool DirectoryCache::Collides(std::string_view old_name, std::string_view new_name) const {
  const std::string new_key(new_name);
  if (new_name != old_name && exact_.count(new_key) != 0) return true;
  const std::string folded_new = FoldName(new_name);
  if (folded_new == FoldName(old_name)) return false;
  return folded_.count(folded_new) != 0;
}

void DirectoryCache::Rename(std::string_view old_name, std::string_view new_name) {
  if (exact_.erase(std::string(old_name)) != 0) {
    auto it = folded_.find(FoldName(old_name));
    if (it != folded_.end() && --it->second <= 0) folded_.erase(it);
  }
  Add(std::string(new_name));
}

}  // namespace morva
