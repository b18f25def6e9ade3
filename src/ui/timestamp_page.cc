#include "ui/timestamp_page.h"

#include <array>

#include "core/conversion_settings.h"
#include "core/job_switches.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_timestamp_page.h"

namespace morva {
namespace {

constexpr int kDirect = 1;  // "日時直接指定"
constexpr int kDateTimeMax = 12;

struct TimeRow {
  QComboBox* source;
  QLineEdit* date;
  QLineEdit* time;
  std::array<QLabel*, 3> labels;
};

std::array<TimeRow, 3> Rows(Ui::TimestampPage& ui) {
  return {{{ui.creationCombo, ui.creationDateEdit, ui.creationTimeEdit,
            {ui.creationDirectLabel, ui.creationDateLabel, ui.creationTimeLabel}},
           {ui.lastWriteCombo, ui.lastWriteDateEdit, ui.lastWriteTimeEdit,
            {ui.lastWriteDirectLabel, ui.lastWriteDateLabel, ui.lastWriteTimeLabel}},
           {ui.accessCombo, ui.accessDateEdit, ui.accessTimeEdit,
            {ui.accessDirectLabel, ui.accessDateLabel, ui.accessTimeLabel}}}};
}

}  // namespace

TimestampPage::TimestampPage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::TimestampPage>()) {
  ui_->setupUi(this);
  TextCodec& codec = context_.session.host.codec;
  const ConversionSettings& s = context_.session.job.settings;
  const auto rows = Rows(*ui_);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    LimitBytes(codec, rows[i].date, kDateTimeMax);
    LimitBytes(codec, rows[i].time, kDateTimeMax);
    ShowIndex(rows[i].source, s.sw_dtt[i]);
    rows[i].date->setText(FieldText(codec, s.dtt_date[i].view()));
    rows[i].time->setText(FieldText(codec, s.dtt_time[i].view()));
  }
  ShowIndex(ui_->nameDateCombo, s.sw_dtt[3]);
  ShowIndex(ui_->nameTimeCombo, s.sw_dtt[4]);
  UpdateEnabled();
  for (const TimeRow& row : rows) {
    connect(row.source, &QComboBox::currentIndexChanged, this, &TimestampPage::SwitchChanged);
  }
}

TimestampPage::~TimestampPage() = default;

void TimestampPage::UpdateEnabled() {
  for (const TimeRow& row : Rows(*ui_)) {
    const bool direct = row.source->currentIndex() == kDirect;
    row.date->setEnabled(direct);
    row.time->setEnabled(direct);
    for (QLabel* label : row.labels) label->setEnabled(direct);
  }
}

void TimestampPage::SwitchChanged() {
  UpdateEnabled();
  const bool was_on = ComputeJobSwitches(context_.session.job.settings).times;
  Collect();
  if (ComputeJobSwitches(context_.session.job.settings).times != was_on) emit JobKindChanged();
}

void TimestampPage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  TextCodec& codec = context_.session.host.codec;
  const auto rows = Rows(*ui_);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    s.sw_dtt[i] = static_cast<std::int16_t>(rows[i].source->currentIndex());
    // Only a time set directly reads its boxes; the others keep what the record holds.
    if (s.sw_dtt[i] != kDirect) continue;
    s.dtt_date[i].Assign(ControlBytes(codec, rows[i].date->text(), kDateTimeMax));
    s.dtt_time[i].Assign(ControlBytes(codec, rows[i].time->text(), kDateTimeMax));
  }
  s.sw_dtt[3] = static_cast<std::int16_t>(ui_->nameDateCombo->currentIndex());
  s.sw_dtt[4] = static_cast<std::int16_t>(ui_->nameTimeCombo->currentIndex());
}

}  // namespace morva
