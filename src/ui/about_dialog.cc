// Placeholder until the dialog is built.
#include "ui/about_dialog.h"

namespace morva {

void ShowAboutDialog(UiContext&, QWidget*) {}

}  // namespace morva
