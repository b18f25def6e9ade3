#ifndef MORVA_ENGINE_DIRECTORY_CACHE_H_
#define MORVA_ENGINE_DIRECTORY_CACHE_H_

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/file_system.h"

namespace morva {

// The entry names of the directory that holds the current preview target, so that the preview can say
// "already exists" the way the run's move would refuse, and later targets see the names earlier ones
// took. Names are kept exactly and case-folded: Windows file systems refuse a name equal to another one
// ignoring case, and a case-sensitive host directory may hold both x.txt and X.txt. Every question
// costs O(1).
class DirectoryCache {
 public:
  // Makes `directory` the cached one unless it is cached already: from `names` when given (a listing
  // taken moments before), else by listing it. A directory that cannot be listed is cached as empty.
  void Load(FileSystem& fs, std::string_view directory, const std::vector<std::string>* names);

  // Forgets everything.
  void Clear();

  // Whether renaming `old_name` to `new_name` would meet another entry: one named exactly `new_name`
  // other than the target itself, or one equal to `new_name` ignoring case when `new_name` is not
  // `old_name` ignoring case.
  bool Collides(std::string_view old_name, std::string_view new_name) const;

  // Records an accepted rename: `old_name` leaves, `new_name` arrives.
  void Rename(std::string_view old_name, std::string_view new_name);

 private:
  // Looks names up as string views: a preview asks two questions per target, and a name built for the
  // question would cost an allocation each time.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };

  void Add(std::string name);

  bool loaded_ = false;
  std::string directory_;
  std::unordered_set<std::string, NameHash, std::equal_to<>> exact_;
  // folded name -> number of entries with it
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> folded_;
  // Scratch for the folded names of one question, kept to reuse their capacity.
  mutable std::string fold_old_, fold_new_;
};

// Replaces *out by `name` with every character upper-cased as cp932::ToUpper does.
void FoldName(std::string_view name, std::string* out);
std::string FoldName(std::string_view name);

}  // namespace morva

#endif  // MORVA_ENGINE_DIRECTORY_CACHE_H_
