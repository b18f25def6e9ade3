#ifndef MORVA_UI_PROGRESS_DIALOG_H_
#define MORVA_UI_PROGRESS_DIALOG_H_

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <string_view>

#include "core/user_interface.h"
#include "ui/cancellable_dialog.h"

namespace Ui {
class ProgressDialog;
}

namespace morva {

class FileSystem;
class MessageCatalogue;
class TextCodec;

// The modeless progress dialog "MORVA - 変換状況" of a preview or run: the target's path, the bar, the
// counts and a cancel button. The path is shown in host form.
class ProgressDialog : public CancellableDialog {
  Q_OBJECT

 public:
  // The engine's texts are shown translated by `translation`, or as written when it is null.
  ProgressDialog(TextCodec& codec, FileSystem& fs, const MessageCatalogue* translation, QWidget* owner);
  ~ProgressDialog() override;

  // Shows the dialog with `status_text` ("変換中です．．．" or "プレビュー作成中です．．．") and a bar from
  // 0 to `total`.
  void Start(std::string_view status_text, int total);
  // Shows where the run is. Called once per target: between two repaints only the last state counts,
  // so the texts are set at most every few milliseconds, and always for the last target.
  void Update(const ProgressState& state);
  // The same with the target's path already in host form (made where the file system may be used).
  void Update(const ProgressState& state, const QString& shown_path);

 private:
  TextCodec& codec_;
  FileSystem& fs_;
  const MessageCatalogue* translation_;
  std::unique_ptr<Ui::ProgressDialog> ui_;
  QElapsedTimer since_shown_;
};

}  // namespace morva

#endif  // MORVA_UI_PROGRESS_DIALOG_H_
