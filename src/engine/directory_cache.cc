#include "engine/directory_cache.h"

#include <vector>

#include "platform/cp932.h"

namespace morva {

void FoldName(std::string_view name, std::string* out) {
  out->clear();
  for (std::size_t i = 0; i < name.size();) {
    const unsigned char byte = static_cast<unsigned char>(name[i]);
    if (byte < 0x80) {  // most names are ASCII: no character decoding for them
      out->push_back(static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 0x20 : byte));
      ++i;
      continue;
    }
    std::size_t length = 0;
    const cp932::Char c = cp932::CharAt(name, i, &length);
    cp932::AppendChar(cp932::ToUpper(c), out);
    i += length;
  }
}

std::string FoldName(std::string_view name) {
  std::string out;
  FoldName(name, &out);
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
  FoldName(name, &fold_new_);
  if (auto it = folded_.find(std::string_view(fold_new_)); it != folded_.end()) {
    ++it->second;
  } else {
    folded_.emplace(fold_new_, 1);
  }
  exact_.insert(std::move(name));
}

bool DirectoryCache::Collides(std::string_view old_name, std::string_view new_name) const {
  if (new_name != old_name && exact_.find(new_name) != exact_.end()) return true;
  FoldName(new_name, &fold_new_);
  FoldName(old_name, &fold_old_);
  if (fold_new_ == fold_old_) return false;
  return folded_.find(std::string_view(fold_new_)) != folded_.end();
}

void DirectoryCache::Rename(std::string_view old_name, std::string_view new_name) {
  if (auto exact = exact_.find(old_name); exact != exact_.end()) {
    exact_.erase(exact);
    FoldName(old_name, &fold_old_);
    auto it = folded_.find(std::string_view(fold_old_));
    if (it != folded_.end() && --it->second <= 0) folded_.erase(it);
  }
  Add(std::string(new_name));
}

}  // namespace morva
