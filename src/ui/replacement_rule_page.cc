#include "ui/replacement_rule_page.h"

#include <QCompleter>
#include <QCoreApplication>
#include <QLineEdit>

#include "core/conversion_settings.h"
#include "ui/page_binding.h"
#include "ui/panel_messages.h"
#include "ui/preset_load_dialog.h"
#include "ui/preset_save_dialog.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_replacement_rule_page.h"

namespace morva {

ReplacementRulePage::ReplacementRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::ReplacementRulePage>()) {
  ui_->setupUi(this);
  TextCodec& codec = context_.session.host.codec;
  LimitBytes(codec, ui_->targetCombo, 200);
  // The typed target stays as typed, never turned into a fixed entry that differs only in case.
  ui_->targetCombo->completer()->setCaseSensitivity(Qt::CaseSensitive);
  LimitBytes(codec, ui_->startEdit, 3);
  LimitBytes(codec, ui_->countEdit, 3);
  LimitBytes(codec, ui_->replacementEdit, 200);
  const ConversionSettings& s = context_.session.job.settings;
  using C = ConversionSettings;
  (s.fnm_ckn0 == 2 ? ui_->byPositionRadio : ui_->byStringRadio)->setChecked(true);
  ui_->targetCombo->setEditText(FieldText(codec, s.fnm_ckn1.view()));
  ShowBits(s.fnm_ckn_tgb, {{ui_->caseSensitiveCheck, C::kReplaceCaseSensitive}, {ui_->regexCheck, C::kReplaceRegex}});
  ShowIndex(ui_->fromCombo, s.fnm_ckn4);
  ui_->startCheck->setChecked(s.fnm_ckn5);
  ui_->startEdit->setText(FieldText(codec, s.fnm_ckn6.view()));
  ShowIndex(ui_->directionCombo, s.fnm_ckn7);
  (s.fnm_ckn8 == 2 ? ui_->countRadio : ui_->allRadio)->setChecked(true);
  ui_->countEdit->setText(FieldText(codec, s.fnm_ckn9.view()));
  (s.fnm_ckna == 2 ? ui_->leaveCharacterRadio : ui_->takeCharacterRadio)->setChecked(true);
  ui_->replacementEdit->setText(FieldText(codec, s.fnm_ckn3.view()));
  UpdateEnabled();

  for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
           ui_->byStringRadio, ui_->byPositionRadio, ui_->startCheck, ui_->allRadio, ui_->countRadio}) {
    connect(button, &QAbstractButton::toggled, this, &ReplacementRulePage::UpdateEnabled);
  }
  connect(ui_->savePresetButton, &QPushButton::clicked, this, &ReplacementRulePage::SavePresetCommand);
  connect(ui_->loadPresetButton, &QPushButton::clicked, this, &ReplacementRulePage::LoadPresetCommand);
}

ReplacementRulePage::~ReplacementRulePage() = default;

void ReplacementRulePage::UpdateEnabled() {
  const bool by_string = ui_->byStringRadio->isChecked();
  for (QWidget* widget : std::initializer_list<QWidget*>{ui_->targetCombo, ui_->targetLabel, ui_->caseSensitiveCheck,
                                                         ui_->regexCheck, ui_->presetGroup}) {
    widget->setEnabled(by_string);
  }
  for (QWidget* widget : std::initializer_list<QWidget*>{
           ui_->fromCombo, ui_->startCheck, ui_->directionCombo, ui_->allRadio, ui_->countRadio, ui_->trailByteNote,
           ui_->takeCharacterRadio, ui_->leaveCharacterRadio}) {
    widget->setEnabled(!by_string);
  }
  ui_->startEdit->setEnabled(!by_string && ui_->startCheck->isChecked());
  ui_->countEdit->setEnabled(!by_string && ui_->countRadio->isChecked());
}

void ReplacementRulePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  TextCodec& codec = context_.session.host.codec;
  using C = ConversionSettings;
  s.fnm_ckn0 = ui_->byStringRadio->isChecked() ? 1 : 2;
  StoreText(codec, ui_->targetCombo->currentText(), &s.fnm_ckn1);
  s.fnm_ckn_tgb = static_cast<std::uint8_t>(
      CollectBits({{ui_->caseSensitiveCheck, C::kReplaceCaseSensitive}, {ui_->regexCheck, C::kReplaceRegex}}));
  s.fnm_ckn4 = static_cast<std::int16_t>(ui_->fromCombo->currentIndex());
  s.fnm_ckn5 = ui_->startCheck->isChecked();
  s.fnm_ckn6.Assign(ControlBytes(codec, ui_->startEdit->text(), 3));
  s.fnm_ckn7 = static_cast<std::int16_t>(ui_->directionCombo->currentIndex());
  s.fnm_ckn8 = ui_->allRadio->isChecked() ? 1 : 2;
  s.fnm_ckn9.Assign(ControlBytes(codec, ui_->countEdit->text(), 3));
  s.fnm_ckna = ui_->takeCharacterRadio->isChecked() ? 1 : 2;
  StoreText(codec, ui_->replacementEdit->text(), &s.fnm_ckn3);
}

void ReplacementRulePage::SavePresetCommand() {
  TextCodec& codec = context_.session.host.codec;
  const std::string target = ControlBytes(codec, ui_->targetCombo->currentText(), 200);
  const std::string replacement = ControlBytes(codec, ui_->replacementEdit->text(), 200);
  if (target.empty()) {
    ShowPanelWarning(context_, QCoreApplication::translate("ReplacementRulePage", "対象文字列が指定されていません。"));
    ui_->targetCombo->setFocus();
    return;
  }
  if (replacement.empty()) {
    ShowPanelWarning(context_, QCoreApplication::translate("ReplacementRulePage", "置換文字列が指定されていません。"));
    ui_->replacementEdit->setFocus();
    return;
  }
  // Both and the tab between them must fit a preset's 200 bytes.
  if (target.size() + replacement.size() >= kPresetTextMax) {
    ShowPanelWarning(context_, QCoreApplication::translate(
                                   "ReplacementRulePage",
                                   "保存する場合、対象文字列と置換文字列の合計は199バイト以下で指定してください。"));
    return;
  }
  SavePreset(context_, PresetKind::kReplacement, target + '\t' + replacement, this);
}

void ReplacementRulePage::LoadPresetCommand() {
  const int slot = LoadPreset(context_, PresetKind::kReplacement, this);
  if (slot < 0) return;
  const std::string& payload = context_.session.job.presets.replacement.entries[slot].text;
  const std::size_t tab = payload.find('\t');
  TextCodec& codec = context_.session.host.codec;
  ui_->targetCombo->setEditText(ToQt(codec, payload.substr(0, tab)));
  ui_->replacementEdit->setText(tab == std::string::npos ? QString() : ToQt(codec, payload.substr(tab + 1)));
}

}  // namespace morva
