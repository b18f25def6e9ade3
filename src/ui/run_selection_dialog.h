#ifndef MORVA_UI_RUN_SELECTION_DIALOG_H_
#define MORVA_UI_RUN_SELECTION_DIALOG_H_

#include <string>

class QWidget;

namespace morva {

struct UiContext;

// Lets the person pick one run of the log to undo ("△ログから元に戻す"): the runs with 不可 / 済み / 未.
// Returns true with the run's identifier in *run_id when one was chosen; false when cancelled or when
// the log could not be read (its message already shown).
bool ChooseLoggedRun(UiContext& context, QWidget* owner, std::string* run_id);

}  // namespace morva

#endif  // MORVA_UI_RUN_SELECTION_DIALOG_H_
