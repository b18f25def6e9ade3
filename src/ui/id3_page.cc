#include "ui/id3_page.h"

#include <array>

#include "core/conversion_settings.h"
#include "core/job_switches.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_id3_page.h"

namespace morva {
namespace {

constexpr int kDirectString = 10;  // "文字列直接指定"
constexpr std::size_t kDirectMax = 100;

struct ItemRow {
  QComboBox* source;
  QLabel* label;
  QLineEdit* text;
};

std::array<ItemRow, 7> Rows(Ui::Id3Page& ui) {
  return {{{ui.titleCombo, ui.titleDirectLabel, ui.titleEdit},
           {ui.artistCombo, ui.artistDirectLabel, ui.artistEdit},
           {ui.albumCombo, ui.albumDirectLabel, ui.albumEdit},
           {ui.trackCombo, ui.trackDirectLabel, ui.trackEdit},
           {ui.yearCombo, ui.yearDirectLabel, ui.yearEdit},
           {ui.commentCombo, ui.commentDirectLabel, ui.commentEdit},
           {ui.genreCombo, ui.genreDirectLabel, ui.genreEdit}}};
}

}  // namespace

Id3Page::Id3Page(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::Id3Page>()) {
  ui_->setupUi(this);
  TextCodec& codec = context_.session.host.codec;
  const ConversionSettings& s = context_.session.job.settings;
  const auto rows = Rows(*ui_);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    LimitBytes(codec, rows[i].text, static_cast<int>(kDirectMax));
    ShowIndex(rows[i].source, s.sw_id3[i]);
    if (s.id3_str[i].has_value()) rows[i].text->setText(FieldText(codec, *s.id3_str[i]));
  }
  LimitBytes(codec, ui_->separatorEdit, 8);
  ui_->separatorEdit->setText(FieldText(codec, s.id3_spr.view()));
  using C = ConversionSettings;
  ShowBits(s.id3_cts, {{ui_->convertV1Check, C::kId3ConvertV1},
                       {ui_->convertV2Check, C::kId3ConvertV2},
                       {ui_->addV1Check, C::kId3AddV1},
                       {ui_->addV2Check, C::kId3AddV2}});
  ui_->cp932TextCheck->setChecked(s.id3_enc);
  UpdateEnabled();
  for (const ItemRow& row : rows) {
    connect(row.source, &QComboBox::currentIndexChanged, this, &Id3Page::SwitchChanged);
  }
}

Id3Page::~Id3Page() = default;

void Id3Page::UpdateEnabled() {
  for (const ItemRow& row : Rows(*ui_)) {
    const bool direct = row.source->currentIndex() == kDirectString;
    row.label->setEnabled(direct);
    row.text->setEnabled(direct);
  }
}

void Id3Page::SwitchChanged() {
  UpdateEnabled();
  const bool was_on = ComputeJobSwitches(context_.session.job.settings).id3;
  Collect();
  if (ComputeJobSwitches(context_.session.job.settings).id3 != was_on) emit JobKindChanged();
}

void Id3Page::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  TextCodec& codec = context_.session.host.codec;
  const auto rows = Rows(*ui_);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    s.sw_id3[i] = static_cast<std::int16_t>(rows[i].source->currentIndex());
    // Cut to 100 bytes without splitting a character; an empty box stays an empty string.
    s.id3_str[i] = ControlBytes(codec, rows[i].text->text(), kDirectMax);
  }
  StoreText(codec, ui_->separatorEdit->text(), &s.id3_spr);
  using C = ConversionSettings;
  s.id3_cts = static_cast<std::uint8_t>(CollectBits({{ui_->convertV1Check, C::kId3ConvertV1},
                                                     {ui_->convertV2Check, C::kId3ConvertV2},
                                                     {ui_->addV1Check, C::kId3AddV1},
                                                     {ui_->addV2Check, C::kId3AddV2}}));
  s.id3_enc = ui_->cp932TextCheck->isChecked();
}

}  // namespace morva
