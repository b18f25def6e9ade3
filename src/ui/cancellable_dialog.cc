#include "ui/cancellable_dialog.h"

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

void CancellableDialog::reject() {
  // The question is asked from inside the run's event processing: the run waits for the answer.
  QMessageBox box(QMessageBox::Question, QStringLiteral("MORVA"), QStringLiteral("キャンセルしてもよろしいですか？"),
                  QMessageBox::Yes | QMessageBox::No, this);
  if (box.exec() != QMessageBox::Yes) return;
  cancel_requested_ = true;
  QDialog::reject();
}

}  // namespace morva
