#include "ui/run_selection_dialog.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <algorithm>

#include "log/log_writer.h"
#include "platform/file_system.h"
#include "ui/column_widths.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui/window_placement.h"
#include "ui_run_selection_dialog.h"
#include "undo/undo_from_log.h"

namespace morva {
namespace {

constexpr QSize kMinimumSize(480, 360);

bool Ask(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("MORVA"), text, QMessageBox::Yes | QMessageBox::No, owner);
  return box.exec() == QMessageBox::Yes;
}

void Tell(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QStringLiteral("MORVA"), text, QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace

RunSelectionDialog::RunSelectionDialog(UiContext& context, std::vector<LoggedRun> runs, QWidget* owner)
    : QDialog(owner), context_(context), runs_(std::move(runs)), ui_(std::make_unique<Ui::RunSelectionDialog>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  TextCodec& codec = context_.session.host.codec;
  FileSystem& fs = context_.session.host.fs;
  for (const LoggedRun& run : runs_) {
    const QString state = !run.undoable ? QCoreApplication::translate("RunSelectionDialog", "不可")
                          : run.undone  ? QCoreApplication::translate("RunSelectionDialog", "済み")
                                        : QCoreApplication::translate("RunSelectionDialog", "未");
    // The log names the engine path; people read the host's (a list run's "%dファイル" stays as it is).
    auto* item = new QTreeWidgetItem(ui_->runList, {ToQt(codec, run.id), state, DisplayPathToQt(fs, codec, run.target),
                                                    ToQt(codec, run.function)});
    item->setData(0, Qt::UserRole, static_cast<int>(ui_->runList->topLevelItemCount() - 1));
    for (int column = 2; column < 4; ++column) item->setToolTip(column, item->text(column));
  }
  const AppSettings& app = context_.session.job.app;
  for (int column = 0; column < 4; ++column) {
    ui_->runList->setColumnWidth(column, app.lulc[static_cast<std::size_t>(column)]);
  }
  WidenToShowWhole(*ui_->runList->header(),
                   {{WidestTimeStamp()}, {QCoreApplication::translate("RunSelectionDialog", "済み")}});
  ui_->runList->header()->setStretchLastSection(true);
  ui_->undoButton->setEnabled(false);
  RestoreGeometry();
  ConnectSignals();
  if (const int count = ui_->runList->topLevelItemCount(); count > 0) {
    QTreeWidgetItem* newest = ui_->runList->topLevelItem(count - 1);
    ui_->runList->setCurrentItem(newest);
    ui_->runList->scrollToItem(newest);
  }
}

RunSelectionDialog::~RunSelectionDialog() = default;

void RunSelectionDialog::ConnectSignals() {
  connect(ui_->runList, &QTreeWidget::itemSelectionChanged, this, &RunSelectionDialog::ShowSelectedRun);
  connect(ui_->runList, &QTreeWidget::itemDoubleClicked, this, &RunSelectionDialog::ConfirmSelectedRun);
  connect(ui_->undoButton, &QPushButton::clicked, this, &RunSelectionDialog::ConfirmSelectedRun);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void RunSelectionDialog::RestoreGeometry() {
  AppSettings& app = context_.session.job.app;
  RestorePlacement(*this, {app.lulx, app.luly, app.lulw, app.lulh, app.lulm}, kMinimumSize);
}

void RunSelectionDialog::StoreGeometry() {
  AppSettings& app = context_.session.job.app;
  StorePlacement(*this, {app.lulx, app.luly, app.lulw, app.lulh, app.lulm}, kMinimumSize);
  for (int column = 0; column < 4; ++column) {
    // The settings file keeps at most three digits for these.
    app.lulc[static_cast<std::size_t>(column)] = std::clamp(ui_->runList->columnWidth(column), 1, 999);
  }
}

void RunSelectionDialog::done(int result) {
  StoreGeometry();
  QDialog::done(result);
}

const LoggedRun* RunSelectionDialog::SelectedRun() const {
  const QList<QTreeWidgetItem*> selected = ui_->runList->selectedItems();
  if (selected.isEmpty()) return nullptr;
  const int index = selected.front()->data(0, Qt::UserRole).toInt();
  return index >= 0 && static_cast<std::size_t>(index) < runs_.size() ? &runs_[static_cast<std::size_t>(index)]
                                                                        : nullptr;
}

void RunSelectionDialog::ShowSelectedRun() {
  ui_->logLines->clear();
  const LoggedRun* run = SelectedRun();
  ui_->undoButton->setEnabled(run != nullptr);
  if (run == nullptr) return;
  Host& host = context_.session.host;
  std::unique_ptr<ReadableFile> log;
  std::vector<std::string> lines;
  if (!host.fs.OpenRead(LogPath(host), &log).ok()) return;
  RunLogLines(host.codec, *log, *run, &lines);
  QStringList shown;
  shown.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) shown.push_back(ToQt(host.codec, line));
  ui_->logLines->addItems(shown);
}

void RunSelectionDialog::ConfirmSelectedRun() {
  const LoggedRun* run = SelectedRun();
  if (run == nullptr) return;
  Host& host = context_.session.host;
  if (!run->undoable) {
    Tell(this, QMessageBox::Warning,
         QCoreApplication::translate("RunSelectionDialog", "指定のログからは元に戻すことができません。"));
    return;
  }
  const QString question =
      MessageToQt(host.codec, context_.translation, UndoFromLogQuestion(host.codec, context_.session.undo, *run));
  if (!Ask(this, question)) return;
  std::unique_ptr<ReadableFile> log;
  if (!host.fs.OpenRead(LogPath(host), &log).ok()) {
    Tell(this, QMessageBox::Warning,
         QCoreApplication::translate("RunSelectionDialog", "ログの読み込みに失敗しました。"));
    return;
  }
  if (!RunHasUndoableTargets(host.codec, *log, *run)) {
    Tell(this, QMessageBox::Information,
         QCoreApplication::translate("RunSelectionDialog", "ログには元に戻すものが存在しませんでした。"));
    reject();
    return;
  }
  chosen_run_ = run->id;
  accept();
}

bool UndoFromLogDialog(UiContext& context, QWidget* owner) {
  Session& session = context.session;
  Host& host = session.host;
  const std::string log_path = LogPath(host);
  std::vector<LoggedRun> runs;
  const int found = ScanRuns(host.fs, host.codec, log_path, &runs);
  std::string run_id;
  if (!ChooseRunToUndo(context, owner, found, std::move(runs), &run_id)) return false;
  LogUndoResult result;
  return TakeLogUndoOutcome(owner,
                            UndoConfirmedRunFromLog(session.log_context(), &session.undo, log_path, run_id, &result));
}

bool ChooseRunToUndo(UiContext& context, QWidget* owner, int found, std::vector<LoggedRun> runs, std::string* run_id) {
  if (found < 0) {
    Tell(owner, QMessageBox::Warning,
         QCoreApplication::translate("RunSelectionDialog", "ログが見つかりませんでした。"));
    return false;
  }
  if (found == 0) {
    Tell(owner, QMessageBox::Warning,
         QCoreApplication::translate("RunSelectionDialog", "ログには変換実行結果がありませんでした。"));
    return false;
  }
  // The dialog is gone before the undo starts: its progress dialog and messages need the screen to
  // themselves, and its cancel button must not be blocked by a modal window.
  RunSelectionDialog dialog(context, std::move(runs), owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  *run_id = dialog.chosen_run();
  return true;
}

bool TakeLogUndoOutcome(QWidget* owner, LogUndoOutcome outcome) {
  switch (outcome) {
    case LogUndoOutcome::kUndone:
      return true;
    case LogUndoOutcome::kUnknownRun:
      // Another process trimmed the run away since the list was read.
      Tell(owner, QMessageBox::Warning,
           QCoreApplication::translate("RunSelectionDialog", "ログの読み込みに失敗しました。"));
      return false;
    default:
      return false;
  }
}

}  // namespace morva
