// Placeholder until the dialog is built.
#include "ui/progress_dialog.h"

namespace morva {

ProgressDialog::ProgressDialog(TextCodec& codec, QWidget* owner) : QDialog(owner), codec_(codec) {}
ProgressDialog::~ProgressDialog() = default;
void ProgressDialog::Start(std::string_view, int) {}
void ProgressDialog::Update(const ProgressState&) {}
bool ProgressDialog::TakeCancelRequest() { return false; }

}  // namespace morva
