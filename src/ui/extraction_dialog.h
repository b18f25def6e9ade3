#ifndef MORVA_UI_EXTRACTION_DIALOG_H_
#define MORVA_UI_EXTRACTION_DIALOG_H_

#include <memory>

#include "ui/cancellable_dialog.h"

namespace Ui {
class ExtractionDialog;
}

namespace morva {

class TextCodec;

// The modeless dialog "MORVA - 変換対象抽出" shown while the targets are enumerated, with its cancel
// button.
class ExtractionDialog : public CancellableDialog {
  Q_OBJECT

 public:
  ExtractionDialog(TextCodec& codec, QWidget* owner);
  ~ExtractionDialog() override;

 private:
  std::unique_ptr<Ui::ExtractionDialog> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_EXTRACTION_DIALOG_H_
