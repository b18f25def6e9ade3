// Preview and run of a general-rule job (upper case, base name only) over one directory of many files,
// beside the least the same renames cost: a plain loop of renameat2 over the known names. Run with
// --file_count=N to change the directory size (100000 by default). Every iteration starts from the
// lower-case names; putting them back is not timed.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"

namespace {

using bench::FileTree;

// An engine whose job upper-cases the base names of the files of `dir`. With a `home` the run is logged
// there (mvlogs.txt), as every run of the program is; without one it is not.
struct UpperCaseEngine : bench::Engine {
  explicit UpperCaseEngine(const std::string& dir, const std::string& home = std::string()) : bench::Engine(dir) {
    bench::UpperCaseBaseNames(session.job.settings);
    if (!home.empty()) bench::SetProgramDirectory(session, home);
    session.job.app.opt_1 = 1;  // the log keeps the newest run: it does not grow from one iteration to the next
  }
};

void BM_Preview(benchmark::State& state, const FileTree* tree) {
  UpperCaseEngine engine(tree->path());
  tree->Reset();
  for (auto _ : state) {
    morva::Plan plan;
    const morva::ConversionResult result = morva::Preview(engine.session, &plan, false);
    if (plan.records.size() != tree->size() || result.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the preview did not accept every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

void BM_Run(benchmark::State& state, const FileTree* tree, const std::string& home) {
  UpperCaseEngine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    state.ResumeTiming();
    morva::Run(engine.session, nullptr, false);
    if (engine.session.run.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the run did not rename every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

void BM_PlainRenameLoop(benchmark::State& state, const FileTree* tree) {
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    state.ResumeTiming();
    if (!tree->RenameAll(true)) {
      state.SkipWithError("renameat2 failed");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  // The program directory of the logged run.
  const bench::TempDirectory home("/tmp/morva-run-bench-home-XXXXXX");
  if (tree == nullptr || home.path().empty()) return 1;
  const FileTree* t = tree.get();
  // Wall time is what a user waits for; the listing shares its status calls with a second thread.
  bench::RegisterWallTime("BM_PlainRenameLoop", 5, [t](benchmark::State& s) { BM_PlainRenameLoop(s, t); });
  bench::RegisterWallTime("BM_Run", 5, [t](benchmark::State& s) { BM_Run(s, t, std::string()); });
  // The run as the program makes it: every target logged.
  const std::string h = home.path();
  bench::RegisterWallTime("BM_RunLogged", 5, [t, h](benchmark::State& s) { BM_Run(s, t, h); });
  // Renames make a large ext4 directory slower over time (its index grows and fills with holes), so the
  // plain loop is measured again after the run: compare the run with the loop next to it.
  bench::RegisterWallTime("BM_PlainRenameLoopAgain", 5, [t](benchmark::State& s) { BM_PlainRenameLoop(s, t); });
  bench::RegisterWallTime("BM_Preview", 5, [t](benchmark::State& s) { BM_Preview(s, t); });
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
