// The preview dialog on a preview of many targets (100,000 by default; --file_count=N), beside the
// engine's preview of the same targets alone:
//   BM_EnginePreview      the engine's preview (enumeration and walk), no window
//   BM_OpenPreviewDialog  the dialog built over those records, shown and painted once
//   BM_ToggleHideExcluded "対象外は非表示" ticked or unticked, with half the targets excluded, and
//                         the list painted again
// Counters: engine_mb, the heap the engine's preview holds; dialog_mb, what the open dialog holds
// beyond it. Runs offscreen (QT_QPA_PLATFORM=offscreen unless set).
#include <malloc.h>

#include <QApplication>
#include <QCheckBox>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"
#include "ui/preview_dialog.h"
#include "ui/preview_table_model.h"
#include "ui/window_context.h"

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

// An engine whose last preview covers every file of `tree`, the upper-case rule on.
struct PreviewedEngine : bench::Engine {
  explicit PreviewedEngine(const bench::FileTree& tree) : bench::Engine(tree.path()) {
    bench::UpperCaseBaseNames(session.job.settings);
  }

  bool Preview(std::size_t expected) {
    const morva::ConversionResult result = morva::Preview(session, &plan, false);
    return result.outcome == morva::ConversionOutcome::kPreviewClosed && plan.records.size() == expected;
  }

  morva::Plan plan;
};

// Shows the dialog and paints it once, as the person first sees it.
void ShowAndPaint(morva::PreviewDialog& dialog) {
  dialog.show();
  QCoreApplication::processEvents();
  dialog.repaint();
}

void BM_EnginePreview(benchmark::State& state, const bench::FileTree* tree) {
  double engine_mb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto previewed = std::make_unique<PreviewedEngine>(*tree);
    malloc_trim(0);
    const std::size_t before = bench::HeapInUse();
    state.ResumeTiming();
    if (!previewed->Preview(tree->size())) {
      state.SkipWithError("the preview did not list every target");
      break;
    }
    state.PauseTiming();
    engine_mb = static_cast<double>(bench::HeapInUse() - before) / kMegabyte;
    previewed.reset();
    state.ResumeTiming();
  }
  state.counters["engine_mb"] = engine_mb;
}

void BM_OpenPreviewDialog(benchmark::State& state, const bench::FileTree* tree) {
  PreviewedEngine previewed(*tree);
  if (!previewed.Preview(tree->size())) {
    state.SkipWithError("the preview did not list every target");
    return;
  }
  morva::UiContext context{previewed.session, {}};
  std::string copy_directory;
  double dialog_mb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    malloc_trim(0);
    const std::size_t before = bench::HeapInUse();
    state.ResumeTiming();
    {
      morva::PreviewDialog dialog(context, previewed.plan.records, previewed.plan.paths, &copy_directory, nullptr);
      ShowAndPaint(dialog);
      state.PauseTiming();
      dialog_mb = static_cast<double>(bench::HeapInUse() - before) / kMegabyte;
      state.ResumeTiming();
    }
  }
  state.counters["dialog_mb"] = dialog_mb;
}

void BM_ToggleHideExcluded(benchmark::State& state, const bench::FileTree* tree) {
  PreviewedEngine previewed(*tree);
  if (!previewed.Preview(tree->size())) {
    state.SkipWithError("the preview did not list every target");
    return;
  }
  std::vector<morva::PreviewRecord>& records = previewed.plan.records;
  for (std::size_t i = 0; i < records.size(); i += 2) records[i].state = static_cast<std::int16_t>(-records[i].state);
  morva::UiContext context{previewed.session, {}};
  std::string copy_directory;
  morva::PreviewDialog dialog(context, records, previewed.plan.paths, &copy_directory, nullptr);
  ShowAndPaint(dialog);
  auto* hide = dialog.findChild<QCheckBox*>(QStringLiteral("hideExcludedCheck"));
  if (hide == nullptr) {
    state.SkipWithError("no hide check box");
    return;
  }
  for (auto _ : state) {
    hide->click();
    dialog.repaint();
  }
  state.counters["rows_shown"] = dialog.model().rowCount();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::unique_ptr<bench::FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  if (tree == nullptr) return 1;
  const bench::FileTree* t = tree.get();
  bench::RegisterWallTime("BM_EnginePreview", 3, [t](benchmark::State& s) { BM_EnginePreview(s, t); });
  bench::RegisterWallTime("BM_OpenPreviewDialog", 3, [t](benchmark::State& s) { BM_OpenPreviewDialog(s, t); });
  bench::RegisterWallTime("BM_ToggleHideExcluded", 10, [t](benchmark::State& s) { BM_ToggleHideExcluded(s, t); });
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
