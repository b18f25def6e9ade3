#include "ui/serial_rule_page.h"

#include "core/conversion_settings.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_serial_rule_page.h"

namespace morva {
namespace {

constexpr int kNumberInNameKey = 4;  // "ファイル名中の数値順"

}  // namespace

SerialRulePage::SerialRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::SerialRulePage>()) {
  ui_->setupUi(this);
  TextCodec& codec = context_.session.host.codec;
  LimitBytes(codec, ui_->prefixEdit, 80);
  LimitBytes(codec, ui_->suffixEdit, 80);
  LimitBytes(codec, ui_->firstEdit, 5);
  LimitBytes(codec, ui_->incrementEdit, 3);
  const ConversionSettings& s = context_.session.job.settings;
  using C = ConversionSettings;
  (s.fnm_rnb0 == 1 ? ui_->prefixParentRadio : ui_->prefixTextRadio)->setChecked(true);
  ui_->prefixEdit->setText(FieldText(codec, s.fnm_rnb1.view()));
  ui_->firstEdit->setText(FieldText(codec, s.fnm_rnb2.view()));
  ui_->incrementEdit->setText(FieldText(codec, s.fnm_rnba.view()));
  ShowIndex(ui_->digitsCombo, s.fnm_rnb3 - 1);
  (s.fnm_rnb8 == 1 ? ui_->suffixParentRadio : ui_->suffixTextRadio)->setChecked(true);
  ui_->suffixEdit->setText(FieldText(codec, s.fnm_rnb9.view()));
  ShowBits(s.fnm_rnb_opt, {{ui_->perDirectoryCheck, C::kSerialPerDirectory}, {ui_->orderCheck, C::kSerialOrdered}});
  ((s.fnm_rnb_opt & C::kSerialAscending) != 0 ? ui_->ascendingRadio : ui_->descendingRadio)->setChecked(true);
  ShowIndex(ui_->orderCombo, s.fnm_rnb7 & C::kOrderKeyMask);
  ui_->lastNumberCheck->setChecked((s.fnm_rnb7 & C::kOrderLastNumber) != 0);
  UpdateEnabled();

  for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
           ui_->prefixTextRadio, ui_->prefixParentRadio, ui_->suffixTextRadio, ui_->suffixParentRadio, ui_->orderCheck}) {
    connect(button, &QAbstractButton::toggled, this, &SerialRulePage::UpdateEnabled);
  }
  connect(ui_->orderCombo, &QComboBox::currentIndexChanged, this, &SerialRulePage::UpdateEnabled);
}

SerialRulePage::~SerialRulePage() = default;

void SerialRulePage::UpdateEnabled() {
  ui_->prefixEdit->setEnabled(ui_->prefixTextRadio->isChecked());
  ui_->suffixEdit->setEnabled(ui_->suffixTextRadio->isChecked());
  const bool ordered = ui_->orderCheck->isChecked();
  ui_->orderCombo->setEnabled(ordered);
  ui_->ascendingRadio->setEnabled(ordered);
  ui_->descendingRadio->setEnabled(ordered);
  ui_->lastNumberCheck->setEnabled(ordered && ui_->orderCombo->currentIndex() == kNumberInNameKey);
}

void SerialRulePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  TextCodec& codec = context_.session.host.codec;
  using C = ConversionSettings;
  s.fnm_rnb0 = ui_->prefixParentRadio->isChecked() ? 1 : 2;
  StoreText(codec, ui_->prefixEdit->text(), &s.fnm_rnb1);
  // The first number and the increment may only be 5 and 3 bytes long, though their fields hold more.
  s.fnm_rnb2.Assign(ControlBytes(codec, ui_->firstEdit->text(), 5));
  s.fnm_rnba.Assign(ControlBytes(codec, ui_->incrementEdit->text(), 3));
  s.fnm_rnb3 = static_cast<std::int16_t>(ui_->digitsCombo->currentIndex() + 1);
  s.fnm_rnb8 = ui_->suffixParentRadio->isChecked() ? 1 : 2;
  StoreText(codec, ui_->suffixEdit->text(), &s.fnm_rnb9);
  s.fnm_rnb_opt = static_cast<std::uint8_t>(
      CollectBits({{ui_->perDirectoryCheck, C::kSerialPerDirectory}, {ui_->orderCheck, C::kSerialOrdered}}) |
      (ui_->ascendingRadio->isChecked() ? C::kSerialAscending : 0));
  s.fnm_rnb7 = static_cast<std::int16_t>(ui_->orderCombo->currentIndex() +
                                         (ui_->lastNumberCheck->isChecked() ? C::kOrderLastNumber : 0));
}

}  // namespace morva
