#ifndef MORVA_UI_MAIN_WINDOW_H_
#define MORVA_UI_MAIN_WINDOW_H_

#include <QDialog>
#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"

namespace Ui {
class MainWindow;
}

namespace morva {

struct ConversionResult;
struct Plan;
struct UiContext;
struct ValidationVerdict;
enum class RunMode;
class EngineWorker;
class JobPage;
class ListPanel;
class PathPanel;
class TargetListWindow;

// The main window "MORVA": the target panel, the five job tabs and the commands. Creating it loads the
// settings file of the program directory; closing it collects the windows into the settings and saves
// them when the write gate is open.
class MainWindow : public QDialog {
  Q_OBJECT

 public:
  // `arguments` are the command-line paths as given: one is the target path, two or more fill the list.
  MainWindow(UiContext& context, const QStringList& arguments = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Brings the page `page_code` to the front and puts the focus on the control of setting `key` (its
  // configuration key, e.g. "DIRFIL", "FNM_IPN_SEL"), as after a refusal of the job.
  void FocusSetting(int page_code, std::string_view key);
  // Shows `path` (an engine path) in the path box.
  void SetTargetPath(std::string_view path);
  // Refreshes the target list window (deferred until the worker has finished).
  void RefreshTargetList();
  // Puts a verdict of validation before the person: a new form of the target path in the path box; a
  // refusal as a warning with the focus on the setting to change; a question, and on Yes its change
  // made to the job and to the panels. True when the job was so changed and is to be validated again.
  bool TakeVerdict(const ValidationVerdict& verdict);

  // Shows the page of `code`: 11-14 a job page, 10 the name page with the stored rule, 0-8 the name page
  // with that rule. The page is made anew when `force` is set or another page was shown.
  void ShowJobPage(int code, bool force);
  // Switches every conversion off (only the on/off switches; every other option stays).
  void ClearAllConversions();
  // Sets the tab marks from the job record's switches.
  void UpdateJobKindMarks();
  // Copies every window into the settings: the target panel, the current page, the main window's own.
  // False when directory mode is chosen and the typed path could not become the target path.
  bool CollectSettings();
  // Restores and raises the window (a second start asked for it).
  void BringForward();
  // Paths a later start was given (command-line arguments) become the targets, as at start: one is the
  // target path, two or more replace the list. Those without an engine form are reported and left out.
  // Only while the window is free (HandedOverTargets waits for that).
  void TakeTargets(const QStringList& arguments);

  // The parts the tests drive.
  PathPanel* path_panel() const { return path_panel_; }
  ListPanel* list_panel() const { return list_panel_; }
  TargetListWindow* target_list_window() const;
  JobPage* job_page() const { return job_page_; }
  const SettingsWriteGate& write_gate() const { return write_gate_; }

  // True while a command's engine call runs on the worker thread: no other command starts meanwhile and
  // the window's controls are disabled.
  bool busy() const { return busy_; }

  // Closing while the engine works cancels its run and closes once it has stopped.
  void done(int result) override;

 signals:
  // A command that ran the engine on the worker has ended; the window takes commands again.
  void CommandFinished();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void LoadSettingsFile();
  // Tab goes through the target panel, then the commands, then the job tabs and page.
  void OrderTabChain();
  void AddPageShortcuts();
  // Gives the laid-out window its place on the screen: where the settings put it, or centred when they
  // did not (beside a first-shown target list window), whole on the screen in both cases.
  void PlaceOnScreen();
  // A target list window the person never placed goes beside the main window when there is room.
  void PlaceTargetListBeside();
  void WireCommands();
  void SelectMode(int mode);
  void ShowTargetList(bool shown);
  void RefreshTargets(bool typing);
  void UpdateLogButtons();
  void StartConversionCommand();
  // Hands the run, or the preview, to the worker; PreviewEnded and ConversionEnded take their results on
  // the GUI thread. A preview's plan goes to the preview dialog and from there to the run it starts.
  void StartConversionOnWorker(RunMode mode, bool copy);
  void PreviewEnded(bool copy, std::shared_ptr<Plan> plan, const ConversionResult& result);
  void ConversionEnded(RunMode mode, bool copy, const ConversionResult& result);
  // Disables the controls (and the target list window) while the engine works, and gives them back.
  void SetBusy(bool busy);
  // After a command on the worker: a close asked for meanwhile happens now. True when it did.
  bool CloseIfAsked();
  // Cancels the run in progress, as the close box does.
  void StopEngine();
  void UndoCommand();
  void UndoFromLogCommand();
  void UndoFromLogEnded(bool undone);
  // Runs `call` on the worker with the window busy; `then` takes its result on the GUI thread unless the
  // window was closed meanwhile.
  template <typename Result>
  void StartOnWorker(std::function<Result()> call, std::function<void(Result)> then);
  void SavePresetCommand();
  void LoadPresetCommand();
  void SettingsCommand();
  void Shutdown();

  UiContext& context_;
  std::unique_ptr<Ui::MainWindow> ui_;
  PathPanel* path_panel_ = nullptr;
  ListPanel* list_panel_ = nullptr;
  JobPage* job_page_ = nullptr;
  int job_page_code_ = -1;
  QPointer<TargetListWindow> target_list_;
  QIcon job_on_icon_;
  QIcon job_off_icon_;
  SettingsWriteGate write_gate_;
  QRect shown_geometry_;       // the main window when first shown
  bool centred_by_default_ = false;  // the settings file gave no position of the main window
  QRect target_list_geometry_;  // the target list window when shown
  bool shown_once_ = false;
  bool shut_down_ = false;
  std::unique_ptr<EngineWorker> worker_;
  bool busy_ = false;
  QList<QPointer<QWidget>> disabled_while_busy_;  // the controls SetBusy disabled, to enable again
  QPointer<QWidget> focus_before_busy_;
  std::optional<int> close_asked_;  // the result of a close asked for while busy
  bool refresh_after_busy_ = false;  // the target list was asked to refresh while busy
};

}  // namespace morva

#endif  // MORVA_UI_MAIN_WINDOW_H_
