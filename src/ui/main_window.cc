#include "ui/main_window.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVariant>

#include "core/job_switches.h"
#include "core/user_interface.h"
#include "engine/conversion_run.h"
#include "engine/validation.h"
#include "log/log_markers.h"
#include "log/log_trim.h"
#include "log/log_writer.h"
#include "settings/preset_file.h"
#include "settings/settings_store.h"
#include "ui/about_dialog.h"
#include "ui/dropped_paths.h"
#include "ui/engine_worker.h"
#include "ui/help_launch.h"
#include "ui/job_pages.h"
#include "ui/list_panel.h"
#include "ui/output_directory_dialog.h"
#include "ui/panel_messages.h"
#include "ui/path_panel.h"
#include "ui/preset_load_dialog.h"
#include "ui/preset_save_dialog.h"
#include "ui/preview_dialog.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"
#include "ui/run_selection_dialog.h"
#include "ui/screen_fit.h"
#include "ui/settings_dialog.h"
#include "ui/target_list_window.h"
#include "ui/window_context.h"
#include "ui_main_window.h"
#include "undo/undo_run.h"

namespace morva {
namespace {

constexpr char kSettingKeyProperty[] = "morvaKey";

// A command-line argument, the quotes of a Windows-style command line removed, as the text of the engine
// path it names (in host form); false, with the argument as written in *shown, when it has no engine form.
bool ArgumentPath(UiContext& context, QString argument, QString* shown) {
  if (argument.startsWith(QLatin1Char('"'))) {
    argument.remove(0, 1);
    if (argument.endsWith(QLatin1Char('"'))) argument.chop(1);
  }
  std::string engine;
  if (!EnginePathFromQt(context.session.host.codec, context.session.host.fs, argument, &engine)) {
    *shown = argument;
    return false;
  }
  *shown = DisplayPathToQt(context.session.host.fs, context.session.host.codec, engine);
  return true;
}

// The first widget under `root` that carries the settings key `key`, preferring a visible one.
QWidget* FindSettingWidget(QWidget* root, std::string_view key) {
  if (root == nullptr) return nullptr;
  const QString wanted = QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
  QWidget* hidden_match = nullptr;
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (widget->property(kSettingKeyProperty).toString() != wanted) continue;
    if (widget->isVisibleTo(root)) return widget;
    if (hidden_match == nullptr) hidden_match = widget;
  }
  return hidden_match;
}

// A dialog presses its default button, or the focused push button, when Enter is pressed anywhere in
// it: Enter in a path box would open the folder chooser. The main window has no default button.
void WithoutDefaultButtons(QWidget& root) {
  for (QPushButton* button : root.findChildren<QPushButton*>()) button->setAutoDefault(false);
}

// Where a window stands as the settings keep it: its client area.
QRect Placement(const QWidget& widget) { return widget.geometry(); }

}  // namespace

