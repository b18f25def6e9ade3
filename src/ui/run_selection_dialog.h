#ifndef MORVA_UI_RUN_SELECTION_DIALOG_H_
#define MORVA_UI_RUN_SELECTION_DIALOG_H_

class QWidget;

namespace morva {

struct UiContext;

// "△ログから元に戻す": lets the person pick one run of the log (the runs with 不可 / 済み / 未 and the
// chosen run's log lines), confirms it and undoes it from the log, showing every message on the way.
// Returns true when an undo ran (the caller refreshes the target list window and the undo button).
bool UndoFromLogDialog(UiContext& context, QWidget* owner);

}  // namespace morva

#endif  // MORVA_UI_RUN_SELECTION_DIALOG_H_
