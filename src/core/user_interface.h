#ifndef MORVA_CORE_USER_INTERFACE_H_
#define MORVA_CORE_USER_INTERFACE_H_

#include <string>
#include <string_view>

#include "core/target_work.h"

namespace morva {

// Page codes of the job pages, as CollectSettings and validation's refusals name them.
inline constexpr int kPageTargets = 0;      // the target panel and the main window
inline constexpr int kPageNameRuleBase = 0;  // name rule n (1-8) is page n
inline constexpr int kPageNameSelector = 10;
inline constexpr int kPageAttributes = 11;
inline constexpr int kPageTimes = 12;
inline constexpr int kPageDeletion = 13;
inline constexpr int kPageId3 = 14;

// What the progress dialog shows for the target being processed.
struct ProgressState {
  std::string path;     // the target
  int position = 0;     // bar position: targets processed so far
  int total = 0;        // bar range
  std::string counts;   // "%d / %d 完了 （%d%%）"
  std::string title;    // "MORVA - 変換状況（%d%%）"
};

// Whose summary a message box shows.
enum class SummaryKind { kRun, kUndo };

// The engine's only way to the person using it. The desktop program, the console front end and the tests
// each implement it; the engine never includes a toolkit header. Every text is code page 932; every
// message box has the caption "MORVA".
class UserInterface {
 public:
  UserInterface() = default;
  UserInterface(const UserInterface&) = delete;
  UserInterface& operator=(const UserInterface&) = delete;
  virtual ~UserInterface() = default;

  // Modal message boxes: refused input (warning icon), information, the fatal error.
  virtual void ShowWarning(std::string_view text) = 0;
  virtual void ShowInformation(std::string_view text) = 0;
  virtual void ShowError(std::string_view text) = 0;
  // The message box that ends a run (warning icon) or an undo (information icon): the verdict and the
  // counters. A front end that prints results apart from messages tells them by this call, never by
  // their text.
  virtual void ShowSummary(SummaryKind kind, std::string_view text) = 0;

  // A passing notice that needs no answer: the program waits for another process that holds the log.
  virtual void ShowWaitNotice(std::string_view text) = 0;

  // A Yes/No question with the question icon; true for Yes.
  virtual bool AskYesNo(std::string_view text) = 0;

  // The modeless extraction dialog "MORVA - 変換対象抽出", open while targets are enumerated.
  virtual void OpenExtractionDialog() = 0;
  virtual void CloseExtractionDialog() = 0;

  // The modeless progress dialog "MORVA - 変換状況". `status_text` is "変換中です．．．" or
  // "プレビュー作成中です．．．"; the bar runs from 0 to `total`.
  virtual void OpenProgressDialog(std::string_view status_text, int total) = 0;
  virtual void UpdateProgress(const ProgressState& state) = 0;
  virtual void CloseProgressDialog() = 0;

  // Handles pending input (the open dialog's cancel button, Ctrl-C on a console) and reports whether the
  // person asked to cancel since the last ClearCancel. Called once per target or directory, so a long
  // loop stays responsive and a cancel takes effect at the next target.
  virtual bool PollCancel() = 0;
  virtual void ClearCancel() = 0;

  // A run counted one target: `path` is the engine path it had when the run reached it, `work` what the
  // run did to it (its change and failure words; current_path is where it is now, or its copy). Called
  // in target order, once the target's changes are final (after the flush of an ID3 batch), never for a
  // preview. A front end that lists what a run did keeps it; a window that shows the summary only does
  // not need it.
  virtual void TargetFinished(std::string_view /*path*/, const TargetWork& /*work*/) {}
};

}  // namespace morva

#endif  // MORVA_CORE_USER_INTERFACE_H_
