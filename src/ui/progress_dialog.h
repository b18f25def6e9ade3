#ifndef MORVA_UI_PROGRESS_DIALOG_H_
#define MORVA_UI_PROGRESS_DIALOG_H_

#include <QDialog>
#include <string_view>

#include "core/user_interface.h"

namespace morva {

class TextCodec;

// The modeless progress dialog "MORVA - 変換状況" of a preview or run: the target's path, the bar, the
// counts and a cancel button.
class ProgressDialog : public QDialog {
  Q_OBJECT

 public:
  ProgressDialog(TextCodec& codec, QWidget* owner);
  ~ProgressDialog() override;

  // Shows the dialog with `status_text` ("変換中です．．．" or "プレビュー作成中です．．．") and a bar from
  // 0 to `total`.
  void Start(std::string_view status_text, int total);
  void Update(const ProgressState& state);
  // True once when the person has asked to cancel (and confirmed it) since the last call.
  bool TakeCancelRequest();

 private:
  TextCodec& codec_;
  bool cancel_requested_ = false;
};

}  // namespace morva

#endif  // MORVA_UI_PROGRESS_DIALOG_H_
