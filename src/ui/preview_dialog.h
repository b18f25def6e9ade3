#ifndef MORVA_UI_PREVIEW_DIALOG_H_
#define MORVA_UI_PREVIEW_DIALOG_H_

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "core/preview_record.h"

class QWidget;

namespace Ui {
class PreviewDialog;
}

namespace morva {

struct UiContext;
class PreviewTableModel;

// The preview "MORVA - 変換プレビュー": what the job would do to every target, the commands that exclude
// targets from the run and the counts. It reads its options, geometry and column widths from the
// application settings and writes them back when it closes.
class PreviewDialog : public QDialog {
  Q_OBJECT

 public:
  PreviewDialog(UiContext& context, std::vector<PreviewRecord>& records, const std::vector<std::string>& targets,
                std::string* copy_directory, QWidget* owner);
  ~PreviewDialog() override;

  // How the person ended the dialog (kCancel until it ends with a run).
  PreviewChoice choice() const { return choice_; }

  PreviewTableModel& model() { return *model_; }

  void done(int result) override;

 private:
  void ConnectSignals();
  void RestoreGeometry();
  void StoreGeometry();
  void ToggleSelected();
  void ToggleRow(const QModelIndex& index);
  void SetAllExcluded(bool excluded);
  void IncludeAll();
  void SetStateExcluded(std::int16_t state, bool excluded);
  void SetHideExcluded(bool hide);
  void Start(PreviewChoice choice);
  void Refresh();

  UiContext& context_;
  std::string* copy_directory_;
  std::unique_ptr<Ui::PreviewDialog> ui_;
  PreviewTableModel* model_;  // owned by the dialog
  PreviewChoice choice_ = PreviewChoice::kCancel;
};

// Runs the modal preview dialog over a preview's `records` (in target order; a record's path is
// targets[index]): the person excludes and includes targets (an excluded record's state is negated in
// place) and ends it with a run, a copy run (the chosen output directory stored in *copy_directory) or
// cancel.
PreviewChoice RunPreviewDialog(UiContext& context, QWidget* owner, std::vector<PreviewRecord>& records,
                               const std::vector<std::string>& targets, std::string* copy_directory);

}  // namespace morva

#endif  // MORVA_UI_PREVIEW_DIALOG_H_
