#include "engine/program_files.h"

#include <algorithm>
#include <string>

#include "platform/path_utils.h"

namespace morva {

void ProgramFiles::Load(FileSystem& fs, std::string_view program_directory) {
  entries_.clear();
  holders_.clear();
  if (program_directory.empty()) return;
  FindData data;
  if (!fs.Stat(program_directory, &data).ok()) return;
  entries_.push_back(data.identity);
  for (std::string_view name : kProgramFileNames) {
    if (fs.Stat(JoinPath(program_directory, name), &data).ok()) entries_.push_back(data.identity);
  }
  // Every directory up to the root: deleting or renaming any of them takes the program directory along.
  std::string dir(program_directory);
  std::string parent, name;
  while (SplitPath(dir, &parent, &name) && !parent.empty() && parent != dir) {
    if (fs.Stat(parent, &data).ok()) holders_.push_back(data.identity);
    dir = std::move(parent);
  }
}

bool ProgramFiles::Contains(const std::vector<FileIdentity>& set, const FileIdentity& identity) {
  if (identity == FileIdentity()) return false;
  return std::find(set.begin(), set.end(), identity) != set.end();
}

}  // namespace morva