MainWindow::MainWindow(UiContext& context, const QStringList& arguments, QWidget* parent)
    : QDialog(parent),
      context_(context),
      ui_(std::make_unique<Ui::MainWindow>()),
      job_on_icon_(QStringLiteral(":/morva/icons/job_on.svg")),
      job_off_icon_(QStringLiteral(":/morva/icons/job_off.svg")),
      worker_(std::make_unique<EngineWorker>()) {
  ui_->setupUi(this);
  // Enter in the path or wildcard box must not press a button (a dialog's default would start a run).
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  setWindowIcon(QIcon(QStringLiteral(":/morva/icons/morva.svg")));
  setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
  LoadSettingsFile();
  AppSettings& app = context_.session.job.app;

  ui_->previewCheck->setChecked(app.pref);
  ui_->copyCheck->setChecked(app.cpyf);
  ui_->copyCheck->setEnabled(!app.pref);
  ui_->undoButton->setEnabled(false);
  UpdateLogButtons();

  // One argument is the target path, two or more the list; without any, the stored mode holds. A single
  // path without an engine form stays in the path box as given, where the run refuses it; list entries
  // without one are left out, and the person is told which once the window is up.
  std::optional<QString> path_argument;
  QStringList list_arguments;
  QStringList refused;
  int mode = app.set_0 == 2 ? 2 : 1;
  if (arguments.size() == 1) {
    path_argument.emplace();
    ArgumentPath(context_, arguments.front(), &*path_argument);
    mode = 1;
  } else if (arguments.size() >= 2) {
    for (const QString& argument : arguments) {
      QString shown;
      (ArgumentPath(context_, argument, &shown) ? list_arguments : refused) << shown;
    }
    mode = 2;
  }
  if (!refused.isEmpty()) QTimer::singleShot(0, this, [this, refused] { ReportRefusedPaths(context_, refused); });
  path_panel_ = new PathPanel(context_, path_argument, ui_->panelStack);
  list_panel_ = new ListPanel(context_, list_arguments, ui_->panelStack);
  ui_->panelStack->addWidget(path_panel_);
  ui_->panelStack->addWidget(list_panel_);
  {
    const QSignalBlocker block(ui_->targetModeCombo);
    ui_->targetModeCombo->setCurrentIndex(mode - 1);
  }
  ui_->panelStack->setCurrentIndex(mode - 1);

  const ConversionSettings& job = context_.session.job.settings;
  ShowJobPage((job.sw_tab >= 0 && job.sw_tab <= 4 ? job.sw_tab : 0) + 10, true);
  UpdateJobKindMarks();

  WireCommands();
  WithoutDefaultButtons(*this);
  OrderTabChain();
  AddPageShortcuts();
  ui_->showTargetListCheck->setChecked(app.sw_set[AppSettings::kSetShowList]);
  // The panels and the page are in: the window takes its real size. Its place waits for the first show,
  // when every page is laid out.
  adjustSize();
  if (app.sw_set[AppSettings::kSetShowList]) ShowTargetList(true);
  if (mode == 1) path_panel_->FocusPath();
}

void MainWindow::AddPageShortcuts() {
  // Alt+1 to Alt+5 open the job tabs; a "(&1)" in their titles would not leave the five room enough.
  for (int tab = 0; tab < ui_->jobTabs->count(); ++tab) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + tab)), this);
    connect(shortcut, &QShortcut::activated, this, [this, tab] {
      if (busy_) return;
      ui_->jobTabs->setCurrentIndex(tab);
      ui_->jobTabs->tabBar()->setFocus();
    });
    ui_->jobTabs->setTabToolTip(tab, shortcut->key().toString(QKeySequence::NativeText));
  }
}

void MainWindow::OrderTabChain() {
  // The panels, made after the form, ended the chain: Tab went from the target path through the whole
  // job page before it reached ▼変換開始. Now the commands follow the panels, then the job tabs and page.
  QWidget* previous = list_panel_;
  for (QWidget* next = previous->nextInFocusChain(); list_panel_->isAncestorOf(next); next = next->nextInFocusChain()) {
    previous = next;
  }
  for (QWidget* next : std::initializer_list<QWidget*>{
           ui_->startButton, ui_->previewCheck, ui_->copyCheck, ui_->undoButton, ui_->undoFromLogButton,
           ui_->logButton, ui_->savePresetButton, ui_->loadPresetButton, ui_->clearAllButton, ui_->settingsButton,
           ui_->helpButton, ui_->aboutButton, ui_->exitButton, ui_->jobTabs}) {
    setTabOrder(previous, next);
    previous = next;
  }
}

void MainWindow::PlaceTargetListBeside() {
  const AppSettings& app = context_.session.job.app;
  if (target_list_ == nullptr || app.trex != 0 || app.trey != 0) return;
  // Never placed by the person: beside the main window rather than over its controls.
  const QMargins frame = FrameMargins(*this);
  const QMargins list_frame = FrameMargins(*target_list_);
  if (const std::optional<QRect> beside =
          BesideFrame(geometry().marginsAdded(frame), target_list_->size().grownBy(list_frame),
                      target_list_->minimumWidth() + list_frame.left() + list_frame.right(),
                      AvailableGeometryAt(geometry().center()))) {
    target_list_->setGeometry(beside->marginsRemoved(list_frame));
    // The program's choice, not the person's: no reason to write the settings at exit.
    target_list_geometry_ = Placement(*target_list_);
  }
}

