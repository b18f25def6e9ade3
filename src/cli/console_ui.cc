#include "cli/console_ui.h"

#include <signal.h>

#include <csignal>
#include <string>

#include "cli/preview_text.h"
#include "core/target_work.h"
#include "platform/engine_text.h"

namespace morva {
namespace {

// The signal that asked the command to stop (SIGINT, SIGTERM or SIGHUP), 0 while none has. Set by the
// handler and never cleared by the engine: a signal handler can reach nothing else, so this is the one
// piece of static state the console front end has.
volatile std::sig_atomic_t g_stop_signal = 0;

extern "C" void OnStopSignal(int signal_number) { g_stop_signal = signal_number; }

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a question waiting on the terminal returns at once (and counts as No). SA_RESETHAND:
  // a second signal of the same kind ends the program.
  action.sa_flags = SA_RESETHAND;
  sigset_t handled;
  sigemptyset(&handled);
  for (const int signal_number : kStopSignals) {
    sigaction(signal_number, &action, nullptr);
    sigaddset(&handled, signal_number);
  }
  // A caller that started us with these blocked would keep them from us; one already pending arrives
  // now, before any work, and stops the command before its first change.
  sigprocmask(SIG_UNBLOCK, &handled, nullptr);
}

int StopSignal() { return g_stop_signal; }

void ForgetStopSignal() { g_stop_signal = 0; }

ConsoleUi::ConsoleUi(TextCodec& codec, FileSystem& fs, const ConsoleText& text, std::ostream& out, std::ostream& err,
                     std::istream& in, bool interactive, bool assume_yes)
    : codec_(codec),
      fs_(fs),
      text_(text),
      out_(out),
      err_(err),
      in_(in),
      interactive_(interactive),
      assume_yes_(assume_yes) {}

std::string ConsoleUi::Shown(std::string_view message) const { return text_.Message(DisplayText(codec_, message)); }

void ConsoleUi::PrintMessage(std::string_view text) { err_ << Shown(text) << '\n' << std::flush; }

void ConsoleUi::ShowWarning(std::string_view text) { PrintMessage(text); }

void ConsoleUi::ShowInformation(std::string_view text) { PrintMessage(text); }

void ConsoleUi::ShowSummary(SummaryKind kind, std::string_view text) {
  if (kind == SummaryKind::kRun) {
    PrintMessage(text);
  } else {
    PrintResultUtf8(Shown(text));
  }
}

void ConsoleUi::PrintResult(std::string_view text) { PrintResultUtf8(DisplayText(codec_, text)); }

void ConsoleUi::PrintResultUtf8(std::string_view utf8) { out_ << utf8 << '\n' << std::flush; }

void ConsoleUi::PrintText(std::string_view utf8) { out_ << utf8 << std::flush; }

void ConsoleUi::ShowError(std::string_view text) { PrintMessage(text); }

bool ConsoleUi::AskYesNo(std::string_view text) {
  const std::string question = Shown(text);
  bool answer = false;
  if (assume_yes_) {
    err_ << question << " [y/N] y (--yes)\n" << std::flush;
    answer = true;
  } else if (!interactive_) {
    err_ << question << " [y/N] n (no terminal; --yes answers Yes)\n" << std::flush;
  } else {
    err_ << question << " [y/N] " << std::flush;
    std::string line;
    if (std::getline(in_, line) && g_stop_signal == 0) {
      answer = line == "y" || line == "Y" || line == "yes" || line == "YES" || line == "Yes";
    } else {
      in_.clear();
      err_ << '\n';
    }
  }
  if (!answer) declined_ = true;
  return answer;
}

bool ConsoleUi::PollCancel() { return g_stop_signal != 0; }

// A signal is the console's only cancel, and it asks the whole command to stop: one that arrived while
// the targets were listed must still stop the walk that follows, so the engine's clearing keeps it.
void ConsoleUi::ClearCancel() {}

void ConsoleUi::PrintPreview(const std::vector<PreviewRecord>& records, const std::vector<std::string>& targets) {
  if (preview_names_only_) {
    for (const PreviewRecord& record : records) {
      const bool failed = record.state == kPreviewError || record.state == -kPreviewError;
      // A name that fails is the reason why, a message; one that does not is a name, never translated.
      if (failed) {
        err_ << Shown(record.name_column) << '\n';
      } else {
        out_ << DisplayText(codec_, record.name_column) << '\n';
      }
    }
    out_ << std::flush;
    err_ << std::flush;
    return;
  }
  if (preview_id3_failures_only_) {
    for (const PreviewRecord& record : records) {
      if (!(record.failure_word & kStepId3)) continue;
      const std::size_t index = static_cast<std::size_t>(record.index);
      const std::string_view path = index < targets.size() ? std::string_view(targets[index]) : std::string_view();
      err_ << ShownPath(path) << '\t' << Shown(record.column(PreviewColumn::kId3)) << '\n';
      ++failures_;
    }
    err_ << std::flush;
    return;
  }
  const JobSwitches kinds = job_ != nullptr ? ComputeJobSwitches(*job_) : JobSwitches();
  RowWriter rows(form_, aligned_, true, out_);
  preview_counts_ = PreviewCounts();
  for (const PreviewRecord& record : records) {
    const std::size_t index = static_cast<std::size_t>(record.index);
    const std::string_view path = index < targets.size() ? std::string_view(targets[index]) : std::string_view();
    std::string destination = copy_directory_;
    if (destination.empty()) {
      const std::size_t slash = path.rfind('\\');
      destination = slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
    }
    if (destination.empty() || destination.back() != '\\') destination += '\\';
    rows.Add(PreviewRow(fs_, codec_, text_, record, path, destination, kinds));
    CountPreviewRecord(record, &preview_counts_);
  }
  rows.Finish();
}

void ConsoleUi::TargetFinished(std::string_view path, const TargetWork& work) {
  if (!run_rows_) run_rows_.emplace(form_, aligned_, false, out_);
  if (!failure_tags_) {
    const bool copy_only = !copy_directory_.empty() && (job_ == nullptr || !ComputeJobSwitches(*job_).name);
    failure_tags_ = std::make_unique<TargetLineComposer>(codec_, false, copy_only);
  }
  run_rows_->Add(RunRow(fs_, codec_, text_, *failure_tags_, path, work));
}

void ConsoleUi::FinishRunRows() {
  if (run_rows_) run_rows_->Finish();
}

void ConsoleUi::FocusSetting(int, std::string_view key, std::string_view shown_value) {
  // Where the desktop program would put the focus: on a console, the key to change and what it holds.
  if (key.empty()) return;
  err_ << "  (setting: " << DisplayText(codec_, key);
  if (!shown_value.empty()) err_ << " = " << shown_value;
  err_ << ")\n" << std::flush;
}

}  // namespace morva
