#ifndef MORVA_UI_DATE_RULE_PAGE_H_
#define MORVA_UI_DATE_RULE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class DateRulePage;
}

namespace morva {

// Name rule 5: the file's date (or its photograph's), with time, weekday and a serial for equal dates.
class DateRulePage : public JobPage {
 public:
  DateRulePage(UiContext& context, QWidget* parent);
  ~DateRulePage() override;

  void Collect() override;

 private:
  void UpdateEnabled();

  UiContext& context_;
  std::unique_ptr<Ui::DateRulePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_DATE_RULE_PAGE_H_
