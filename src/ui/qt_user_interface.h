#ifndef MORVA_UI_QT_USER_INTERFACE_H_
#define MORVA_UI_QT_USER_INTERFACE_H_

#include <QPointer>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/user_interface.h"

class QMessageBox;
class QObject;
class QWidget;

namespace morva {

class TextCodec;
class FileSystem;
class MessageCatalogue;
class MainWindow;
class CancellableDialog;
class ProgressDialog;
class ExtractionDialog;

// The engine's way to the person at the desktop: Qt message boxes captioned "MORVA" and the extraction
// and progress dialogs. Made on the GUI thread, where every widget
// lives. The engine may call it from there (PollCancel then processes pending events, so the window
// stays alive between targets) or from the engine's worker thread: then each call does its part on the
// GUI thread, a question or a message waiting there for its answer, a progress update queued without
// waiting (only the latest counts), and PollCancel only reads what the cancel buttons left.
class QtUserInterface final : public UserInterface {
 public:
  // The engine's messages are shown translated by `translation` (which must outlive this), or as the
  // engine wrote them (Japanese) when it is null.
  QtUserInterface(TextCodec& codec, FileSystem& fs, const MessageCatalogue* translation = nullptr);
  ~QtUserInterface() override;

  // The window that owns the dialogs and answers for the panels; set once it exists, cleared before it
  // goes. Without one, dialogs have no owner and the panel calls do nothing.
  void set_main_window(MainWindow* window);

  void ShowWarning(std::string_view text) override;
  void ShowInformation(std::string_view text) override;
  void ShowError(std::string_view text) override;
  void ShowSummary(SummaryKind kind, std::string_view text) override;
  void ShowWaitNotice(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;

  void OpenExtractionDialog() override;
  void CloseExtractionDialog() override;
  void OpenProgressDialog(std::string_view status_text, int total) override;
  void UpdateProgress(const ProgressState& state) override;
  void CloseProgressDialog() override;
  bool PollCancel() override;
  void ClearCancel() override;

  // The program is asked to end: the run in progress sees a cancel at its next poll, and so does every
  // later run until the program is gone.
  void RequestTermination();
  // The window is closing: the run in progress sees a cancel at its next poll, as after a confirmed
  // cancel, and so does any run started before ClearStopRequest.
  void RequestStop();
  void ClearStopRequest();

 private:
  QWidget* owner() const;
  bool OnGuiThread() const;
  // Runs `work` on the GUI thread and returns once it is done; from the worker only while the program is
  // not ending (false then, with `work` not run).
  template <typename Work>
  bool DoOnGuiThread(Work work);
  // Closes the notice of a wait for the log: the wait is over once the engine asks anything else.
  void EndWaitNotice();
  // On the GUI thread: shows the latest progress the worker left.
  void ShowPendingProgress();
  // On the GUI thread: a cancellable dialog's confirmed cancel reaches the run.
  void WatchCancel(CancellableDialog* dialog);
  // Closes an extraction or progress dialog, now or, while its cancel question is open, once that is over.
  template <typename Dialog>
  void Dispose(std::unique_ptr<Dialog>& dialog);

  // An engine message as the window shows it.
  QString Shown(std::string_view text) const;

  TextCodec& codec_;
  FileSystem& fs_;
  const MessageCatalogue* translation_;
  MainWindow* main_window_ = nullptr;
  std::unique_ptr<ExtractionDialog> extraction_;
  std::unique_ptr<ProgressDialog> progress_;
  std::unique_ptr<QMessageBox> wait_notice_;
  // Dialogs closed while their cancel question was open, deleted once it has returned (or with their
  // owner).
  std::vector<QPointer<CancellableDialog>> retired_;
  // The object of the GUI thread that the worker's calls are queued to.
  std::unique_ptr<QObject> gui_;
  std::atomic<bool> wait_notice_open_ = false;
  std::atomic<bool> cancel_requested_ = false;
  std::atomic<bool> terminating_ = false;
  std::atomic<bool> stop_requested_ = false;

  // The progress the worker reported last and the GUI thread has not shown yet, its path in host form.
  struct PendingProgress {
    ProgressState state;
    QString shown_path;
  };
  // A cancel question is open: the worker waits at its next poll for the answer, as a run on the GUI
  // thread does, so that nothing more changes while the person decides.
  std::mutex question_mu_;
  std::condition_variable question_answered_;
  int questions_open_ = 0;  // guarded by question_mu_

  std::mutex progress_mu_;
  std::optional<PendingProgress> pending_progress_;  // guarded by progress_mu_
};

}  // namespace morva

#endif  // MORVA_UI_QT_USER_INTERFACE_H_
