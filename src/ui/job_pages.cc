#include "ui/job_pages.h"

#include <QCoreApplication>

#include "core/conversion_settings.h"
#include "ui/attribute_page.h"
#include "ui/csv_rule_page.h"
#include "ui/date_rule_page.h"
#include "ui/deletion_page.h"
#include "ui/general_rule_page.h"
#include "ui/id3_name_rule_page.h"
#include "ui/id3_page.h"
#include "ui/replacement_rule_page.h"
#include "ui/serial_rule_page.h"
#include "ui/statement_rule_page.h"
#include "ui/timestamp_page.h"
#include "ui/width_rule_page.h"
#include "ui/window_context.h"
#include "ui_name_page.h"

namespace morva {

NamePage::NamePage(UiContext& context, QWidget* parent)
    : JobPage(parent), context_(context), ui_(std::make_unique<Ui::NamePage>()) {
  ui_->setupUi(this);
  const ConversionSettings& job = context_.session.job.settings;
  const int rule = job.sw_fnm >= 0 && job.sw_fnm < ui_->ruleCombo->count() ? job.sw_fnm : 0;
  ui_->ruleCombo->setCurrentIndex(rule);
  ui_->extensionCheck->setChecked(job.fnm_01);
  (job.fnm_02 == 2 ? ui_->extensionOnlyRadio : ui_->keepExtensionRadio)->setChecked(true);
  ShowRule(rule);

  connect(ui_->ruleCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
    context_.session.job.settings.sw_fnm = static_cast<std::int16_t>(index);
    ShowRule(index);
    emit JobKindChanged();
    ui_->ruleCombo->setFocus();
  });
  connect(ui_->extensionCheck, &QCheckBox::toggled, this, &NamePage::UpdateExtensionControls);
}

NamePage::~NamePage() = default;

void NamePage::ShowRule(int rule) {
  if (rule_page_ != nullptr) {
    rule_page_->Collect();
    delete rule_page_;
  }
  rule_page_ = NewRulePage(rule, context_, this);
  if (rule_page_ != nullptr) {
    ui_->pageLayout->insertWidget(ui_->pageLayout->indexOf(ui_->ruleText) + 1, rule_page_);
    rule_page_->show();
  }
  const bool selected = rule > 0;
  ui_->extensionLine->setVisible(selected);
  ui_->extensionCheck->setVisible(selected);
  ui_->keepExtensionRadio->setVisible(selected);
  ui_->extensionOnlyRadio->setVisible(selected);
  UpdateExtensionControls();
  ui_->ruleText->setVisible(!selected);
  ui_->ruleText->setText(QCoreApplication::translate(
      "JobPages",
      "ファイル名称変換を実行しません。\n\n変換する場合は、上のコンボボックスで変換機能を指定してください。"));
}

void NamePage::UpdateExtensionControls() {
  ui_->keepExtensionRadio->setEnabled(ui_->extensionCheck->isChecked());
  ui_->extensionOnlyRadio->setEnabled(ui_->extensionCheck->isChecked());
}

void NamePage::Collect() {
  ConversionSettings& job = context_.session.job.settings;
  job.sw_fnm = static_cast<std::int16_t>(ui_->ruleCombo->currentIndex());
  job.fnm_01 = ui_->extensionCheck->isChecked();
  job.fnm_02 = ui_->extensionOnlyRadio->isChecked() ? 2 : 1;
  if (rule_page_ != nullptr) rule_page_->Collect();
}

void NamePage::FocusSelector() { ui_->ruleCombo->setFocus(); }

JobPage* NewJobPage(int code, UiContext& context, QWidget* parent) {
  switch (code) {
    case 11:
      return new AttributePage(context, parent);
    case 12:
      return new TimestampPage(context, parent);
    case 13:
      return new DeletionPage(context, parent);
    case 14:
      return new Id3Page(context, parent);
    default:
      return new NamePage(context, parent);
  }
}

JobPage* NewRulePage(int rule, UiContext& context, QWidget* parent) {
  switch (rule) {
    case 1:
      return new GeneralRulePage(context, parent);
    case 2:
      return new WidthRulePage(context, parent);
    case 3:
      return new ReplacementRulePage(context, parent);
    case 4:
      return new SerialRulePage(context, parent);
    case 5:
      return new DateRulePage(context, parent);
    case 6:
      return new Id3NameRulePage(context, parent);
    case 7:
      return new StatementRulePage(context, parent);
    case 8:
      return new CsvRulePage(context, parent);
    default:
      return nullptr;
  }
}

}  // namespace morva
