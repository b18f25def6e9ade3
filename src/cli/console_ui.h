#ifndef MORVA_CLI_CONSOLE_UI_H_
#define MORVA_CLI_CONSOLE_UI_H_

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/console_text.h"
#include "cli/preview_text.h"
#include "cli/target_report.h"
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
// stopped. The summary of an undo is the program's result, so it goes to `out` instead, and so do a
// preview (PrintPreview), which starts no run, and the rows of what a run did (TargetFinished); the
// summary of a run is its counts, for people, and goes to `err` with the messages. Dialogs
// without a console meaning (extraction, progress, target panel) print nothing. A path it prints is in
// host form ("/home/me/a.jpg", see DisplayPath); the engine's messages and the preview's cells print in
// the language of `text`.
class ConsoleUi final : public UserInterface {
 public:
  // `text` must outlive the interface.
  ConsoleUi(TextCodec& codec, FileSystem& fs, const ConsoleText& text, std::ostream& out, std::ostream& err,
            std::istream& in, bool interactive, bool assume_yes);

  // The language the console speaks.
  const ConsoleText& text() const { return text_; }

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
  // The form of the rows of a preview or a run, and whether the text form is laid out in columns (stdout
  // is a terminal).
  void set_output(OutputForm form, bool aligned) {
    form_ = form;
    aligned_ = aligned;
  }
  bool aligned() const { return aligned_; }
  // The output directory of a copy conversion (an engine path): where a preview puts the new names.
  void set_copy_directory(std::string engine_directory) { copy_directory_ = std::move(engine_directory); }
  // Prints a preview's records (in target order; a record's path is targets[index]) as the settings
  // above ask: a row each (see PreviewRow) in the output form, the new names, or the ID3 failures.
  void PrintPreview(const std::vector<PreviewRecord>& records, const std::vector<std::string>& targets);
  // What the last preview printed in rows predicts.
  const PreviewCounts& preview_counts() const { return preview_counts_; }
  // Prints the rows of the run's targets kept for alignment (see RowWriter::Finish).
  void FinishRunRows();

  // Prints one line of a command's result (code page 932) to `out`.
  void PrintResult(std::string_view text);
  // Prints one line of a command's result already in UTF-8 (a line that holds paths as people read
  // them, see ShownPath) to `out`.
  void PrintResultUtf8(std::string_view utf8);
  // Where the desktop program would put the focus after a refusal: prints the configuration key of the
  // setting to change (page `page_code`) to `err`, with the value it holds as people read it (UTF-8,
  // a path in host form; empty: none shown).
  void FocusSetting(int page_code, std::string_view key, std::string_view shown_value = {});
  // An engine path as the console shows it (UTF-8): see DisplayPath.
  std::string ShownPath(std::string_view engine_path) { return DisplayPath(fs_, codec_, engine_path); }
  // Prints a command's result that is UTF-8 already, as it is, to `out`.
  void PrintText(std::string_view utf8);

  // What happened, for the exit status.
  bool declined() const { return declined_; }

  void ShowWarning(std::string_view text) override;
  // A run's on `err` with the messages (its rows are the result); an undo's on `out`: it is the result.
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
  // A row of what the run did (RunRow), printed at once unless it waits for alignment.
  void TargetFinished(std::string_view path, const TargetWork& work) override;

 private:
  // An engine text (code page 932) as the console shows it: UTF-8, in the console's language.
  std::string Shown(std::string_view message) const;
  void PrintMessage(std::string_view text);

  TextCodec& codec_;
  FileSystem& fs_;
  const ConsoleText& text_;
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
  OutputForm form_ = OutputForm::kText;
  bool aligned_ = false;
  std::string copy_directory_;
  PreviewCounts preview_counts_;
  // The run's rows, from its first finished target on.
  std::optional<RowWriter> run_rows_;
  std::unique_ptr<TargetLineComposer> failure_tags_;
};

}  // namespace morva

#endif  // MORVA_CLI_CONSOLE_UI_H_
