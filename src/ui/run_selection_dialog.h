#ifndef MORVA_UI_RUN_SELECTION_DIALOG_H_
#define MORVA_UI_RUN_SELECTION_DIALOG_H_

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "log/log_scan.h"
#include "undo/undo_from_log.h"

class QWidget;

namespace Ui {
class RunSelectionDialog;
}

namespace morva {

struct UiContext;

// "MORVA - 「ログから元に戻す」ログ内変換実行日時選択": the runs of the log (newest selected), the chosen
// run's log lines and "元に戻す実行" with its checks and question. It ends accepted once the person has
// confirmed a run that has something to undo; its geometry and column widths go back to the
// application settings when it closes.
class RunSelectionDialog : public QDialog {
  Q_OBJECT

 public:
  RunSelectionDialog(UiContext& context, std::vector<LoggedRun> runs, QWidget* owner);
  ~RunSelectionDialog() override;

  // The identifier of the confirmed run; empty until the dialog is accepted.
  const std::string& chosen_run() const { return chosen_run_; }

  void done(int result) override;

 private:
  void ConnectSignals();
  void RestoreGeometry();
  void StoreGeometry();
  const LoggedRun* SelectedRun() const;
  void ShowSelectedRun();
  void ConfirmSelectedRun();

  UiContext& context_;
  std::vector<LoggedRun> runs_;
  std::unique_ptr<Ui::RunSelectionDialog> ui_;
  std::string chosen_run_;
};

// "△ログから元に戻す": lets the person pick one run of the log (the runs with 不可 / 済み / 未 and the
// chosen run's log lines), confirms it and undoes it from the log, showing every message on the way.
// Returns true when an undo ran (the caller refreshes the target list window and the undo button).
bool UndoFromLogDialog(UiContext& context, QWidget* owner);

// The steps of UndoFromLogDialog between the scan of the log and the undo, for a caller that runs those
// two elsewhere (ScanRuns, then UndoConfirmedRunFromLog). ChooseRunToUndo takes what the scan found
// (`found` its result): it tells the person why nothing can be chosen, or shows the runs and puts the
// one chosen and confirmed in *run_id; false when nothing is to be undone.
bool ChooseRunToUndo(UiContext& context, QWidget* owner, int found, std::vector<LoggedRun> runs, std::string* run_id);
// Tells the person what they must still know of how the undo ended; true when it ran.
bool TakeLogUndoOutcome(QWidget* owner, LogUndoOutcome outcome);

}  // namespace morva

#endif  // MORVA_UI_RUN_SELECTION_DIALOG_H_
