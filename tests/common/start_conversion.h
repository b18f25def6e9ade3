#ifndef MORVA_TESTS_COMMON_START_CONVERSION_H_
#define MORVA_TESTS_COMMON_START_CONVERSION_H_

// A conversion started the way the front ends start one, the person being the session's ScriptedUi.

#include <string>

#include "common/scripted_ui.h"
#include "engine/conversion_run.h"
#include "engine/session.h"

namespace morva {

// In run mode a run. In preview mode a preview whose records the scripted person is shown (and may
// exclude targets from), then the run of its plan when the person chooses one; the preview's result
// when they cancel. A session whose interface is not a ScriptedUi cancels every preview.
inline ConversionResult StartConversion(Session& session, RunMode mode, bool copy_conversion) {
  if (mode == RunMode::kRun) return Run(session, nullptr, copy_conversion);
  Plan plan;
  const ConversionResult previewed = Preview(session, &plan, copy_conversion);
  auto* person = dynamic_cast<testing::ScriptedUi*>(&session.host.ui);
  if (previewed.outcome != ConversionOutcome::kPreviewClosed || person == nullptr) return previewed;
  std::string copy_directory(session.job.app.cpdir.view());
  const PreviewChoice choice = person->ShowPreview(plan.records, plan.paths, &copy_directory);
  if (choice == PreviewChoice::kCancel) return previewed;
  if (choice == PreviewChoice::kCopyRun && !session.job.app.cpdir.Assign(copy_directory)) return previewed;
  return Run(session, &plan, choice == PreviewChoice::kCopyRun);
}

}  // namespace morva

#endif  // MORVA_TESTS_COMMON_START_CONVERSION_H_
