#ifndef MORVA_CORE_QUIET_USER_INTERFACE_H_
#define MORVA_CORE_QUIET_USER_INTERFACE_H_

#include <string_view>

#include "core/user_interface.h"

namespace morva {

// A user interface that shows nothing, never cancels and answers every question alike: what the
// benchmarks and the fuzz targets drive the engine with.
class QuietUserInterface : public UserInterface {
 public:
  explicit QuietUserInterface(bool answer) : answer_(answer) {}

  void ShowWarning(std::string_view) override {}
  void ShowSummary(SummaryKind, std::string_view) override {}
  void ShowInformation(std::string_view) override {}
  void ShowError(std::string_view) override {}
  void ShowWaitNotice(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return answer_; }
  void OpenExtractionDialog() override {}
  void CloseExtractionDialog() override {}
  void OpenProgressDialog(std::string_view, int) override {}
  void UpdateProgress(const ProgressState&) override {}
  void CloseProgressDialog() override {}
  bool PollCancel() override { return false; }
  void ClearCancel() override {}

 private:
  bool answer_;
};

}  // namespace morva

#endif  // MORVA_CORE_QUIET_USER_INTERFACE_H_
