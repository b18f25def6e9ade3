#include "ui/settings_dialog.h"

#include <QCoreApplication>
#include <array>
#include <utility>

#include "core/app_settings.h"
#include "core/user_interface.h"
#include "ui/page_binding.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_settings_dialog.h"

namespace morva {
namespace {

constexpr int kPaddingMax = 2048;

using OptionBox = std::pair<QCheckBox*, std::size_t>;

std::array<OptionBox, 11> OptionBoxes(Ui::SettingsDialog& ui) {
  using A = AppSettings;
  return {{{ui.logAllCheck, A::kOptLogAll},
           {ui.logUndoCheck, A::kOptLogUndo},
           {ui.noLogCheck, A::kOptNoLog},
           {ui.keepJobCheck, A::kOptKeepJob},
           {ui.detectByContentCheck, A::kOptDetectByContent},
           {ui.noPaddingCheck, A::kOptNoPadding},
           {ui.firstCommentCheck, A::kOptFirstCommentWins},
           {ui.noPasswordCheck, A::kOptNoPasswordPrompt},
           {ui.confirmListCheck, A::kOptConfirmListChanges},
           {ui.columnLastWriteCheck, A::kOptColumnLastWrite},
           {ui.columnCreationCheck, A::kOptColumnCreation}}};
}

}  // namespace

SettingsDialog::SettingsDialog(UiContext& context, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::SettingsDialog>()) {
  ui_->setupUi(this);
  const AppSettings& app = context_.session.job.app;
  for (const auto& [box, option] : OptionBoxes(*ui_)) box->setChecked(app.sw_opt[option]);
  ui_->columnExifCheck->setChecked(app.sw_opt[AppSettings::kOptColumnExif]);
  ShowIndex(ui_->historyCombo, app.opt_1 - 1);
  ShowIndex(ui_->exifItemCombo, app.opt_2 - 1);
  (app.sw_opt[AppSettings::kOptId3V1First] ? ui_->v1FirstRadio : ui_->v2FirstRadio)->setChecked(true);
  LimitBytes(context_.session.host.codec, ui_->paddingEdit, 4);
  ui_->paddingEdit->setText(QString::number(app.opt_3));
  UpdateEnabled();

  connect(ui_->noLogCheck, &QCheckBox::toggled, this, &SettingsDialog::UpdateEnabled);
  connect(ui_->logAllCheck, &QCheckBox::toggled, this, &SettingsDialog::UpdateEnabled);
  ui_->okButton->setDefault(true);
  connect(ui_->okButton, &QPushButton::clicked, this, &SettingsDialog::Confirm);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

SettingsDialog::~SettingsDialog() = default;

// Greyed options keep their values: ticking the log on again brings them back as they were.
void SettingsDialog::UpdateEnabled() {
  const bool logging = !ui_->noLogCheck->isChecked();
  ui_->logAllCheck->setEnabled(logging);
  ui_->logUndoCheck->setEnabled(logging && ui_->logAllCheck->isChecked());
  ui_->historyGroup->setEnabled(logging);
}

void SettingsDialog::Confirm() {
  Session& session = context_.session;
  std::string text;
  const QString padding = ui_->paddingEdit->text();
  if (padding.isEmpty()) {
    FromQt(session.host.codec,
           QCoreApplication::translate("SettingsDialog", "ID3v2情報付加時のパディングサイズが指定されていません。"),
           &text);
    session.host.ui.ShowInformation(text);
    ui_->paddingEdit->setFocus();
    return;
  }
  bool number = false;
  const int bytes = padding.toInt(&number);
  if (!number || bytes < 0 || bytes > kPaddingMax) {
    FromQt(session.host.codec,
           QCoreApplication::translate("SettingsDialog",
                                       "ID3v2情報付加時のパディングサイズは0～2048の範囲で指定してください。"),
           &text);
    session.host.ui.ShowInformation(text);
    ui_->paddingEdit->setFocus();
    return;
  }
  AppSettings& app = session.job.app;
  for (const auto& [box, option] : OptionBoxes(*ui_)) app.sw_opt[option] = box->isChecked();
  app.sw_opt[AppSettings::kOptColumnExif] = ui_->columnExifCheck->isChecked();
  app.sw_opt[AppSettings::kOptId3V1First] = ui_->v1FirstRadio->isChecked();
  app.opt_1 = static_cast<std::int16_t>(ui_->historyCombo->currentIndex() + 1);
  app.opt_2 = static_cast<std::int16_t>(ui_->exifItemCombo->currentIndex() + 1);
  app.opt_3 = static_cast<std::int16_t>(bytes);
  // The cached file's Exif date was read under the old options.
  session.exif.Clear();
  accept();
}

bool RunSettingsDialog(UiContext& context, QWidget* owner) {
  SettingsDialog dialog(context, owner);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace morva
