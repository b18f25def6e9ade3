#ifndef MORVA_CLI_CONSOLE_UI_H_
#define MORVA_CLI_CONSOLE_UI_H_

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion_settings.h"
#include "core/preview_record.h"
#include "core/user_interface.h"
#include "platform/display_text.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {

// Makes Ctrl-C (SIGINT), SIGTERM and SIGHUP request a cancel instead of ending the process: every later
// PollCancel of any ConsoleUi reports it, so the run stops at the next target and still logs and
// summarises what it did. A second signal of the same kind ends the process as usual, for a program
// that no longer polls. The signals are unblocked, so one already pending is taken at once.
void InstallInterruptHandler();

// The signal that asked the command to stop, 0 when none has. The process's exit status is then
// 128 + its number, as shells expect of a program a signal stopped.
int StopSignal();

// Forgets a signal received, for a process that carries out one command after another (the tests).
void ForgetStopSignal();

// The engine's user interface on a console. Every text it prints is UTF-8.
//
// Message boxes go to `err` as their text. Questions are asked on `err` and answered from `in` when
// `interactive` (stdin is a terminal); otherwise they are answered Yes with `assume_yes` and No
// without it, and the question and the answer are printed so that a log shows why the program
// stopped. The summary of a run or an undo is the program's result, so it goes to `out` instead, and so
// does a preview (PrintPreview), which starts no run. Dialogs
// without a console meaning (extraction, progress, target panel) print nothing. A path it prints is in
// host form ("/home/me/a.jpg", see DisplayPath); the engine's messages print as the engine wrote them.
class ConsoleUi final : public UserInterface {
 public:
  ConsoleUi(TextCodec& codec, FileSystem& fs, std::ostream& out, std::ostream& err, std::istream& in, bool interactive,
            bool assume_yes);

  // The job whose columns the preview shows; must outlive the interface. Without one the preview shows
  // the number and path columns only.
  void set_job(const ConversionSettings* job) { job_ = job; }
  // Print only the new name of each previewed target (`eval`): a name that fails goes to `err` with the
  // reason the preview gives, a name that does not to `out`.
  void set_preview_names_only(bool on) { preview_names_only_ = on; }
  // Print only the targets whose ID3 conversion would fail, with the reason, to `err` (`check` of an ID3
  // job: a safety copy left by an interrupted write, an item without a value); failures() counts them.
  void set_preview_id3_failures_only(bool on) { preview_id3_failures_only_ = on; }
  int failures() const { return failures_; }
  // Prints a preview's records (in target order; a record's path is targets[index]) as the settings
  // above ask: the whole table (see FormatPreview), the new names, or the ID3 failures.
  void PrintPreview(const std::vector<PreviewRecord>& records, const std::vector<std::string>& targets);

  // Prints one line of a command's result (code page 932) to `out`.
  void PrintResult(std::string_view text);
  // Prints one line of a command's result already in UTF-8 (a line that holds paths as people read
  // them, see ShownPath) to `out`.
  void PrintResultUtf8(std::string_view utf8);
  // Where the desktop program would put the focus after a refusal: prints the configuration key of the
  // setting to change (page `page_code`) to `err`.
  void FocusSetting(int page_code, std::string_view key);
  // An engine path as the console shows it (UTF-8): see DisplayPath.
  std::string ShownPath(std::string_view engine_path) { return DisplayPath(fs_, codec_, engine_path); }
  // Prints a command's result that is UTF-8 already, as it is, to `out`.
  void PrintText(std::string_view utf8);

  // What happened, for the exit status.
  bool declined() const { return declined_; }

  void ShowWarning(std::string_view text) override;
  // On stdout: it is the result of the command.
  void ShowSummary(SummaryKind kind, std::string_view text) override;
  void ShowInformation(std::string_view text) override;
  void ShowError(std::string_view text) override;
  void ShowWaitNotice(std::string_view text) override { PrintMessage(text); }
  bool AskYesNo(std::string_view text) override;
  void OpenExtractionDialog() override {}
  void CloseExtractionDialog() override {}
  void OpenProgressDialog(std::string_view, int) override {}
  void UpdateProgress(const ProgressState&) override {}
  void CloseProgressDialog() override {}
  bool PollCancel() override;
  void ClearCancel() override;

 private:
  void PrintMessage(std::string_view text);

  TextCodec& codec_;
  FileSystem& fs_;
  std::ostream& out_;
  std::ostream& err_;
  std::istream& in_;
  const bool interactive_;
  const bool assume_yes_;
  const ConversionSettings* job_ = nullptr;
  bool declined_ = false;
  bool preview_names_only_ = false;
  bool preview_id3_failures_only_ = false;
  int failures_ = 0;
};

}  // namespace morva

#endif  // MORVA_CLI_CONSOLE_UI_H_
