#include "ui/attribute_page.h"

#include <array>

#include "core/conversion_settings.h"
#include "core/job_switches.h"
#include "ui/window_context.h"
#include "ui_attribute_page.h"

namespace morva {
namespace {

struct AttributeRow {
  QCheckBox* check;
  QRadioButton* on;
  QRadioButton* off;
};

std::array<AttributeRow, 4> Rows(Ui::AttributePage& ui) {
  return {{{ui.readOnlyCheck, ui.readOnlyOnRadio, ui.readOnlyOffRadio},
           {ui.hiddenCheck, ui.hiddenOnRadio, ui.hiddenOffRadio},
           {ui.archiveCheck, ui.archiveOnRadio, ui.archiveOffRadio},
           {ui.systemCheck, ui.systemOnRadio, ui.systemOffRadio}}};
}

}  // namespace

AttributePage::AttributePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::AttributePage>()) {
  ui_->setupUi(this);
  const ConversionSettings& s = context_.session.job.settings;
  const auto rows = Rows(*ui_);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].check->setChecked(s.sw_atr[i]);
    ((s.atr_onb & (1 << i)) != 0 ? rows[i].on : rows[i].off)->setChecked(true);
  }
  UpdateEnabled();
  for (const AttributeRow& row : rows) connect(row.check, &QCheckBox::toggled, this, &AttributePage::SwitchChanged);
}

AttributePage::~AttributePage() = default;

void AttributePage::UpdateEnabled() {
  for (const AttributeRow& row : Rows(*ui_)) {
    row.on->setEnabled(row.check->isChecked());
    row.off->setEnabled(row.check->isChecked());
  }
}

void AttributePage::SwitchChanged() {
  UpdateEnabled();
  const bool was_on = ComputeJobSwitches(context_.session.job.settings).attributes;
  Collect();
  if (ComputeJobSwitches(context_.session.job.settings).attributes != was_on) emit JobKindChanged();
}

void AttributePage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  const auto rows = Rows(*ui_);
  std::uint8_t states = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    s.sw_atr[i] = rows[i].check->isChecked();
    if (rows[i].on->isChecked()) states |= static_cast<std::uint8_t>(1 << i);
  }
  s.atr_onb = states;
}

}  // namespace morva
