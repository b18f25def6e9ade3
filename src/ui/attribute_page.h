#ifndef MORVA_UI_ATTRIBUTE_PAGE_H_
#define MORVA_UI_ATTRIBUTE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class AttributePage;
}

namespace morva {

// The attribute job ("ファイル属性変換"): which of the four attributes change, and to what.
class AttributePage : public JobPage {
 public:
  AttributePage(UiContext& context, QWidget* parent);
  ~AttributePage() override;

  void Collect() override;

 private:
  void UpdateEnabled();
  // Collects the page and tells the window when its job went on or off.
  void SwitchChanged();

  UiContext& context_;
  std::unique_ptr<Ui::AttributePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_ATTRIBUTE_PAGE_H_