void MainWindow::PlaceOnScreen() {
  // Where the settings put it, or centred when they did not, and in both cases whole on the screen. The
  // position is the client area's, as stored: a frame position would move the window by its title bar
  // at every start.
  const AppSettings& app = context_.session.job.app;
  ensurePolished();
  layout()->activate();
  adjustSize();
  const QMargins frame = FrameMargins(*this);
  const QPoint to_client(frame.left(), frame.top());
  const QSize frame_size = size().grownBy(frame);
  QPoint frame_origin = QPoint(app.winx, app.winy) - to_client;
  const QRect available = AvailableGeometryAt(QPoint(app.winx, app.winy));
  if (centred_by_default_) {
    // On a first start the target list window opens too: the two are centred side by side when the
    // screen is wide enough, the list on the left.
    const bool list_first_shown = app.sw_set[AppSettings::kSetShowList] && app.trex == 0 && app.trey == 0;
    const int list_width = list_first_shown ? app.trew : 0;
    const int both = std::min(frame_size.width() + list_width, available.width());
    frame_origin = QPoint(available.left() + (available.width() - both) / 2 + both - frame_size.width(),
                          available.top() + (available.height() - frame_size.height()) / 2);
  }
  setGeometry(QRect(FitOnScreen(frame_origin, frame_size, available) + to_client, size()));
}

MainWindow::~MainWindow() {
  Shutdown();
  delete target_list_.data();
}

TargetListWindow* MainWindow::target_list_window() const { return target_list_.data(); }

void MainWindow::LoadSettingsFile() {
  adjustSize();
  DesktopGeometry desktop;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    desktop.right = screen->geometry().right() + 1;
    desktop.bottom = screen->geometry().bottom() + 1;
  }
  desktop.main_width = width();
  desktop.main_height = height();
  Job& job = context_.session.job;
  LoadAllPresets(context_.session.host.fs, context_.session.host.codec, context_.program_directory, &job.presets);
  LoadSettings(context_.session.host.fs, context_.program_directory, desktop, &job.settings, &job.app);
  // The window has not been laid out yet, so the centred position the settings give when they hold none
  // is wrong: the constructor centres the window itself once it knows its size.
  AppSettings centred;
  centred.CentreWindows(desktop.right, desktop.bottom, desktop.main_width, desktop.main_height);
  centred_by_default_ = job.app.winx == centred.winx && job.app.winy == centred.winy;
}

void MainWindow::WireCommands() {
  connect(ui_->targetModeCombo, &QComboBox::currentIndexChanged, this, [this](int index) { SelectMode(index + 1); });
  connect(ui_->showTargetListCheck, &QCheckBox::clicked, this, &MainWindow::ShowTargetList);
  connect(ui_->previewCheck, &QCheckBox::toggled, ui_->copyCheck, [this](bool on) { ui_->copyCheck->setEnabled(!on); });
  connect(ui_->startButton, &QPushButton::clicked, this, &MainWindow::StartConversionCommand);
  connect(ui_->undoButton, &QPushButton::clicked, this, &MainWindow::UndoCommand);
  connect(ui_->undoFromLogButton, &QPushButton::clicked, this, &MainWindow::UndoFromLogCommand);
  // Every command below checks busy_: while the worker runs the engine, the window's controls are off,
  // and nothing started here may touch the session or the file system.
  connect(ui_->logButton, &QPushButton::clicked, this, [this] {
    // On the worker: a large log takes its time to read, and another process's run holds it for as
    // long as it runs.
    if (!busy_) StartOnWorker<bool>([this] { return OpenLog(context_); }, [this](bool) { emit CommandFinished(); });
  });
  connect(ui_->helpButton, &QPushButton::clicked, this, [this] {
    if (!busy_) OpenHelp(context_);
  });
  connect(ui_->aboutButton, &QPushButton::clicked, this, [this] {
    if (!busy_) ShowAboutDialog(context_, this);
  });
  connect(ui_->savePresetButton, &QPushButton::clicked, this, &MainWindow::SavePresetCommand);
  connect(ui_->clearAllButton, &QPushButton::clicked, this, [this] {
    if (busy_) return;
    ClearAllConversions();
    ShowJobPage(0, true);
    ui_->jobTabs->tabBar()->setFocus();
  });
  connect(ui_->exitButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->jobTabs, &QTabWidget::currentChanged, this, [this](int index) { ShowJobPage(index + 10, false); });
  connect(path_panel_, &PathPanel::Changed, this, &MainWindow::RefreshTargets);
  connect(list_panel_, &ListPanel::Changed, this, [this] { RefreshTargets(false); });
  // Coming back to the program shows the target list window and, in front of it, the main window.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive || !isVisible()) return;
    if (target_list_ != nullptr) target_list_->raise();
    raise();
  });
  connect(ui_->loadPresetButton, &QPushButton::clicked, this, &MainWindow::LoadPresetCommand);
  connect(ui_->settingsButton, &QPushButton::clicked, this, &MainWindow::SettingsCommand);
}

