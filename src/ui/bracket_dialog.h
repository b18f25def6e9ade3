#ifndef MORVA_UI_BRACKET_DIALOG_H_
#define MORVA_UI_BRACKET_DIALOG_H_

#include <QCheckBox>
#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class BracketDialog;
}

namespace morva {

struct UiContext;

// "MORVA - 変換対象括弧": the sixteen bracket pairs that bracket processing acts on. OK stores them in
// the job (at least one must be ticked); cancel stores nothing.
class BracketDialog : public QDialog {
  Q_OBJECT

 public:
  BracketDialog(UiContext& context, QWidget* parent);
  ~BracketDialog() override;

 private:
  void Confirm();

  UiContext& context_;
  std::unique_ptr<Ui::BracketDialog> ui_;
  std::array<QCheckBox*, 16> pairs_{};
};

}  // namespace morva

#endif  // MORVA_UI_BRACKET_DIALOG_H_
