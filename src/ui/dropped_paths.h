#ifndef MORVA_UI_DROPPED_PATHS_H_
#define MORVA_UI_DROPPED_PATHS_H_

#include <QStringList>

class QDropEvent;
class QLineEdit;
class QMimeData;

namespace morva {

struct UiContext;

// The engine paths (as texts to show, in host form) of the local files and folders in a drop (text/uri-list), in the
// order they came. Items without an engine form (a name without a code page 932 form) are left out and,
// when `refused` is given, added to it as host paths, so that the person can be told.
QStringList DroppedEnginePaths(UiContext& context, const QMimeData* mime, QStringList* refused = nullptr);

// Tells the person which paths could not become targets ("変換対象パスが不正です。" and the paths, one a
// line); nothing when `refused` is empty.
void ReportRefusedPaths(UiContext& context, const QStringList& refused);

// A dialog's path box taking a drop: the first dropped path becomes its text, the box takes the focus
// and the dialog comes to the front. A drop without a path that has an engine form is ignored.
void DropFirstPathInto(UiContext& context, QDropEvent* event, QLineEdit* box);

}  // namespace morva

#endif  // MORVA_UI_DROPPED_PATHS_H_
