// The memory a preview holds per target: the heap in use after a preview of one directory of many
// files (100,000 by default; --file_count=N, e.g. 1000000), less the heap in use before it, divided by
// the number of targets. Reported as the counter bytes_per_target; the walk's time comes with it.
#include <malloc.h>

#include <memory>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"

namespace {

void BM_PreviewMemory(benchmark::State& state, const bench::FileTree* tree) {
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  bench::QuietUi ui;
  double bytes_per_target = 0;
  for (auto _ : state) {
    // A fresh session each time, so that nothing of the last preview is counted.
    state.PauseTiming();
    auto session = std::make_unique<morva::Session>(*codec, *fs, ui);
    bench::UpperCaseBaseNames(session->job.settings);
    bench::SetTargetDirectory(*session, tree->path());
    malloc_trim(0);
    const std::size_t before = bench::HeapInUse();
    state.ResumeTiming();
    morva::Plan plan;
    const morva::ConversionResult result = morva::Preview(*session, &plan, false);
    state.PauseTiming();
    if (result.outcome != morva::ConversionOutcome::kPreviewClosed || plan.records.size() != tree->size()) {
      state.SkipWithError("the preview did not list every target");
      break;
    }
    bytes_per_target = static_cast<double>(bench::HeapInUse() - before) / static_cast<double>(tree->size());
    session.reset();
    plan = morva::Plan();
    state.ResumeTiming();
  }
  state.counters["targets"] = static_cast<double>(tree->size());
  state.counters["bytes_per_target"] = bytes_per_target;
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<bench::FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  if (tree == nullptr) return 1;
  const bench::FileTree* t = tree.get();
  bench::RegisterWallTime("BM_PreviewMemory", 3, [t](benchmark::State& s) { BM_PreviewMemory(s, t); });
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
