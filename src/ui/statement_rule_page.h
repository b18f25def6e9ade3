#ifndef MORVA_UI_STATEMENT_RULE_PAGE_H_
#define MORVA_UI_STATEMENT_RULE_PAGE_H_

#include <QString>
#include <memory>

#include "ui/job_pages.h"

namespace Ui {
class StatementRulePage;
}

namespace morva {

// Name rule 7: a control statement of at most 200 bytes, which may be saved and loaded as a statement
// preset. The statement is one line: line breaks typed or pasted into the box go when it is collected,
// with a notice.
class StatementRulePage : public JobPage {
 public:
  StatementRulePage(UiContext& context, QWidget* parent);
  ~StatementRulePage() override;

  void Collect() override;

 private:
  void KeepWithinLimit();
  // The statement without line breaks, put back into the box; tells the person when there were some.
  std::string CleanStatement(bool trailing_too);
  void SavePresetCommand();
  void LoadPresetCommand();

  UiContext& context_;
  std::unique_ptr<Ui::StatementRulePage> ui_;
  QString accepted_text_;  // the last text within the limit
};

}  // namespace morva

#endif  // MORVA_UI_STATEMENT_RULE_PAGE_H_
