#include "ui/target_list_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <string>

#include "core/app_settings.h"
#include "platform/path_utils.h"
#include "ui/column_widths.h"
#include "ui/panel_messages.h"
#include "ui/qt_text.h"
#include "ui/target_list_model.h"
#include "ui/window_context.h"
#include "ui_target_list_window.h"

namespace morva {
namespace {

constexpr int kDefaultColumnWidth = 120;

}  // namespace

TargetListWindow::TargetListWindow(UiContext& context)
    : QWidget(nullptr, Qt::Tool),
      context_(context),
      ui_(std::make_unique<Ui::TargetListWindow>()),
      model_(new TargetListModel(context.session.host.fs, context.session.host.codec, this)) {
  ui_->setupUi(this);
  ui_->entryTable->setModel(model_);
  ui_->entryTable->horizontalHeader()->setStretchLastSection(true);
  ui_->entryTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  const AppSettings& app = context_.session.job.app;
  // Client-area geometry, as stored: a frame position would move the window at every start.
  setGeometry(app.trex, app.trey, app.trew, app.treh);

  connect(ui_->refreshButton, &QPushButton::clicked, this, &TargetListWindow::RefreshRequested);
  connect(ui_->parentButton, &QPushButton::clicked, this, [this] { ChangeTarget(true); });
  connect(ui_->selectedButton, &QPushButton::clicked, this, [this] { ChangeTarget(false); });
  connect(ui_->closeButton, &QPushButton::clicked, this, &QWidget::close);
  connect(ui_->entryTable, &QAbstractItemView::doubleClicked, this, [this] {
    if (mode_ == 1) ChangeTarget(false);
  });
  connect(ui_->entryTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TargetListWindow::UpdateButtons);
  connect(model_, &QAbstractItemModel::modelReset, this, &TargetListWindow::UpdateButtons);
  UpdateButtons();
}

TargetListWindow::~TargetListWindow() = default;

void TargetListWindow::Show(int mode, const TargetListing& listing) {
  const AppSettings& app = context_.session.job.app;
  mode_ = mode;
  listing_ = listing;
  std::vector<TargetListModel::Column> columns = {TargetListModel::kName, TargetListModel::kAttributes,
                                                  TargetListModel::kMarker, TargetListModel::kLastWrite};
  if (app.sw_opt[AppSettings::kOptColumnCreation]) columns.push_back(TargetListModel::kCreation);
  if (app.sw_opt[AppSettings::kOptColumnExif]) columns.push_back(TargetListModel::kExifDate);
  // Keep the widths the person set in this session when the columns stay the same.
  const bool same_columns = model_->columns() == columns;
  std::vector<int> widths;
  if (same_columns) {
    for (int i = 0; i < model_->columnCount(); ++i) widths.push_back(ui_->entryTable->columnWidth(i));
  }
  model_->Reset(columns, listing.rows);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const int stored = app.trec[columns[i]];
    ui_->entryTable->setColumnWidth(i, same_columns ? widths[i] : (stored < 1 ? kDefaultColumnWidth : stored));
  }
  if (!same_columns) {
    std::vector<ColumnSample> samples;
    for (const TargetListModel::Column column : columns) {
      const bool time = column == TargetListModel::kLastWrite || column == TargetListModel::kCreation ||
                        column == TargetListModel::kExifDate;
      samples.push_back({time ? WidestTimeStamp() : QString(), column == TargetListModel::kName});
    }
    WidenToShowWhole(*ui_->entryTable->horizontalHeader(), samples);
  }
  ui_->entryTable->setColumnHidden(3, !app.sw_opt[AppSettings::kOptColumnLastWrite]);
  UpdateButtons();
}

void TargetListWindow::UpdateButtons() {
  const bool listed = !listing_.directory.empty() && model_->rowCount() > 0;
  const bool selected = ui_->entryTable->selectionModel()->hasSelection();
  ui_->changeGroup->setEnabled(mode_ == 1);
  ui_->selectedButton->setEnabled(mode_ == 1 && selected && listed);
  ui_->parentButton->setEnabled(mode_ == 1 && !listing_.directory.empty() && !listing_.drive_root);
}

