#ifndef MORVA_UI_DELETION_PAGE_H_
#define MORVA_UI_DELETION_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class DeletionPage;
}

namespace morva {

// The deletion job ("ファイル削除"): to the trash, permanently, or after overwriting at a level.
class DeletionPage : public JobPage {
 public:
  DeletionPage(UiContext& context, QWidget* parent);
  ~DeletionPage() override;

  void Collect() override;

 private:
  void UpdateEnabled();
  // Collects the page and tells the window when its job went on or off.
  void SwitchChanged();

  UiContext& context_;
  std::unique_ptr<Ui::DeletionPage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_DELETION_PAGE_H_
