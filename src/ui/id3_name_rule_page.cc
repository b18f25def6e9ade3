#include "ui/id3_name_rule_page.h"

#include <array>

#include "core/conversion_settings.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_id3_name_rule_page.h"

namespace morva {

Id3NameRulePage::Id3NameRulePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::Id3NameRulePage>()) {
  ui_->setupUi(this);
  TextCodec& codec = context_.session.host.codec;
  LimitBytes(codec, ui_->textEdit, 80);
  LimitBytes(codec, ui_->separatorEdit, 8);
  const ConversionSettings& s = context_.session.job.settings;
  const std::array<QComboBox*, 4> elements = {ui_->element1Combo, ui_->element2Combo, ui_->element3Combo,
                                              ui_->element4Combo};
  // The record never holds an element after an empty one; a hand-set record that does shows it empty.
  bool ended = false;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    ShowIndex(elements[i], ended ? 0 : s.fnm_id31[i]);
    ended = ended || elements[i]->currentIndex() == 0;
  }
  ui_->textEdit->setText(FieldText(codec, s.fnm_id32.view()));
  ui_->separatorEdit->setText(FieldText(codec, s.fnm_id33.view()));
  ShowBits(s.fnm_id3_opt, {{ui_->trimCheck, ConversionSettings::kId3NameTrimSpaces},
                           {ui_->unicodeCheck, ConversionSettings::kId3NameV1Unicode}});
  UpdateEnabled();

  for (QComboBox* combo : elements) {
    connect(combo, &QComboBox::currentIndexChanged, this, &Id3NameRulePage::UpdateEnabled);
  }
}

Id3NameRulePage::~Id3NameRulePage() = default;

void Id3NameRulePage::UpdateEnabled() {
  const std::array<QComboBox*, 4> elements = {ui_->element1Combo, ui_->element2Combo, ui_->element3Combo,
                                              ui_->element4Combo};
  // An empty element ends the list: every later one is emptied and cannot be chosen.
  bool ended = false;
  for (QComboBox* combo : elements) {
    if (ended) {
      const QSignalBlocker block(combo);
      combo->setCurrentIndex(0);
    }
    combo->setEnabled(!ended);
    ended = ended || combo->currentIndex() == 0;
  }
}

void Id3NameRulePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  TextCodec& codec = context_.session.host.codec;
  const std::array<QComboBox*, 4> elements = {ui_->element1Combo, ui_->element2Combo, ui_->element3Combo,
                                              ui_->element4Combo};
  for (std::size_t i = 0; i < elements.size(); ++i) {
    s.fnm_id31[i] = static_cast<std::int16_t>(elements[i]->currentIndex());
  }
  StoreText(codec, ui_->textEdit->text(), &s.fnm_id32);
  StoreText(codec, ui_->separatorEdit->text(), &s.fnm_id33);
  s.fnm_id3_opt = static_cast<std::uint8_t>(CollectBits({{ui_->trimCheck, ConversionSettings::kId3NameTrimSpaces},
                                                         {ui_->unicodeCheck, ConversionSettings::kId3NameV1Unicode}}));
}

}  // namespace morva
