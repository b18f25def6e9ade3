// The memory a preview holds per target: the heap in use after a preview of one directory of many
// files (100,000 by default; --file_count=N, e.g. 1000000), less the heap in use before it, divided by
// the number of targets. Reported as the counter bytes_per_target; the walk's time comes with it.
#include <malloc.h>

#include <cstdio>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "engine/conversion_run.h"
#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

// Small blocks in the heap and the large ones malloc maps on their own (the lists of a large preview).
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void BM_PreviewMemory(benchmark::State& state, const bench::FileTree* tree) {
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  bench::QuietUi ui;
  double bytes_per_target = 0;
  for (auto _ : state) {
    // A fresh session each time, so that nothing of the last preview is counted.
    state.PauseTiming();
    auto session = std::make_unique<morva::Session>(*codec, *fs, ui);
    session->job.settings.sw_fnm = 1;
    session->job.settings.fnm_ipn_sel = 1;
    session->job.settings.fnm_ipn2 = 1;
    std::string engine_dir;
    if (fs->FromHostPath(tree->path(), &engine_dir).ok()) session->job.app.dirfil[0] = engine_dir;
    session->job.app.set_0 = 1;
    malloc_trim(0);
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    const morva::ConversionResult result = morva::StartConversion(*session, morva::RunMode::kPreview, false);
    state.PauseTiming();
    if (result.outcome != morva::ConversionOutcome::kPreviewClosed || session->run.preview.size() != tree->size()) {
      state.SkipWithError("the preview did not list every target");
      break;
    }
    bytes_per_target = static_cast<double>(HeapInUse() - before) / static_cast<double>(tree->size());
    session.reset();
    state.ResumeTiming();
  }
  state.counters["targets"] = static_cast<double>(tree->size());
  state.counters["bytes_per_target"] = bytes_per_target;
}

}  // namespace

int main(int argc, char** argv) {
  const int file_count = bench::InitializeWithFileCount(argc, argv, 100000);
  bench::FileTree tree(file_count);
  if (tree.path().empty()) {
    std::fprintf(stderr, "cannot create the test directory\n");
    return 1;
  }
  const bench::FileTree* t = &tree;
  benchmark::RegisterBenchmark("BM_PreviewMemory", [t](benchmark::State& s) { BM_PreviewMemory(s, t); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
