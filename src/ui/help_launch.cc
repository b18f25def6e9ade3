// Placeholder until the dialog is built.
#include "ui/help_launch.h"

namespace morva {

void OpenHelp(UiContext&) {}
void OpenLog(UiContext&) {}

}  // namespace morva