void MainWindow::SelectMode(int mode) {
  {
    const QSignalBlocker block(ui_->targetModeCombo);
    ui_->targetModeCombo->setCurrentIndex(mode - 1);
  }
  ui_->panelStack->setCurrentIndex(mode - 1);
  RefreshTargets(false);
}

void MainWindow::ShowJobPage(int code, bool force) {
  const int page_code = code >= 11 && code <= 14 ? code : 10;
  ConversionSettings& job = context_.session.job.settings;
  const bool rule_given = code >= 0 && code <= 8;
  if (job_page_ != nullptr && (force || rule_given || page_code != job_page_code_)) {
    job_page_->Collect();
    delete job_page_;
    job_page_ = nullptr;
  }
  if (rule_given) job.sw_fnm = static_cast<std::int16_t>(code);
  const int tab = page_code - 10;
  if (job_page_ == nullptr) {
    QWidget* container = ui_->jobTabs->widget(tab);
    job_page_ = NewJobPage(page_code, context_, container);
    WithoutDefaultButtons(*job_page_);
    container->layout()->addWidget(job_page_);
    connect(job_page_, &JobPage::JobKindChanged, this, &MainWindow::UpdateJobKindMarks);
  }
  job_page_code_ = page_code;
  job.sw_tab = static_cast<std::int16_t>(tab);
  {
    const QSignalBlocker block(ui_->jobTabs);
    ui_->jobTabs->setCurrentIndex(tab);
  }
  // At once rather than when the layout gets to it, so that a setting on it can take the focus now.
  job_page_->show();
}

bool MainWindow::event(QEvent* event) {
  // The layout, which acts on the request before the window sees it, has grown the window for a taller
  // page or panel: downwards, so it moves up as far as it must to stay on the screen.
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::LayoutRequest && shown_once_) KeepOnScreen(*this);
  return handled;
}

void MainWindow::ClearAllConversions() {
  // The page's options stay; only the switches below go off.
  if (job_page_ != nullptr) job_page_->Collect();
  delete job_page_;
  job_page_ = nullptr;
  ConversionSettings& job = context_.session.job.settings;
  job.sw_fnm = 0;
  job.sw_atr.fill(false);
  for (int i = 0; i < 3; ++i) job.sw_dtt[i] = 0;
  job.sw_del[0] = false;
  job.sw_id3.fill(0);
  UpdateJobKindMarks();
}

void MainWindow::UpdateJobKindMarks() {
  const JobSwitches kinds = ComputeJobSwitches(context_.session.job.settings);
  const bool on[] = {kinds.name, kinds.attributes, kinds.times, kinds.deletion, kinds.id3};
  for (int tab = 0; tab < 5; ++tab) ui_->jobTabs->setTabIcon(tab, on[tab] ? job_on_icon_ : job_off_icon_);
}

