#ifndef MORVA_UI_DROPPED_PATHS_H_
#define MORVA_UI_DROPPED_PATHS_H_

#include <QStringList>

class QMimeData;

namespace morva {

struct UiContext;

// The engine paths (as texts to show) of the local files and folders in a drop (text/uri-list), in the
// order they came. Items without an engine form (a name without a code page 932 form) are left out.
QStringList DroppedEnginePaths(UiContext& context, const QMimeData* mime);

}  // namespace morva

#endif  // MORVA_UI_DROPPED_PATHS_H_
