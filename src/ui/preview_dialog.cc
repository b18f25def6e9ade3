#include "ui/preview_dialog.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <algorithm>

#include "core/job_switches.h"
#include "ui/column_widths.h"
#include "ui/output_directory_dialog.h"
#include "ui/preview_table_model.h"
#include "ui/window_context.h"
#include "ui/window_placement.h"
#include "ui_preview_dialog.h"

namespace morva {
namespace {

constexpr QSize kMinimumSize(600, 240);

}  // namespace

PreviewDialog::PreviewDialog(UiContext& context, std::vector<PreviewRecord>& records,
                             const std::vector<std::string>& targets, std::string* copy_directory, QWidget* owner)
    : QDialog(owner),
      context_(context),
      copy_directory_(copy_directory),
      ui_(std::make_unique<Ui::PreviewDialog>()),
      model_(new PreviewTableModel(context.session.host.fs, context.session.host.codec, context.translation, records,
                                   targets, ComputeJobSwitches(context.session.job.settings), this)) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  const AppSettings& app = context_.session.job.app;

  QTableView& view = *ui_->resultView;
  // Every row is one line of text: a fixed height lets the view place rows without measuring them.
  view.verticalHeader()->hide();
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
  view.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view.horizontalHeader()->setHighlightSections(false);
  view.setIconSize(QSize(16, 16));
  model_->SetHideExcluded(app.sw_pre[0]);
  view.setModel(model_);
  for (int section = 0; section < model_->columnCount(); ++section) {
    view.setColumnWidth(section, app.prec[static_cast<std::size_t>(model_->ListColumn(section))]);
  }
  // The number column shows the largest number whole, beside its state icon; the last column fills.
  const qsizetype digits = QString::number(std::max<std::size_t>(records.size(), 1)).size();
  WidenToShowWhole(*view.horizontalHeader(), {{QString(digits, QLatin1Char('9')), true}});
  view.horizontalHeader()->setStretchLastSection(true);

  ui_->hideExcludedCheck->setChecked(app.sw_pre[0]);
  ui_->errorCheck->setChecked(app.sw_pre[AppSettings::kPreExcludeFailures]);
  ui_->noChangeCheck->setChecked(app.sw_pre[AppSettings::kPreExcludeNoChange]);
  ui_->toggleButton->setEnabled(false);
  RestoreGeometry();
  ConnectSignals();
  Refresh();
}

PreviewDialog::~PreviewDialog() = default;

void PreviewDialog::ConnectSignals() {
  connect(ui_->resultView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { ui_->toggleButton->setEnabled(ui_->resultView->selectionModel()->hasSelection()); });
  connect(ui_->resultView, &QAbstractItemView::doubleClicked, this, &PreviewDialog::ToggleRow);
  connect(ui_->toggleButton, &QPushButton::clicked, this, &PreviewDialog::ToggleSelected);
  connect(ui_->excludeAllButton, &QPushButton::clicked, this, [this] { SetAllExcluded(true); });
  connect(ui_->includeAllButton, &QPushButton::clicked, this, &PreviewDialog::IncludeAll);
  // clicked, not toggled: only the person's ticks exclude; "全て対象" unticks without including twice.
  connect(ui_->errorCheck, &QCheckBox::clicked, this,
          [this](bool checked) { SetStateExcluded(kPreviewError, checked); });
  connect(ui_->noChangeCheck, &QCheckBox::clicked, this,
          [this](bool checked) { SetStateExcluded(kPreviewNoChange, checked); });
  connect(ui_->hideExcludedCheck, &QCheckBox::clicked, this, &PreviewDialog::SetHideExcluded);
  connect(ui_->startButton, &QPushButton::clicked, this, [this] { Start(PreviewChoice::kRun); });
  connect(ui_->copyButton, &QPushButton::clicked, this, [this] { Start(PreviewChoice::kCopyRun); });
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void PreviewDialog::RestoreGeometry() {
  AppSettings& app = context_.session.job.app;
  RestorePlacement(*this, {app.prex, app.prey, app.prew, app.preh, app.prem}, kMinimumSize);
}

void PreviewDialog::StoreGeometry() {
  AppSettings& app = context_.session.job.app;
  StorePlacement(*this, {app.prex, app.prey, app.prew, app.preh, app.prem}, kMinimumSize);
  for (int section = 0; section < model_->columnCount(); ++section) {
    app.prec[static_cast<std::size_t>(model_->ListColumn(section))] =
        std::clamp(ui_->resultView->columnWidth(section), 1, 9999);
  }
  app.sw_pre[0] = ui_->hideExcludedCheck->isChecked();
  app.sw_pre[AppSettings::kPreExcludeFailures] = ui_->errorCheck->isChecked();
  app.sw_pre[AppSettings::kPreExcludeNoChange] = ui_->noChangeCheck->isChecked();
}

void PreviewDialog::done(int result) {
  StoreGeometry();
  QDialog::done(result);
}

void PreviewDialog::Refresh() {
  const PreviewCounts counts = model_->Counts();
  ui_->countsLabel->setText(QCoreApplication::translate(
                                "PreviewDialog", "抽出総数：%1　　　変換対象：%2　　　成功/不要：%3　　　変換失敗：%4")
                                .arg(counts.total)
                                .arg(counts.to_convert)
                                .arg(counts.succeeded)
                                .arg(counts.failed));
  ui_->toggleButton->setEnabled(ui_->resultView->selectionModel()->hasSelection());
}

void PreviewDialog::ToggleSelected() {
  std::vector<int> rows;
  for (const QModelIndex& index : ui_->resultView->selectionModel()->selectedRows()) rows.push_back(index.row());
  model_->ToggleRows(rows);
  Refresh();
}

void PreviewDialog::ToggleRow(const QModelIndex& index) {
  if (!index.isValid()) return;
  model_->ToggleRows({index.row()});
  Refresh();
}

void PreviewDialog::SetAllExcluded(bool excluded) {
  model_->SetAllExcluded(excluded);
  Refresh();
}

void PreviewDialog::IncludeAll() {
  ui_->errorCheck->setChecked(false);
  ui_->noChangeCheck->setChecked(false);
  SetAllExcluded(false);
}

void PreviewDialog::SetStateExcluded(std::int16_t state, bool excluded) {
  model_->SetStateExcluded(state, excluded);
  Refresh();
}

void PreviewDialog::SetHideExcluded(bool hide) {
  model_->SetHideExcluded(hide);
  Refresh();
}

void PreviewDialog::Start(PreviewChoice choice) {
  if (model_->Counts().to_convert == 0) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("MORVA"),
                    QCoreApplication::translate("PreviewDialog", "変換対象がありません。"), QMessageBox::Ok, this);
    box.exec();
    return;
  }
  if (choice == PreviewChoice::kCopyRun && !AskCopyOutputDirectory(context_, this, copy_directory_)) return;
  choice_ = choice;
  accept();
}

PreviewChoice RunPreviewDialog(UiContext& context, QWidget* owner, std::vector<PreviewRecord>& records,
                               const std::vector<std::string>& targets, std::string* copy_directory) {
  PreviewChoice choice = PreviewChoice::kCancel;
  {
    PreviewDialog dialog(context, records, targets, copy_directory, owner);
    dialog.exec();
    choice = dialog.choice();
  }
  if (owner != nullptr) {
    owner->raise();
    owner->activateWindow();
  }
  return choice;
}

}  // namespace morva
