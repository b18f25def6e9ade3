#ifndef MORVA_TESTS_COMMON_SCRIPTED_UI_H_
#define MORVA_TESTS_COMMON_SCRIPTED_UI_H_

// A UserInterface for engine tests: records every message and dialog call, answers questions from a
// script, ends previews as scripted, and can cancel after a given number of polls.

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/preview_record.h"
#include "core/user_interface.h"

namespace morva::testing {

class ScriptedUi : public UserInterface {
 public:
  struct Message {
    enum Kind { kWarning, kInformation, kError, kQuestion } kind;
    std::string text;
  };

  // Answers for AskYesNo, in order; when they run out the answer is `default_answer`.
  std::deque<bool> answers;
  bool default_answer = true;
  // The preview dialog's answer; `on_preview` may change the records first (exclude targets).
  PreviewChoice preview_choice = PreviewChoice::kCancel;
  std::function<void(std::vector<PreviewRecord>&)> on_preview;
  // Cancel once PollCancel has been called this many times (negative: never).
  int cancel_after_polls = -1;
  // Called with every progress update, before the target it names is converted: a change to the tree
  // made here happens in the middle of the walk.
  std::function<void(const ProgressState&)> on_progress;
  std::string output_directory;

  // What happened.
  std::vector<Message> messages;
  std::vector<std::string> wait_notices;
  // The targets of the last preview shown (already while `on_preview` runs), and its records after it.
  std::vector<PreviewRecord> shown_preview;
  std::vector<std::string> shown_targets;
  int previews_shown = 0;
  int polls = 0;
  std::vector<ProgressState> progress;

  void ShowWarning(std::string_view text) override { messages.push_back({Message::kWarning, std::string(text)}); }
  // Recorded as the box it is.
  void ShowSummary(SummaryKind kind, std::string_view text) override {
    kind == SummaryKind::kRun ? ShowWarning(text) : ShowInformation(text);
  }
  void ShowInformation(std::string_view text) override {
    messages.push_back({Message::kInformation, std::string(text)});
  }
  void ShowError(std::string_view text) override { messages.push_back({Message::kError, std::string(text)}); }
  void ShowWaitNotice(std::string_view text) override { wait_notices.push_back(std::string(text)); }
  bool AskYesNo(std::string_view text) override {
    messages.push_back({Message::kQuestion, std::string(text)});
    if (answers.empty()) return default_answer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void OpenExtractionDialog() override {}
  void CloseExtractionDialog() override {}
  void OpenProgressDialog(std::string_view, int) override {}
  void UpdateProgress(const ProgressState& state) override {
    progress.push_back(state);
    if (on_progress) on_progress(state);
  }
  void CloseProgressDialog() override {}
  bool PollCancel() override {
    ++polls;
    if (cancel_after_polls >= 0 && polls > cancel_after_polls) cancelled_ = true;
    return cancelled_;
  }
  void ClearCancel() override { cancelled_ = false; }
  // The person shown a preview's records (see StartConversion): how they end it.
  PreviewChoice ShowPreview(std::vector<PreviewRecord>& records, const std::vector<std::string>& targets,
                            std::string* copy_directory) {
    ++previews_shown;
    shown_targets = targets;
    if (on_preview) on_preview(records);
    shown_preview = records;
    if (preview_choice == PreviewChoice::kCopyRun) *copy_directory = output_directory;
    return preview_choice;
  }

  // The texts of the messages of one kind, in order.
  std::vector<std::string> Texts(Message::Kind kind) const {
    std::vector<std::string> out;
    for (const Message& m : messages) {
      if (m.kind == kind) out.push_back(m.text);
    }
    return out;
  }

 private:
  bool cancelled_ = false;
};

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_SCRIPTED_UI_H_
