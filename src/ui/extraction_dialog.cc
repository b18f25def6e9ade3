// Placeholder until the dialog is built.
#include "ui/extraction_dialog.h"

namespace morva {

ExtractionDialog::ExtractionDialog(TextCodec& codec, QWidget* owner) : QDialog(owner), codec_(codec) {}
ExtractionDialog::~ExtractionDialog() = default;
bool ExtractionDialog::TakeCancelRequest() { return false; }

}  // namespace morva
