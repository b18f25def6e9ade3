#include "ui/date_rule_page.h"

#include "core/conversion_settings.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_date_rule_page.h"

namespace morva {
namespace {

constexpr int kNumberInNameKey = 4;  // "ファイル名中の数値順"

}  // namespace

DateRulePage::DateRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::DateRulePage>()) {
  ui_->setupUi(this);
  TextCodec& codec = context_.session.host.codec;
  LimitBytes(codec, ui_->prefixEdit, 80);
  LimitBytes(codec, ui_->separatorEdit, 8);
  LimitBytes(codec, ui_->serialSeparatorEdit, 8);
  const ConversionSettings& s = context_.session.job.settings;
  using C = ConversionSettings;
  (s.fnm_hdk0 == 1 ? ui_->prefixParentRadio : ui_->prefixTextRadio)->setChecked(true);
  ui_->prefixEdit->setText(FieldText(codec, s.fnm_hdk1.view()));
  ((s.fnm_hdk_udt & C::kDateSourceMask) == C::kDateCreation ? ui_->creationRadio : ui_->lastWriteRadio)
      ->setChecked(true);
  ui_->exifCheck->setChecked((s.fnm_hdk_udt & C::kDateExifFirst) != 0);
  ShowIndex(ui_->dateFormatCombo, s.fnm_hdk2 - 1);
  ShowBits(s.fnm_hdk_atw, {{ui_->timeCheck, C::kDateAddTime}, {ui_->weekdayCheck, C::kDateAddWeekday}});
  ShowIndex(ui_->timeFormatCombo, s.fnm_hdk4 - 1);
  ShowIndex(ui_->weekdayCombo, s.fnm_hdkd - 1);
  ui_->separatorEdit->setText(FieldText(codec, s.fnm_hdka.view()));
  ShowBits(s.fnm_hdk_rnb, {{ui_->serialCheck, C::kDateSerial},
                           {ui_->perDirectoryCheck, C::kDateSerialPerDirectory},
                           {ui_->orderCheck, C::kDateOrdered}});
  ((s.fnm_hdk_rnb & C::kDateAscending) != 0 ? ui_->ascendingRadio : ui_->descendingRadio)->setChecked(true);
  ui_->serialSeparatorEdit->setText(FieldText(codec, s.fnm_hdkb.view()));
  ShowIndex(ui_->digitsCombo, s.fnm_hdk6 - 1);
  ShowIndex(ui_->orderCombo, s.fnm_hdkg & C::kOrderKeyMask);
  ui_->lastNumberCheck->setChecked((s.fnm_hdkg & C::kOrderLastNumber) != 0);
  UpdateEnabled();

  for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
           ui_->prefixTextRadio, ui_->prefixParentRadio, ui_->timeCheck, ui_->weekdayCheck, ui_->serialCheck,
           ui_->orderCheck}) {
    connect(button, &QAbstractButton::toggled, this, &DateRulePage::UpdateEnabled);
  }
  connect(ui_->orderCombo, &QComboBox::currentIndexChanged, this, &DateRulePage::UpdateEnabled);
}

DateRulePage::~DateRulePage() = default;

void DateRulePage::UpdateEnabled() {
  ui_->prefixEdit->setEnabled(ui_->prefixTextRadio->isChecked());
  const bool time = ui_->timeCheck->isChecked();
  const bool weekday = ui_->weekdayCheck->isChecked();
  ui_->timeFormatCombo->setEnabled(time);
  ui_->weekdayCombo->setEnabled(weekday);
  ui_->separatorEdit->setEnabled(time || weekday);
  ui_->separatorLabel->setEnabled(time || weekday);
  const bool serial = ui_->serialCheck->isChecked();
  for (QWidget* widget : std::initializer_list<QWidget*>{ui_->serialSeparatorEdit, ui_->serialSeparatorLabel,
                                                         ui_->digitsCombo, ui_->digitsLabel, ui_->perDirectoryCheck,
                                                         ui_->orderCheck}) {
    widget->setEnabled(serial);
  }
  const bool ordered = serial && ui_->orderCheck->isChecked();
  ui_->orderCombo->setEnabled(ordered);
  ui_->ascendingRadio->setEnabled(ordered);
  ui_->descendingRadio->setEnabled(ordered);
  ui_->lastNumberCheck->setEnabled(ordered && ui_->orderCombo->currentIndex() == kNumberInNameKey);
}

void DateRulePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  TextCodec& codec = context_.session.host.codec;
  using C = ConversionSettings;
  s.fnm_hdk0 = ui_->prefixParentRadio->isChecked() ? 1 : 2;
  StoreText(codec, ui_->prefixEdit->text(), &s.fnm_hdk1);
  s.fnm_hdk_udt = static_cast<std::uint8_t>((ui_->creationRadio->isChecked() ? C::kDateCreation : C::kDateLastWrite) |
                                            (ui_->exifCheck->isChecked() ? C::kDateExifFirst : 0));
  s.fnm_hdk2 = static_cast<std::int16_t>(ui_->dateFormatCombo->currentIndex() + 1);
  s.fnm_hdk_atw = static_cast<std::uint8_t>(
      CollectBits({{ui_->timeCheck, C::kDateAddTime}, {ui_->weekdayCheck, C::kDateAddWeekday}}));
  s.fnm_hdk4 = static_cast<std::int16_t>(ui_->timeFormatCombo->currentIndex() + 1);
  s.fnm_hdkd = static_cast<std::int16_t>(ui_->weekdayCombo->currentIndex() + 1);
  StoreText(codec, ui_->separatorEdit->text(), &s.fnm_hdka);
  s.fnm_hdk_rnb = static_cast<std::uint8_t>(CollectBits({{ui_->serialCheck, C::kDateSerial},
                                                         {ui_->perDirectoryCheck, C::kDateSerialPerDirectory},
                                                         {ui_->orderCheck, C::kDateOrdered}}) |
                                            (ui_->ascendingRadio->isChecked() ? C::kDateAscending : 0));
  StoreText(codec, ui_->serialSeparatorEdit->text(), &s.fnm_hdkb);
  s.fnm_hdk6 = static_cast<std::int16_t>(ui_->digitsCombo->currentIndex() + 1);
  s.fnm_hdkg = static_cast<std::int16_t>(ui_->orderCombo->currentIndex() +
                                         (ui_->lastNumberCheck->isChecked() ? C::kOrderLastNumber : 0));
}

}  // namespace morva
