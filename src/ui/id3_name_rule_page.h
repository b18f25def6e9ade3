#ifndef MORVA_UI_ID3_NAME_RULE_PAGE_H_
#define MORVA_UI_ID3_NAME_RULE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class Id3NameRulePage;
}

namespace morva {

// Name rule 6: up to four items of the MP3 file's tags, joined by a separator.
class Id3NameRulePage : public JobPage {
 public:
  Id3NameRulePage(UiContext& context, QWidget* parent);
  ~Id3NameRulePage() override;

  void Collect() override;

 private:
  void UpdateEnabled();

  UiContext& context_;
  std::unique_ptr<Ui::Id3NameRulePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_ID3_NAME_RULE_PAGE_H_
