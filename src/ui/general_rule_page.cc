#include "ui/general_rule_page.h"

#include "core/conversion_settings.h"
#include "ui/bracket_dialog.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_general_rule_page.h"

namespace morva {
namespace {

constexpr int kCapitalisedMode = 2;  // list index of "先頭大文字、以下小文字(ABC→Abc)"

}  // namespace

GeneralRulePage::GeneralRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::GeneralRulePage>()) {
  ui_->setupUi(this);
  const ConversionSettings& s = context_.session.job.settings;
  using C = ConversionSettings;
  ShowBits(s.fnm_ipn_sel, {{ui_->caseCheck, C::kGeneralCase},
                           {ui_->deletionCheck, C::kGeneralDeletion},
                           {ui_->bracketCheck, C::kGeneralBrackets},
                           {ui_->paddingCheck, C::kGeneralPadding}});
  ShowIndex(ui_->caseModeCombo, s.fnm_ipn2 - 1);
  ShowBits(s.fnm_ipnf, {{ui_->capitalSpaceCheck, C::kCapitalAfterSpace},
                        {ui_->capitalDigitCheck, C::kCapitalAfterDigit},
                        {ui_->capitalOtherCheck, C::kCapitalAfterOther}});
  ShowBits(s.fnm_ipng, {{ui_->deleteSpaceCheck, C::kDeletedSpaces},
                        {ui_->deleteDigitCheck, C::kDeletedDigits},
                        {ui_->deleteLetterCheck, C::kDeletedLetters},
                        {ui_->deleteOtherCheck, C::kDeletedOthers}});
  ShowIndex(ui_->bracketModeCombo, s.fnm_ipn4 - 1);
  ShowIndex(ui_->paddingCombo, s.fnm_ipnd - 1);
  ui_->lastNumberCheck->setChecked(s.fnm_ipne);
  ShowBits(s.fnm_ipn_tgc, {{ui_->fullWidthCheck, C::kGeneralFullWidth}, {ui_->halfWidthCheck, C::kGeneralHalfWidth}});
  UpdateEnabled();

  for (QCheckBox* box : {ui_->caseCheck, ui_->deletionCheck, ui_->bracketCheck, ui_->paddingCheck}) {
    connect(box, &QCheckBox::toggled, this, &GeneralRulePage::UpdateEnabled);
  }
  connect(ui_->caseModeCombo, &QComboBox::currentIndexChanged, this, &GeneralRulePage::UpdateEnabled);
  connect(ui_->bracketButton, &QPushButton::clicked, this, [this] {
    BracketDialog dialog(context_, this);
    dialog.exec();
  });
}

GeneralRulePage::~GeneralRulePage() = default;

void GeneralRulePage::UpdateEnabled() {
  const bool case_on = ui_->caseCheck->isChecked();
  ui_->caseModeCombo->setEnabled(case_on);
  // Only the capitalising mode reads the "also after" boxes; the others keep their ticks for it.
  ui_->capitalGroup->setEnabled(case_on && ui_->caseModeCombo->currentIndex() == kCapitalisedMode);
  ui_->deletionGroup->setEnabled(ui_->deletionCheck->isChecked());
  ui_->bracketModeCombo->setEnabled(ui_->bracketCheck->isChecked());
  ui_->bracketButton->setEnabled(ui_->bracketCheck->isChecked());
  const bool padding_on = ui_->paddingCheck->isChecked();
  ui_->paddingCombo->setEnabled(padding_on);
  ui_->paddingLabel->setEnabled(padding_on);
  ui_->lastNumberCheck->setEnabled(padding_on);
}

void GeneralRulePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  using C = ConversionSettings;
  s.fnm_ipn_sel = static_cast<std::uint8_t>(CollectBits({{ui_->caseCheck, C::kGeneralCase},
                                                         {ui_->deletionCheck, C::kGeneralDeletion},
                                                         {ui_->bracketCheck, C::kGeneralBrackets},
                                                         {ui_->paddingCheck, C::kGeneralPadding}}));
  s.fnm_ipn2 = static_cast<std::int16_t>(ui_->caseModeCombo->currentIndex() + 1);
  s.fnm_ipnf = static_cast<std::int16_t>(CollectBits({{ui_->capitalSpaceCheck, C::kCapitalAfterSpace},
                                                      {ui_->capitalDigitCheck, C::kCapitalAfterDigit},
                                                      {ui_->capitalOtherCheck, C::kCapitalAfterOther}}));
  s.fnm_ipng = static_cast<std::int16_t>(CollectBits({{ui_->deleteSpaceCheck, C::kDeletedSpaces},
                                                      {ui_->deleteDigitCheck, C::kDeletedDigits},
                                                      {ui_->deleteLetterCheck, C::kDeletedLetters},
                                                      {ui_->deleteOtherCheck, C::kDeletedOthers}}));
  s.fnm_ipn4 = static_cast<std::int16_t>(ui_->bracketModeCombo->currentIndex() + 1);
  s.fnm_ipnd = static_cast<std::int16_t>(ui_->paddingCombo->currentIndex() + 1);
  s.fnm_ipne = ui_->lastNumberCheck->isChecked();
  s.fnm_ipn_tgc = static_cast<std::uint8_t>(
      CollectBits({{ui_->fullWidthCheck, C::kGeneralFullWidth}, {ui_->halfWidthCheck, C::kGeneralHalfWidth}}));
}

}  // namespace morva
