#include "ui/output_directory_dialog.h"

namespace morva {

bool AskCopyOutputDirectory(UiContext&, QWidget*, std::string*) { return false; }

}  // namespace morva
