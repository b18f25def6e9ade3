#ifndef MORVA_UI_EXTRACTION_DIALOG_H_
#define MORVA_UI_EXTRACTION_DIALOG_H_

#include <QDialog>

namespace morva {

class TextCodec;

// The modeless dialog "MORVA - 変換対象抽出" shown while the targets are enumerated, with its cancel
// button.
class ExtractionDialog : public QDialog {
  Q_OBJECT

 public:
  ExtractionDialog(TextCodec& codec, QWidget* owner);
  ~ExtractionDialog() override;

  // True once when the person has asked to cancel (and confirmed it) since the last call.
  bool TakeCancelRequest();

 private:
  TextCodec& codec_;
  bool cancel_requested_ = false;
};

}  // namespace morva

#endif  // MORVA_UI_EXTRACTION_DIALOG_H_
