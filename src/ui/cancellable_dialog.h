#ifndef MORVA_UI_CANCELLABLE_DIALOG_H_
#define MORVA_UI_CANCELLABLE_DIALOG_H_

#include <QDialog>
#include <QMessageBox>
#include <QPointer>

namespace morva {

// What the extraction and progress dialogs share: the cancel button, Enter, Escape and the close box ask
// "キャンセルしてもよろしいですか？"; Yes hides the dialog and leaves a cancel request for the run to
// take at its next target, No lets the run go on.
class CancellableDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CancellableDialog(QWidget* owner);
  ~CancellableDialog() override;

  // True once when the person has asked to cancel (and confirmed it) since the last call.
  bool TakeCancelRequest();
  // True while the cancel question is open (this dialog's reject() is waiting for its answer).
  bool asking() const { return question_ != nullptr; }
  // Answers the open cancel question with No, for a run that has ended meanwhile.
  void EndQuestion();

  void reject() override;

 signals:
  // The cancel question opened (true) or got its answer (false).
  void Asking(bool open);

 private:
  bool cancel_requested_ = false;
  QPointer<QMessageBox> question_;
};

}  // namespace morva

#endif  // MORVA_UI_CANCELLABLE_DIALOG_H_