bool MainWindow::CollectSettings() {
  AppSettings& app = context_.session.job.app;
  const bool path_taken = path_panel_->Collect();
  if (job_page_ != nullptr) job_page_->Collect();
  app.set_0 = static_cast<std::int16_t>(ui_->targetModeCombo->currentIndex() + 1);
  app.list_items = list_panel_->Items();
  app.sw_set[AppSettings::kSetShowList] = ui_->showTargetListCheck->isChecked();
  app.pref = ui_->previewCheck->isChecked();
  app.cpyf = ui_->copyCheck->isChecked();
  context_.session.job.settings.sw_tab = static_cast<std::int16_t>(ui_->jobTabs->currentIndex());
  app.winx = geometry().x();
  app.winy = geometry().y();
  if (target_list_ != nullptr) target_list_->StorePlacement(app);
  return path_taken || app.set_0 != 1;
}

void MainWindow::ShowTargetList(bool shown) {
  if (!shown) {
    if (target_list_ != nullptr) {
      target_list_->StorePlacement(context_.session.job.app);
      delete target_list_.data();
    }
    return;
  }
  if (target_list_ != nullptr) return;
  target_list_ = new TargetListWindow(context_);
  connect(target_list_, &TargetListWindow::RefreshRequested, this, [this] { RefreshTargets(false); });
  connect(target_list_, &TargetListWindow::PathChosen, this, [this](const QString& path) {
    path_panel_->SetPathText(path);
  });
  // The list window has no owner, yet the main window stays in front of everything but it.
  connect(target_list_, &TargetListWindow::Activated, this, [this] {
    raise();
    if (target_list_ != nullptr) target_list_->raise();
  });
  connect(target_list_, &TargetListWindow::Closed, this, [this] {
    ui_->showTargetListCheck->setChecked(false);
    if (target_list_ != nullptr) target_list_->deleteLater();
    target_list_ = nullptr;
  });
  if (isVisible()) PlaceTargetListBeside();
  target_list_->show();
  target_list_geometry_ = Placement(*target_list_);
  QTimer::singleShot(0, target_list_, [this] { target_list_geometry_ = Placement(*target_list_); });
  RefreshTargets(false);
}

void MainWindow::RefreshTargets(bool typing) {
  if (target_list_ == nullptr) return;
  // Listing reads the file system, which the worker is using.
  if (busy_) {
    refresh_after_busy_ = true;
    return;
  }
  const int mode = ui_->targetModeCombo->currentIndex() + 1;
  TargetListQuery query;
  if (mode == 1) {
    query = path_panel_->Query(typing);
  } else {
    query.mode = 2;
    query.list_entries = list_panel_->Items();
  }
  const TargetListing listing = ListTargets(context_.session, query);
  if (listing.tidied_path.has_value()) {
    path_panel_->SetPathText(*listing.tidied_path);  // lists the tidied path
    return;
  }
  target_list_->Show(mode, listing);
}

// The engine asks for it from the worker, which waits meanwhile: the file system is free for the list.
void MainWindow::RefreshTargetList() { RefreshTargets(false); }

void MainWindow::SetTargetPath(std::string_view path) {
  path_panel_->SetPathText(DisplayPathToQt(context_.session.host.fs, context_.session.host.codec, path));
}

bool MainWindow::TakeVerdict(const ValidationVerdict& verdict) {
  Session& session = context_.session;
  if (verdict.target_path_changed && session.job.app.dirfil[0].has_value()) SetTargetPath(*session.job.app.dirfil[0]);
  switch (verdict.kind) {
    case ValidationVerdict::Kind::kAccepted:
      return false;
    case ValidationVerdict::Kind::kRefused:
      session.host.ui.ShowWarning(verdict.message);
      FocusSetting(verdict.page, verdict.key);
      return false;
    case ValidationVerdict::Kind::kQuestion:
      if (!session.host.ui.AskYesNo(verdict.message)) return false;
      ApplyProposedChange(session.job, verdict.change);
      if (verdict.change == ProposedChange::kDropDirectoryTargets) path_panel_->ClearDirectoryTargets();
      RefreshTargets(false);
      return true;
  }
  return false;
}

void MainWindow::FocusSetting(int page_code, std::string_view key) {
  QWidget* root = this;
  if (page_code != kPageTargets) {
    ShowJobPage(page_code == kPageNameSelector ? 10 : page_code, false);
    root = job_page_;
  } else if (key != "SET_0") {
    root = ui_->panelStack->currentWidget();
  }
  if (QWidget* widget = FindSettingWidget(root, key)) widget->setFocus();
  raise();
  activateWindow();
}

