#ifndef MORVA_UI_GENERAL_RULE_PAGE_H_
#define MORVA_UI_GENERAL_RULE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class GeneralRulePage;
}

namespace morva {

// Name rule 1, general conversion: letter case, deletion of character classes, brackets, zero padding.
class GeneralRulePage : public JobPage {
 public:
  GeneralRulePage(UiContext& context, QWidget* parent);
  ~GeneralRulePage() override;

  void Collect() override;

 private:
  void UpdateEnabled();

  UiContext& context_;
  std::unique_ptr<Ui::GeneralRulePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_GENERAL_RULE_PAGE_H_
