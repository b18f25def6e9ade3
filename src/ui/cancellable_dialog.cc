#include "ui/cancellable_dialog.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <utility>

namespace morva {

CancellableDialog::CancellableDialog(QWidget* owner) : QDialog(owner) {
  // The run keeps the program's events flowing so that this dialog stays alive, which would also let a
  // click on the main window or the target list start a second run, an undo or an exit inside the
  // first. Shown modal to the whole program, only this dialog takes input while it is open.
  setWindowModality(Qt::ApplicationModal);
}

CancellableDialog::~CancellableDialog() = default;

bool CancellableDialog::TakeCancelRequest() { return std::exchange(cancel_requested_, false); }

void CancellableDialog::EndQuestion() {
  if (question_ != nullptr) question_->done(QMessageBox::No);
}

void CancellableDialog::reject() {
  if (question_ != nullptr) return;
  // A run on the GUI thread waits for the answer inside its event processing; a run on the worker goes on
  // meanwhile and may end, its dialog closed while the question is still open.
  question_ = new QMessageBox(QMessageBox::Question, QStringLiteral("MORVA"),
                              QCoreApplication::translate("CancellableDialog", "キャンセルしてもよろしいですか？"),
                              QMessageBox::Yes | QMessageBox::No, this);
  const QPointer<CancellableDialog> self(this);
  emit Asking(true);
  const int answer = question_->exec();
  if (self == nullptr) return;  // gone with its question
  delete question_.data();
  emit Asking(false);
  if (answer != QMessageBox::Yes || !isVisible()) return;
  cancel_requested_ = true;
  QDialog::reject();
}

}  // namespace morva
