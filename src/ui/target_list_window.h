#ifndef MORVA_UI_TARGET_LIST_WINDOW_H_
#define MORVA_UI_TARGET_LIST_WINDOW_H_

#include <QWidget>
#include <memory>

#include "ui/target_listing.h"

namespace Ui {
class TargetListWindow;
}

namespace morva {

struct UiContext;
struct AppSettings;
class TargetListModel;

// "MORVA - 対象一覧": a modeless tool window listing what the target panel names, with the entries the
// flags would leave out in grey, and two ways to walk the tree (to the parent, into the selected row).
// Its placement and column widths are stored in the application settings when it closes.
class TargetListWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TargetListWindow(UiContext& context);
  ~TargetListWindow() override;

  // Shows `listing` (rows of target-panel mode `mode`).
  void Show(int mode, const TargetListing& listing);
  // Writes the window's placement (kept on the desktop) and its column widths into `app`.
  void StorePlacement(AppSettings& app) const;

  TargetListModel& model() { return *model_; }

 signals:
  void RefreshRequested();
  // The person walked the tree: the new target path, an engine path text.
  void PathChosen(const QString& path);
  // The window was closed by the person; it stored its placement and is about to go.
  void Closed();
  // The person brought the window to the front while no dialog was running.
  void Activated();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ChangeTarget(bool to_parent);
  void UpdateButtons();

  UiContext& context_;
  std::unique_ptr<Ui::TargetListWindow> ui_;
  TargetListModel* model_;
  int mode_ = 1;
  TargetListing listing_;
};

}  // namespace morva

#endif  // MORVA_UI_TARGET_LIST_WINDOW_H_
