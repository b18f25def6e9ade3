#ifndef MORVA_UI_PRESET_SAVE_DIALOG_H_
#define MORVA_UI_PRESET_SAVE_DIALOG_H_

#include <QDialog>
#include <memory>
#include <string>

#include "core/preset_table.h"

namespace Ui {
class PresetSaveDialog;
}

namespace morva {

struct UiContext;

// The save dialog of one kind of preset ("MORVA - 変換設定保存" and its two siblings): a name, typed or
// picked from the names saved, under which a copy of the current job (kind 0) or `payload` (the
// statement, or the target string, a tab and the replacement) is stored. The table is sorted and its
// file written when the dialog closes with OK.
class PresetSaveDialog : public QDialog {
  Q_OBJECT

 public:
  PresetSaveDialog(UiContext& context, PresetKind kind, std::string payload, QWidget* parent);
  ~PresetSaveDialog() override;

 private:
  void Confirm();

  UiContext& context_;
  PresetKind kind_;
  std::string payload_;
  std::unique_ptr<Ui::PresetSaveDialog> ui_;
};

// Runs the save dialog; true when the preset was stored (even if its file could not be written, which
// is reported).
bool SavePreset(UiContext& context, PresetKind kind, std::string payload, QWidget* owner);

}  // namespace morva

#endif  // MORVA_UI_PRESET_SAVE_DIALOG_H_
