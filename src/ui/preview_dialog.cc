// Placeholder until the dialog is built.
#include "ui/preview_dialog.h"

namespace morva {

PreviewChoice RunPreviewDialog(UiContext&, QWidget*, std::vector<PreviewRecord>&, const std::vector<std::string>&,
                               std::string*) {
  return PreviewChoice::kCancel;
}

}  // namespace morva