void MainWindow::UpdateLogButtons() {
  bool ours = false;
  Host& host = context_.session.host;
  std::unique_ptr<ReadableFile> file;
  std::string head;
  if (host.fs.OpenRead(LogPath(host), &file).ok() && file->Read(0, 1024, &head).ok()) {
    const std::size_t end = head.find('\n');
    const std::string line = end == std::string::npos ? std::string() : head.substr(0, end + 1);
    if (line.size() >= 43) {
      // The run header of any 6.x version: only the version's digit is not compared.
      const QString text = ToQt(host.codec, std::string_view(line).substr(kLogTextOffset));
      const QString start = QString::fromUtf8(log_markers::kRunBlock.data(), log_markers::kRunBlock.size()) +
                            QString::fromUtf8(kLogVersionWord.data(), kLogVersionWord.size());
      const QString end_text =
          QString::fromUtf8(log_markers::kRunHeaderEnd.data(), log_markers::kRunHeaderEnd.size()) + QLatin1Char('\n');
      ours = text.size() == start.size() + 1 + end_text.size() && text.startsWith(start) && text.endsWith(end_text);
    }
  }
  ui_->logButton->setEnabled(ours);
  ui_->undoFromLogButton->setEnabled(ours);
}

void MainWindow::StartConversionCommand() {
  if (busy_) return;
  if (!CollectSettings()) {
    // The history's newest path is not the one in the box: running it would convert files out of view.
    ShowPanelWarning(context_, QCoreApplication::translate("MainWindow", "対象ディレクトリの指定が不正です。"));
    path_panel_->FocusPath();
    return;
  }
  Session& session = context_.session;
  const bool preview = ui_->previewCheck->isChecked();
  const bool copy = !preview && ui_->copyCheck->isChecked();
  if (copy) {
    std::string directory(session.job.app.cpdir.view());
    if (!AskCopyOutputDirectory(context_, this, &directory)) return;
  }
  StartConversionOnWorker(preview ? RunMode::kPreview : RunMode::kRun, copy);
}

template <typename Result>
void MainWindow::StartOnWorker(std::function<Result()> call, std::function<void(Result)> then) {
  if (QtUserInterface* ui = dynamic_cast<QtUserInterface*>(&context_.session.host.ui)) ui->ClearStopRequest();
  SetBusy(true);
  worker_->Run<Result>(std::move(call), [this, then = std::move(then)](Result result) {
    SetBusy(false);
    if (CloseIfAsked()) return;
    then(std::move(result));
  });
}

void MainWindow::StartConversionOnWorker(RunMode mode, bool copy) {
  Session& session = context_.session;
  if (mode == RunMode::kRun) {
    StartOnWorker<ConversionResult>([&session, copy] { return Run(session, nullptr, copy); },
                                    [this, copy](ConversionResult result) { ConversionEnded(RunMode::kRun, copy, result); });
    return;
  }
  auto plan = std::make_shared<Plan>();
  StartOnWorker<ConversionResult>([&session, plan, copy] { return Preview(session, plan.get(), copy); },
                                  [this, plan, copy](ConversionResult result) { PreviewEnded(copy, plan, result); });
}

void MainWindow::PreviewEnded(bool copy, std::shared_ptr<Plan> plan, const ConversionResult& result) {
  if (result.outcome != ConversionOutcome::kPreviewClosed) {
    ConversionEnded(RunMode::kPreview, copy, result);
    return;
  }
  // The preview's validation may have put the target path in its usable form: show it before the dialog.
  TakeVerdict(result.verdict);
  Session& session = context_.session;
  std::string copy_directory(session.job.app.cpdir.view());
  const PreviewChoice choice = RunPreviewDialog(context_, this, plan->records, plan->paths, &copy_directory);
  if (choice == PreviewChoice::kCancel ||
      (choice == PreviewChoice::kCopyRun && !session.job.app.cpdir.Assign(copy_directory))) {
    ConversionEnded(RunMode::kPreview, copy, result);
    return;
  }
  const bool copy_run = choice == PreviewChoice::kCopyRun;
  StartOnWorker<ConversionResult>(
      [&session, plan, copy_run] { return Run(session, plan.get(), copy_run); },
      [this, copy](ConversionResult run) { ConversionEnded(RunMode::kPreview, copy, run); });
}

