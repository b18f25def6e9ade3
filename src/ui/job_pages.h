#ifndef MORVA_UI_JOB_PAGES_H_
#define MORVA_UI_JOB_PAGES_H_

#include <QWidget>
#include <memory>

namespace Ui {
class NamePage;
}

namespace morva {

struct UiContext;

// A job page: reads the job record when it is created, writes its controls back in Collect (which the
// main window calls before the page goes and before every run).
class JobPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  virtual void Collect() {}

 signals:
  // The page switched its job on or off: the tab marks change.
  void JobKindChanged();
};

// The name tab's page ("ファイル名称変換"): the rule selector, the extension handling and, below them,
// the page of the selected rule, which is made anew (its predecessor collected) whenever the rule changes.
class NamePage : public JobPage {
  Q_OBJECT

 public:
  NamePage(UiContext& context, QWidget* parent = nullptr);
  ~NamePage() override;

  void Collect() override;
  void FocusSelector();

 private:
  void ShowRule(int rule);
  void UpdateExtensionControls();

  UiContext& context_;
  std::unique_ptr<Ui::NamePage> ui_;
  JobPage* rule_page_ = nullptr;  // none for rule 0
};

// The page of job `code`: 10 the name page, 11 attributes, 12 timestamps, 13 deletion, 14 ID3.
JobPage* NewJobPage(int code, UiContext& context, QWidget* parent);

// The page of name rule `rule` (1-8); null for any other number.
JobPage* NewRulePage(int rule, UiContext& context, QWidget* parent);

}  // namespace morva

#endif  // MORVA_UI_JOB_PAGES_H_
