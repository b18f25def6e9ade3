#include "ui/deletion_page.h"

#include "core/conversion_settings.h"
#include "core/job_switches.h"
#include "ui/page_binding.h"
#include "ui/window_context.h"
#include "ui_deletion_page.h"

namespace morva {

DeletionPage::DeletionPage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::DeletionPage>()) {
  ui_->setupUi(this);
  const ConversionSettings& s = context_.session.job.settings;
  ui_->deleteCheck->setChecked(s.sw_del[0]);
  ui_->noTrashCheck->setChecked(s.sw_del[1]);
  ui_->wipeCheck->setChecked(s.sw_del[2]);
  ShowIndex(ui_->levelCombo, s.del_01 - 1);
  UpdateEnabled();
  connect(ui_->deleteCheck, &QCheckBox::toggled, this, &DeletionPage::SwitchChanged);
  connect(ui_->noTrashCheck, &QCheckBox::toggled, this, &DeletionPage::UpdateEnabled);
  connect(ui_->wipeCheck, &QCheckBox::toggled, this, &DeletionPage::UpdateEnabled);
}

DeletionPage::~DeletionPage() = default;

// Boxes that go grey keep their ticks: switching deletion on again brings back the way it was set.
void DeletionPage::UpdateEnabled() {
  const bool deletion = ui_->deleteCheck->isChecked();
  const bool permanent = deletion && ui_->noTrashCheck->isChecked();
  ui_->noTrashCheck->setEnabled(deletion);
  ui_->wipeCheck->setEnabled(permanent);
  ui_->levelGroup->setEnabled(permanent && ui_->wipeCheck->isChecked());
}

void DeletionPage::SwitchChanged() {
  UpdateEnabled();
  Collect();
  emit JobKindChanged();
}

void DeletionPage::Collect() {
  ConversionSettings& s = context_.session.job.settings;
  s.sw_del = {ui_->deleteCheck->isChecked(), ui_->noTrashCheck->isChecked(), ui_->wipeCheck->isChecked()};
  s.del_01 = static_cast<std::int16_t>(ui_->levelCombo->currentIndex() + 1);
}

}  // namespace morva
