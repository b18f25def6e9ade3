#ifndef MORVA_UI_SERIAL_RULE_PAGE_H_
#define MORVA_UI_SERIAL_RULE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class SerialRulePage;
}

namespace morva {

// Name rule 4: serial numbers between a prefix and a suffix, in an order the person may choose.
class SerialRulePage : public JobPage {
 public:
  SerialRulePage(UiContext& context, QWidget* parent);
  ~SerialRulePage() override;

  void Collect() override;

 private:
  void UpdateEnabled();

  UiContext& context_;
  std::unique_ptr<Ui::SerialRulePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_SERIAL_RULE_PAGE_H_
