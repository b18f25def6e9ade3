#ifndef MORVA_UI_PRESET_LOAD_DIALOG_H_
#define MORVA_UI_PRESET_LOAD_DIALOG_H_

#include <QDialog>
#include <memory>

#include "core/preset_table.h"

namespace Ui {
class PresetLoadDialog;
}

namespace morva {

struct UiContext;

// The load-and-delete dialog of one kind of preset ("MORVA - 変換設定読み込み・削除" and its two
// siblings): the 40 slots, sorted, one row each. "読み込み" (or a double click on a named row) closes the
// dialog with the slot to load, which becomes the kind's last name; "削除" empties a slot after asking,
// rewrites the file and closes the dialog. The caller puts the loaded payload where it belongs.
class PresetLoadDialog : public QDialog {
  Q_OBJECT

 public:
  PresetLoadDialog(UiContext& context, PresetKind kind, QWidget* parent);
  ~PresetLoadDialog() override;

  // The slot chosen for loading; -1 when none was.
  int loaded_slot() const { return loaded_slot_; }

 private:
  int SelectedSlot() const;
  void UpdateButtons();
  void Load();
  void Delete();

  UiContext& context_;
  PresetKind kind_;
  std::unique_ptr<Ui::PresetLoadDialog> ui_;
  int loaded_slot_ = -1;
};

// Runs the dialog; the slot to load, or -1.
int LoadPreset(UiContext& context, PresetKind kind, QWidget* owner);

}  // namespace morva

#endif  // MORVA_UI_PRESET_LOAD_DIALOG_H_
