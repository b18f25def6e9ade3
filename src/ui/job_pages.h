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

// The name tab's page ("ファイル名称変換"): the rule selector and the extension handling. The options
// of each rule come later; meanwhile the rule's own area names the rule.
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
};

// The page of job `code` (11 attributes to 14 ID3): its title only, for now.
JobPage* NewTitlePage(int code, QWidget* parent);

}  // namespace morva

#endif  // MORVA_UI_JOB_PAGES_H_
