#ifndef MORVA_UI_TIMESTAMP_PAGE_H_
#define MORVA_UI_TIMESTAMP_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class TimestampPage;
}

namespace morva {

// The timestamp job ("ファイル日時変換"): where each of the three times comes from, the direct
// dates and times, and the form of dates read from file names.
class TimestampPage : public JobPage {
 public:
  TimestampPage(UiContext& context, QWidget* parent);
  ~TimestampPage() override;

  void Collect() override;

 private:
  void UpdateEnabled();
  // Collects the page and tells the window when its job went on or off.
  void SwitchChanged();

  UiContext& context_;
  std::unique_ptr<Ui::TimestampPage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_TIMESTAMP_PAGE_H_
