#ifndef MORVA_UI_SETTINGS_DIALOG_H_
#define MORVA_UI_SETTINGS_DIALOG_H_

#include <QDialog>
#include <memory>

namespace Ui {
class SettingsDialog;
}

namespace morva {

struct UiContext;

// "MORVA - 設定": the program's options (log, target list, Exif and ID3 reading). OK checks the padding
// size, stores every option and drops the Exif reader's cached file, whose values the options govern;
// cancel changes nothing.
class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  SettingsDialog(UiContext& context, QWidget* parent);
  ~SettingsDialog() override;

 private:
  void UpdateEnabled();
  void Confirm();

  UiContext& context_;
  std::unique_ptr<Ui::SettingsDialog> ui_;
};

// Runs the dialog; true when the options were stored. The caller then collects the windows, trims the
// log to the new count, lets the settings file be written and refreshes the target list.
bool RunSettingsDialog(UiContext& context, QWidget* owner);

}  // namespace morva

#endif  // MORVA_UI_SETTINGS_DIALOG_H_
