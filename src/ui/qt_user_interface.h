#ifndef MORVA_UI_QT_USER_INTERFACE_H_
#define MORVA_UI_QT_USER_INTERFACE_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/user_interface.h"

class QMessageBox;
class QWidget;

namespace morva {

class TextCodec;
class FileSystem;
class MainWindow;
class ProgressDialog;
class ExtractionDialog;
struct UiContext;

// The engine's way to the person at the desktop: Qt message boxes captioned "MORVA", the extraction,
// progress and preview dialogs, and the main window's panels. Everything runs on the one GUI thread:
// PollCancel processes pending events, so a long run keeps the window alive and sees its cancel button.
class QtUserInterface final : public UserInterface {
 public:
  QtUserInterface(TextCodec& codec, FileSystem& fs);
  ~QtUserInterface() override;

  // The window that owns the dialogs and answers for the panels; set once it exists, cleared before it
  // goes. Without one, dialogs have no owner and the panel calls do nothing.
  void set_main_window(MainWindow* window);
  // The context the dialogs read their settings from; set with the main window.
  void set_context(UiContext* context) { context_ = context; }

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

  PreviewChoice ShowPreview(std::vector<PreviewRecord>& records, const std::vector<std::string>& targets,
                            std::string* copy_directory) override;
  bool AskOutputDirectory(std::string* directory) override;

  void RefreshTargetList() override;

  // The program is asked to end: the run in progress sees a cancel at its next poll, and so does every
  // later run until the program is gone.
  void RequestTermination();

 private:
  QWidget* owner() const;
  // Closes the notice of a wait for the log: the wait is over once the engine asks anything else.
  void EndWaitNotice();

  TextCodec& codec_;
  FileSystem& fs_;
  MainWindow* main_window_ = nullptr;
  UiContext* context_ = nullptr;
  std::unique_ptr<ExtractionDialog> extraction_;
  std::unique_ptr<ProgressDialog> progress_;
  std::unique_ptr<QMessageBox> wait_notice_;
  bool cancel_requested_ = false;
  bool terminating_ = false;
};

}  // namespace morva

#endif  // MORVA_UI_QT_USER_INTERFACE_H_
