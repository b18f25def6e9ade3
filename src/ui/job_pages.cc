#include "ui/job_pages.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/conversion_settings.h"
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
  const bool selected = rule > 0;
  ui_->extensionLine->setVisible(selected);
  ui_->extensionCheck->setVisible(selected);
  ui_->keepExtensionRadio->setVisible(selected);
  ui_->extensionOnlyRadio->setVisible(selected);
  UpdateExtensionControls();
  ui_->ruleText->setText(selected ? ui_->ruleCombo->itemText(rule)
                                  : QStringLiteral("ファイル名称変換を実行しません。\n\n変換する場合は、上のコンボボックスで変換機能を指定してください。"));
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
}

void NamePage::FocusSelector() { ui_->ruleCombo->setFocus(); }

JobPage* NewTitlePage(int code, QWidget* parent) {
  static const char* const kTitles[] = {"ファイル属性変換", "ファイル日時変換", "ファイル削除", "ID3情報変換"};
  auto* page = new JobPage(parent);
  auto* layout = new QVBoxLayout(page);
  const int index = code >= 11 && code <= 14 ? code - 11 : 0;
  layout->addWidget(new QLabel(QString::fromUtf8(kTitles[index]), page));
  layout->addStretch();
  return page;
}

}  // namespace morva
