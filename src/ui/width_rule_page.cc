#include "ui/width_rule_page.h"

#include "core/conversion_settings.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_width_rule_page.h"

namespace morva {

WidthRulePage::WidthRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::WidthRulePage>()) {
  ui_->setupUi(this);
  const ConversionSettings& s = context_.session.job.settings;
  using C = ConversionSettings;
  (s.fnm_znk0 == 1 ? ui_->toFullRadio : ui_->toHalfRadio)->setChecked(true);
  ShowBits(s.fnm_znk_ctc, {{ui_->lettersCheck, C::kWidthLetters},
                           {ui_->digitsCheck, C::kWidthDigits},
                           {ui_->symbolsCheck, C::kWidthSymbols},
                           {ui_->bracketsCheck, C::kWidthBrackets},
                           {ui_->spaceCheck, C::kWidthSpace},
                           {ui_->katakanaCheck, C::kWidthKatakana},
                           {ui_->hiraganaCheck, C::kWidthHiragana}});
  ShowBits(s.fnm_znk_jcb, {{ui_->kanaSymbolsCheck, C::kWidthKanaSymbols}, {ui_->loneMarksCheck, C::kWidthLoneMarks}});
  UpdateEnabled();

  for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
           ui_->toFullRadio, ui_->toHalfRadio, ui_->katakanaCheck, ui_->hiraganaCheck, ui_->kanaSymbolsCheck}) {
    connect(button, &QAbstractButton::toggled, this, &WidthRulePage::UpdateEnabled);
  }
}

WidthRulePage::~WidthRulePage() = default;

void WidthRulePage::UpdateEnabled() {
  const bool kana = ui_->katakanaCheck->isChecked() || ui_->hiraganaCheck->isChecked();
  ui_->kanaSymbolsCheck->setEnabled(kana);
  ui_->loneMarksCheck->setEnabled(kana && ui_->toFullRadio->isChecked() && ui_->kanaSymbolsCheck->isChecked());
}

void WidthRulePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  using C = ConversionSettings;
  s.fnm_znk0 = ui_->toFullRadio->isChecked() ? 1 : 2;
  s.fnm_znk_ctc = static_cast<std::uint8_t>(CollectBits({{ui_->lettersCheck, C::kWidthLetters},
                                                         {ui_->digitsCheck, C::kWidthDigits},
                                                         {ui_->symbolsCheck, C::kWidthSymbols},
                                                         {ui_->bracketsCheck, C::kWidthBrackets},
                                                         {ui_->spaceCheck, C::kWidthSpace},
                                                         {ui_->katakanaCheck, C::kWidthKatakana},
                                                         {ui_->hiraganaCheck, C::kWidthHiragana}}));
  s.fnm_znk_jcb = static_cast<std::uint8_t>(
      CollectBits({{ui_->kanaSymbolsCheck, C::kWidthKanaSymbols}, {ui_->loneMarksCheck, C::kWidthLoneMarks}}));
}

}  // namespace morva
