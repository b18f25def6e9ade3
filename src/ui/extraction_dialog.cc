#include "ui/extraction_dialog.h"

#include "ui_extraction_dialog.h"

namespace morva {

ExtractionDialog::ExtractionDialog(TextCodec&, QWidget* owner)
    : CancellableDialog(owner), ui_(std::make_unique<Ui::ExtractionDialog>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &ExtractionDialog::reject);
}

ExtractionDialog::~ExtractionDialog() = default;

}  // namespace morva
