#ifndef MORVA_CORE_TARGET_CONTEXT_H_
#define MORVA_CORE_TARGET_CONTEXT_H_

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace morva {

// What the name rules and the steps of a run know about the target being converted. The run refreshes
// it for every target before anything else; the previous target's directory stays behind in
// `previous_directory`.
struct TargetContext {
  std::string path;                // the full engine path
  FindData find_data;              // attributes, the three times, the entry name
  std::string name;                // the entry name (last component)
  std::string directory;           // the path without its last component ("Z:\" keeps its '\')
  std::string previous_directory;  // `directory` of the previous target; empty for the first
  std::string parent_name;         // the last component of `directory`; empty below a root
  std::string volume_label;        // the label of the file system holding the path; empty when unknown
  std::string base;                // SplitName of the entry name: all of a directory's name
  std::string extension;           // without the dot; empty for a directory or a name without one
  bool is_directory = false;

  // The label of `label_directory` was read last; files of one directory share their volume, so the
  // label is read once per directory instead of once per target.
  std::string label_directory;
};

// Refreshes *context for the target `path` whose find data is `data`. The volume label is asked of
// `fs` (empty when that fails); the directory of the previous target moves to previous_directory. A
// path over kMaxPath bytes still gets its directory and names, split without the length check.
void RefreshTargetContext(FileSystem& fs, std::string_view path, const FindData& data, TargetContext* context);

}  // namespace morva

#endif  // MORVA_CORE_TARGET_CONTEXT_H_