void TargetListWindow::ChangeTarget(bool to_parent) {
  Host& host = context_.session.host;
  const bool confirm = context_.session.job.app.sw_opt[AppSettings::kOptConfirmListChanges];
  if (listing_.directory.empty()) {
    ShowPanelWarning(context_, QCoreApplication::translate("TargetListWindow", "不正なパスで操作されました。"));
    return;
  }
  if (to_parent) {
    if (listing_.drive_root) {
      ShowPanelWarning(context_,
                       QCoreApplication::translate("TargetListWindow",
                                                   "ルートディレクトリから親ディレクトリへの対象変更はできません。"));
      return;
    }
    if (confirm && !AskPanelQuestion(
                       context_, QCoreApplication::translate(
                                     "TargetListWindow", "変換対象を親ディレクトリに変更します。よろしいですか？"))) {
      return;
    }
    std::string parent = listing_.directory, name;
    // The listed directory's parent; a pattern or a single file goes to the directory it is in.
    if (!listing_.pattern && !listing_.single_file && !SplitPath(listing_.directory, &parent, &name)) {
      ShowPanelWarning(context_,
                       QCoreApplication::translate("TargetListWindow", "親ディレクトリへの対象変更に失敗しました。"));
      return;
    }
    emit PathChosen(DisplayPathToQt(host.fs, host.codec, parent));
    return;
  }
  if (listing_.single_file) {
    ShowPanelWarning(context_,
                     QCoreApplication::translate("TargetListWindow", "指定のファイルは、変換対象そのものです。"));
    return;
  }
  const QModelIndexList rows = ui_->entryTable->selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  std::string name;
  if (!FromQt(host.codec, model_->NameAt(rows.front().row()), &name)) return;
  const std::string path = JoinPath(listing_.directory, name);
  if (path.size() > kMaxPath) {
    ShowPanelWarning(context_, QCoreApplication::translate("TargetListWindow",
                                                           "対象変更後のパス長が最大値を超えるため、変更できません。"));
    return;
  }
  if (confirm &&
      !AskPanelQuestion(context_, QCoreApplication::translate("TargetListWindow",
                                                              "変換対象を指定のものに変更します。よろしいですか？"))) {
    return;
  }
  emit PathChosen(DisplayPathToQt(host.fs, host.codec, path));
}

void TargetListWindow::StorePlacement(AppSettings& app) const {
  const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  int x = std::max(0, normal.x());
  int y = std::max(0, normal.y());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->geometry();
    if (x + normal.width() > desktop.right() + 1) x = std::max(0, desktop.right() + 1 - normal.width());
    if (y + normal.height() > desktop.bottom() + 1) y = std::max(0, desktop.bottom() + 1 - normal.height());
  }
  app.trex = x;
  app.trey = y;
  app.trew = normal.width();
  app.treh = normal.height();
  const std::vector<TargetListModel::Column>& columns = model_->columns();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const TargetListModel::Column column = columns[i];
    const bool stored_always = column <= TargetListModel::kMarker;
    const bool option_on = (column == TargetListModel::kLastWrite && app.sw_opt[AppSettings::kOptColumnLastWrite]) ||
                           (column == TargetListModel::kCreation && app.sw_opt[AppSettings::kOptColumnCreation]) ||
                           (column == TargetListModel::kExifDate && app.sw_opt[AppSettings::kOptColumnExif]);
    const int width = ui_->entryTable->columnWidth(i);
    if ((stored_always || option_on) && width >= 1) app.trec[column] = width;
  }
}

void TargetListWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && QApplication::activeModalWidget() == nullptr) {
    emit Activated();
  }
}

void TargetListWindow::closeEvent(QCloseEvent* event) {
  StorePlacement(context_.session.job.app);
  event->accept();
  emit Closed();
}

}  // namespace morva