void MainWindow::ConversionEnded(RunMode mode, bool copy, const ConversionResult& result) {
  // A question of validation answered Yes changed the job: it starts again.
  if (TakeVerdict(result.verdict)) {
    StartConversionOnWorker(mode, copy);
    return;
  }
  if (result.outcome == ConversionOutcome::kRunFinished) {
    write_gate_.Open();
    // The run changed the targets the list shows.
    RefreshTargets(false);
  }
  ui_->undoButton->setEnabled(!context_.session.undo.empty());
  UpdateLogButtons();
  emit CommandFinished();
}

void MainWindow::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    focus_before_busy_ = focusWidget();
    // The window's own controls; its dialogs are windows of their own and stay usable.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (child->isWindow() || !child->isEnabled()) continue;
      child->setEnabled(false);
      disabled_while_busy_.append(child);
    }
  } else {
    for (const QPointer<QWidget>& child : std::exchange(disabled_while_busy_, {})) {
      if (child != nullptr) child->setEnabled(true);
    }
    if (focus_before_busy_ != nullptr) focus_before_busy_->setFocus();
  }
  if (target_list_ != nullptr) target_list_->setEnabled(!busy);
  if (!busy && std::exchange(refresh_after_busy_, false)) RefreshTargets(false);
}

void MainWindow::StopEngine() {
  if (QtUserInterface* ui = dynamic_cast<QtUserInterface*>(&context_.session.host.ui)) ui->RequestStop();
}

bool MainWindow::CloseIfAsked() {
  if (!close_asked_.has_value()) return false;
  done(*std::exchange(close_asked_, std::nullopt));
  emit CommandFinished();
  return true;
}

void MainWindow::UndoCommand() {
  if (busy_) return;
  const QString question = QCoreApplication::translate("MainWindow", "変換したものを元に戻します。よろしいですか？");
  if (!AskPanelQuestion(context_, question)) return;
  Session& session = context_.session;
  StartOnWorker<bool>(
      [&session] {
        UndoRun(session.log_context(), &session.undo, false, session.log.run_id);
        return true;
      },
      [this](bool) {
        RefreshTargets(false);
        // A cancelled undo leaves the records it did not reach for another try.
        ui_->undoButton->setEnabled(!context_.session.undo.empty());
        UpdateLogButtons();
        emit CommandFinished();
      });
}

// The scan of the log and the undo run on the worker; the choice of the run between them here.
void MainWindow::UndoFromLogCommand() {
  if (busy_) return;
  struct Scan {
    int found = -1;
    std::vector<LoggedRun> runs;
  };
  Session& session = context_.session;
  const std::string log_path = LogPath(session.host);
  StartOnWorker<Scan>(
      [&session, log_path] {
        Scan scan;
        scan.found = ScanRuns(session.host.fs, session.host.codec, log_path, &scan.runs);
        return scan;
      },
      [this, &session, log_path](Scan scan) {
        std::string run_id;
        if (!ChooseRunToUndo(context_, this, scan.found, std::move(scan.runs), &run_id)) {
          UndoFromLogEnded(false);
          return;
        }
        StartOnWorker<LogUndoOutcome>(
            [&session, log_path, run_id] {
              LogUndoResult result;
              return UndoConfirmedRunFromLog(session.log_context(), &session.undo, log_path, run_id, &result);
            },
            [this](LogUndoOutcome outcome) { UndoFromLogEnded(TakeLogUndoOutcome(this, outcome)); });
      });
}

void MainWindow::UndoFromLogEnded(bool undone) {
  if (undone) RefreshTargets(false);
  ui_->undoButton->setEnabled(!context_.session.undo.empty());
  UpdateLogButtons();
  emit CommandFinished();
}


