#ifndef MORVA_UI_ID3_PAGE_H_
#define MORVA_UI_ID3_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class Id3Page;
}

namespace morva {

// The ID3 job ("ID3情報変換"): the source of each of seven tag items, the versions converted and added.
class Id3Page : public JobPage {
 public:
  Id3Page(UiContext& context, QWidget* parent);
  ~Id3Page() override;

  void Collect() override;

 private:
  void UpdateEnabled();
  // Collects the page and tells the window when its job went on or off.
  void SwitchChanged();

  UiContext& context_;
  std::unique_ptr<Ui::Id3Page> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_ID3_PAGE_H_
