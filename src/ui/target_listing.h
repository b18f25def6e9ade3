#ifndef MORVA_UI_TARGET_LISTING_H_
#define MORVA_UI_TARGET_LISTING_H_

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/target_enumeration.h"

namespace morva {

struct Session;

// What the target panel holds at the moment the target list window is refreshed.
struct TargetListQuery {
  int mode = 1;                          // 1 a path, 2 the list of files
  QString path_text;                     // mode 1: the path box as it stands
  bool typing = false;                   // mode 1: the refresh comes from typing in the path box
  std::vector<std::string> list_entries;  // mode 2: the list's engine paths
  std::array<bool, 12> flags{};          // the panel's check boxes, indexed as SW_SET
  QString wildcard;                      // the wildcard box
  QString lower_bound;                   // "yyyy/MM/dd HH:mm:ss" of a bound in force, else empty
  QString upper_bound;
};

struct TargetRow {
  EntryRow entry;
  bool directory = false;
  bool grey = false;  // the current flags would not convert it
  bool whole_path = false;  // entry.name is the whole engine path (file-list mode), not a name
};

// The rows of the target list window and where they come from.
struct TargetListing {
  std::vector<TargetRow> rows;
  std::string directory;      // the directory listed (engine path); empty when nothing was listed
  bool drive_root = false;    // the directory listed is a drive root
  bool pattern = false;       // the path holds '*' or '?'
  bool single_file = false;   // the path names one file, listed as the only row
  // The path box's text after tidying (blanks and doubled or trailing separators), when it changed:
  // the caller writes it back and lists again.
  std::optional<QString> tidied_path;
};

// Lists what the query names; never reports an error (a path that is not there lists nothing).
TargetListing ListTargets(Session& session, const TargetListQuery& query);

// The path box's text tidied as the list does before listing it.
QString TidyTypedPath(const QString& text);

}  // namespace morva

#endif  // MORVA_UI_TARGET_LISTING_H_
