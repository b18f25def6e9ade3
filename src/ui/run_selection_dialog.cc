// Placeholder until the dialog is built.
#include "ui/run_selection_dialog.h"

namespace morva {

bool ChooseLoggedRun(UiContext&, QWidget*, std::string*) { return false; }

}  // namespace morva
