#ifndef MORVA_UI_WIDTH_RULE_PAGE_H_
#define MORVA_UI_WIDTH_RULE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class WidthRulePage;
}

namespace morva {

// Name rule 2: full-width and half-width conversion of chosen character classes.
class WidthRulePage : public JobPage {
 public:
  WidthRulePage(UiContext& context, QWidget* parent);
  ~WidthRulePage() override;

  void Collect() override;

 private:
  void UpdateEnabled();

  UiContext& context_;
  std::unique_ptr<Ui::WidthRulePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_WIDTH_RULE_PAGE_H_
