// Placeholder until the dialog is built.
#include "ui/run_selection_dialog.h"

namespace morva {

bool UndoFromLogDialog(UiContext&, QWidget*) { return false; }

}  // namespace morva
