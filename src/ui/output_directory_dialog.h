#ifndef MORVA_UI_OUTPUT_DIRECTORY_DIALOG_H_
#define MORVA_UI_OUTPUT_DIRECTORY_DIALOG_H_

#include <string>

class QWidget;

namespace morva {

struct UiContext;

// The copy conversion's output-directory dialog, starting from *directory (an engine path); true with
// the chosen engine path in *directory, false when cancelled.
bool AskCopyOutputDirectory(UiContext& context, QWidget* owner, std::string* directory);

}  // namespace morva

#endif  // MORVA_UI_OUTPUT_DIRECTORY_DIALOG_H_
