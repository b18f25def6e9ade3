#ifndef MORVA_ENGINE_PROGRAM_FILES_H_
#define MORVA_ENGINE_PROGRAM_FILES_H_

#include <array>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/user_area_table.h"

namespace morva {

// The names of the program's own files in its directory: the settings file, the three preset files, the
// log, its journal (which is also the lock every run, undo and trim holds) and the log's trimming copy.
// A run that renamed, deleted or changed one of them would lose the settings or every earlier run's
// undo; they are never targets.
inline constexpr std::array<std::string_view, 8> kProgramFileNames = {
    "morva.dat",  "morvaset.dat", "morvascr.dat",    "morvarpl.dat",
    "mvlogs.txt", "mvlogs.jnl",   "temp_mvlogs.txt", UserAreaTable::kFileName};

// The program directory and its files as entries of the file system, told apart from other entries by
// their identity (device and inode), so that a path through a link, a hard link or another spelling
// still names them and a file of the same name elsewhere is an ordinary target.
class ProgramFiles {
 public:
  // Looks them up for `program_directory` (an engine path; empty: nothing is protected). The directories
  // above it are looked up one by one along its path, each as the path names it; a component that is a
  // symbolic link stands for the link, not for what it points at (the front ends name the program
  // directory by its real path).
  void Load(FileSystem& fs, std::string_view program_directory);

  // The program directory itself or one of its files (present when Load looked).
  bool IsProgramEntry(const FileIdentity& identity) const { return Contains(entries_, identity); }
  // A directory that holds the program directory, at any depth.
  bool HoldsProgramDirectory(const FileIdentity& identity) const { return Contains(holders_, identity); }
  // Either: an entry a run never converts, renames, deletes or copies onto.
  bool Protects(const FileIdentity& identity) const {
    return IsProgramEntry(identity) || HoldsProgramDirectory(identity);
  }

 private:
  static bool Contains(const std::vector<FileIdentity>& set, const FileIdentity& identity);

  std::vector<FileIdentity> entries_;
  std::vector<FileIdentity> holders_;
};

}  // namespace morva

#endif  // MORVA_ENGINE_PROGRAM_FILES_H_
