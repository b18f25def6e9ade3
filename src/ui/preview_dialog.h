#ifndef MORVA_UI_PREVIEW_DIALOG_H_
#define MORVA_UI_PREVIEW_DIALOG_H_

#include <string>
#include <vector>

#include "core/preview_record.h"
#include "core/user_interface.h"

class QWidget;

namespace morva {

struct UiContext;

// Runs the modal preview dialog over `records` (see UserInterface::ShowPreview): the person excludes
// and includes targets (an excluded record's state is negated in place) and ends it with a run, a copy
// run (the chosen output directory stored in *copy_directory) or cancel. Its geometry and column widths
// are kept in the application settings.
PreviewChoice RunPreviewDialog(UiContext& context, QWidget* owner, std::vector<PreviewRecord>& records,
                               const std::vector<std::string>& targets, std::string* copy_directory);

}  // namespace morva

#endif  // MORVA_UI_PREVIEW_DIALOG_H_