void MainWindow::SavePresetCommand() {
  if (busy_) return;
  CollectSettings();
  // Only a valid job may become a preset.
  ValidationVerdict verdict = ValidateJob(context_.session, true);
  while (TakeVerdict(verdict)) verdict = ValidateJob(context_.session, true);
  if (verdict.accepted()) SavePreset(context_, PresetKind::kJob, {}, this);
}

void MainWindow::LoadPresetCommand() {
  if (busy_) return;
  Job& job = context_.session.job;
  const int slot = LoadPreset(context_, PresetKind::kJob, this);
  if (slot < 0 || job.presets.job.entries[static_cast<std::size_t>(slot)].job == nullptr) return;
  // The pages show the job being replaced: they go unread.
  delete job_page_;
  job_page_ = nullptr;
  job.settings = *job.presets.job.entries[static_cast<std::size_t>(slot)].job;
  ShowJobPage((job.settings.sw_tab >= 0 && job.settings.sw_tab <= 4 ? job.settings.sw_tab : 0) + 10, true);
  UpdateJobKindMarks();
  ui_->jobTabs->tabBar()->setFocus();
}

void MainWindow::SettingsCommand() {
  if (busy_) return;
  if (!RunSettingsDialog(context_, this)) return;
  CollectSettings();
  TrimLog(context_.session.log_context());
  write_gate_.Open();
  // The list shows the columns the options now ask for.
  RefreshTargets(false);
}

void MainWindow::BringForward() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void MainWindow::TakeTargets(const QStringList& arguments) {
  QStringList paths;
  QStringList refused;
  for (const QString& argument : arguments) {
    QString shown;
    (ArgumentPath(context_, argument, &shown) ? paths : refused) << shown;
  }
  ReportRefusedPaths(context_, refused);
  if (paths.isEmpty()) return;
  if (arguments.size() > 1) {
    list_panel_->ReplaceEntries(paths);
    SelectMode(2);
    return;
  }
  path_panel_->SetPathText(paths.front());
  path_panel_->FollowShortcut();
  SelectMode(1);
}

void MainWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shown_once_) {
    shown_once_ = true;
    // Sent before the window system shows the window, with every page laid out.
    PlaceOnScreen();
    PlaceTargetListBeside();
    // The placement once the window system has taken the window: what the person's moves are
    // compared with at exit.
    shown_geometry_ = Placement(*this);
    QTimer::singleShot(0, this, [this] { shown_geometry_ = Placement(*this); });
  }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Escape closes dialogs, not a program's main window: 終了 and the close box do that.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (busy_) return;  // the paths are read through the file system, which the worker is using
  QStringList refused;
  const QStringList paths = DroppedEnginePaths(context_, event->mimeData(), &refused);
  ReportRefusedPaths(context_, refused);
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  if (paths.size() > 1) {
    list_panel_->AddEntries(paths);
    SelectMode(2);
    return;
  }
  path_panel_->SetPathText(paths.front());
  path_panel_->FollowShortcut();
  SelectMode(1);
}

void MainWindow::done(int result) {
  if (busy_) {
    // The engine stops at its next target; ConversionEnded or the undo's end then closes the window.
    close_asked_ = result;
    StopEngine();
    return;
  }
  Shutdown();
  QDialog::done(result);
}

void MainWindow::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  // Going away (or the program ending) with the engine at work: it stops at its next target, and what
  // it would still ask or tell returns at once, as when the program is told to end.
  if (busy_) {
    if (QtUserInterface* ui = dynamic_cast<QtUserInterface*>(&context_.session.host.ui)) ui->RequestTermination();
    worker_->Wait();
    refresh_after_busy_ = false;
    SetBusy(false);
  }
  if (context_.session.run_happened) write_gate_.Open();
  if (shown_once_ && Placement(*this) != shown_geometry_) write_gate_.Open();
  if (target_list_ != nullptr && Placement(*target_list_) != target_list_geometry_) write_gate_.Open();
  CollectSettings();
  delete target_list_.data();
  Job& job = context_.session.job;
  // A settings file that cannot be written is not reported: the next start uses what it finds.
  SaveSettings(context_.session.host.fs, context_.program_directory, write_gate_, job.settings, job.app);
}

}  // namespace morva
