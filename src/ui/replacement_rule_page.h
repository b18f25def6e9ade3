#ifndef MORVA_UI_REPLACEMENT_RULE_PAGE_H_
#define MORVA_UI_REPLACEMENT_RULE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class ReplacementRulePage;
}

namespace morva {

// Name rule 3: replacement of a string, a regular expression or a span of bytes; its settings may be
// saved and loaded as replacement presets.
class ReplacementRulePage : public JobPage {
 public:
  ReplacementRulePage(UiContext& context, QWidget* parent);
  ~ReplacementRulePage() override;

  void Collect() override;

 private:
  void UpdateEnabled();
  void SavePresetCommand();
  void LoadPresetCommand();

  UiContext& context_;
  std::unique_ptr<Ui::ReplacementRulePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_REPLACEMENT_RULE_PAGE_H_
