#include "ui/preset_save_dialog.h"

#include <QCompleter>
#include <QCoreApplication>
#include <cstdlib>

#include "core/user_interface.h"
#include "settings/preset_file.h"
#include "ui/page_binding.h"
#include "ui/panel_messages.h"
#include "ui/preset_texts.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_preset_save_dialog.h"

namespace morva {

PresetSaveDialog::PresetSaveDialog(UiContext& context, PresetKind kind, std::string payload, QWidget* parent)
    : QDialog(parent),
      context_(context),
      kind_(kind),
      payload_(std::move(payload)),
      ui_(std::make_unique<Ui::PresetSaveDialog>()) {
  ui_->setupUi(this);
  const QString name = PresetKindName(kind);
  setWindowTitle(QCoreApplication::translate("PresetSaveDialog", "MORVA - %1保存").arg(name));
  ui_->nameLabel->setText(QCoreApplication::translate("PresetSaveDialog", "%1保存名称").arg(name));
  TextCodec& codec = context_.session.host.codec;
  LimitBytes(codec, ui_->nameCombo, static_cast<int>(kPresetNameMax));
  // 'abc' and 'ABC' are two presets: the drop-down must not turn a typed name into a saved one that
  // differs only in case (it does so when it loses the focus, as it does to the overwrite question).
  ui_->nameCombo->completer()->setCaseSensitivity(Qt::CaseSensitive);
  const PresetTable& table = context_.session.job.presets.of(kind);
  for (const PresetSlot& slot : table.entries) {
    if (!slot.free()) ui_->nameCombo->addItem(ToQt(codec, slot.name));
  }
  ui_->nameCombo->setEditText(ToQt(codec, table.last_name));
  ui_->okButton->setDefault(true);
  connect(ui_->okButton, &QPushButton::clicked, this, &PresetSaveDialog::Confirm);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

PresetSaveDialog::~PresetSaveDialog() = default;

void PresetSaveDialog::Confirm() {
  Session& session = context_.session;
  TextCodec& codec = session.host.codec;
  const std::string name = ControlBytes(codec, ui_->nameCombo->currentText(), kPresetNameMax);
  if (name.empty()) {
    ShowPanelWarning(context_, QCoreApplication::translate("PresetSaveDialog", "保存名称が指定されていません。"));
    return;
  }
  // The file marks a name with these two.
  if (name.find_first_of("<>") != std::string::npos) {
    ShowPanelWarning(context_,
                     QCoreApplication::translate("PresetSaveDialog", "保存名称に '<' と '>' は使用できません。"));
    return;
  }
  PresetTable& table = session.job.presets.of(kind_);
  int slot = table.Find(name);
  if (slot >= 0) {
    const QString question =
        QCoreApplication::translate("PresetSaveDialog", "既に同じ名称のものが保存されています。上書きしますか？");
    if (!AskPanelQuestion(context_, question)) return;
  } else {
    slot = table.FirstFree();
    if (slot < 0) {
      ShowPanelWarning(context_, QCoreApplication::translate(
                                     "PresetSaveDialog",
                                     "既に保存可能最大数（%1）分保存されているため、新規に登録することができません。\n"
                                     "新規に登録したい場合は、不要なものを削除してから再保存してください。")
                                     .arg(kPresetSlotCount));
      return;
    }
  }
  PresetSlot& entry = table.entries[static_cast<std::size_t>(slot)];
  if (kind_ == PresetKind::kJob) {
    std::unique_ptr<ConversionSettings> copy = session.job.settings.Clone();
    if (copy == nullptr) {
      std::string text;
      FromQt(codec,
             QCoreApplication::translate("PresetSaveDialog", "メモリ不足等により領域確保に失敗しました。終了します。"),
             &text);
      session.host.ui.ShowError(text);
      std::exit(1);
    }
    entry.job = std::move(copy);
    entry.text.clear();
  } else {
    entry.job.reset();
    entry.text = payload_;
  }
  entry.name = name;
  table.last_name = name;
  SortPresets(&table);
  if (!WritePresets(session.host.fs, codec, context_.program_directory, table).ok()) {
    session.host.ui.ShowWarning(PresetWriteFailedMessage(codec, kind_));
  }
  accept();
}

bool SavePreset(UiContext& context, PresetKind kind, std::string payload, QWidget* owner) {
  PresetSaveDialog dialog(context, kind, std::move(payload), owner);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace morva
