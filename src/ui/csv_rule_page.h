#ifndef MORVA_UI_CSV_RULE_PAGE_H_
#define MORVA_UI_CSV_RULE_PAGE_H_

#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class CsvRulePage;
}

namespace morva {

// Name rule 8: the replacement patterns of a CSV file. The path box shows the file's host path and takes
// a path in either form, typed, chosen or dropped (one file).
class CsvRulePage : public JobPage {
 public:
  CsvRulePage(UiContext& context, QWidget* parent);
  ~CsvRulePage() override;

  void Collect() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  UiContext& context_;
  std::unique_ptr<Ui::CsvRulePage> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_CSV_RULE_PAGE_H_
