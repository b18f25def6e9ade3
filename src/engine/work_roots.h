#ifndef MORVA_ENGINE_WORK_ROOTS_H_
#define MORVA_ENGINE_WORK_ROOTS_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/app_settings.h"
#include "core/host.h"
#include "core/undo_list.h"

namespace morva {

// The directories a preview, run or undo works below. They are declared to the file system
// (FileSystem::ConfineTo) so that a symbolic link swapped into the tree while the work goes on cannot
// lead it outside: the person chose these directories, not whatever a link in them points at.

// The directory a directory-mode target path stands for: the path itself when it is a directory (or a
// link the person gave to one) or is missing, else, for a file or a wildcard in its last component,
// the directory holding it.
std::string DirectoryTargetRoot(FileSystem& fs, std::string_view target);

// The roots of a preview or run of the current job: in directory mode the directory of the target path,
// in list mode the directory of each listed item; with `copy_conversion` also the output directory.
std::vector<std::string> RunRoots(Host& host, const AppSettings& app, bool copy_conversion);

// The roots for undoing a run read back from the log: the directory its header names as its target (a
// directory-mode run; list-mode runs name a number of files there), else the directory of every record
// of `undo`, which are those the run's directory lines name.
std::vector<std::string> LoggedRunRoots(FileSystem& fs, std::string_view logged_target, const UndoList& undo);

}  // namespace morva

#endif  // MORVA_ENGINE_WORK_ROOTS_H_
