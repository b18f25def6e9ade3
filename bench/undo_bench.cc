// A run of a general-rule job (upper case, base name only) over one directory of many files, beside
// the undo of that run from the log: the log is scanned, the run's target lines read back and every
// rename undone. Run with --file_count=N to change the directory size (100000 by default). Each timed
// run starts from the lower-case names, each timed undo from the upper-case names and a log holding
// just that run; the preparation is not timed.
#include <unistd.h>

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"
#include "undo/undo_from_log.h"

namespace {

using bench::FileTree;

// An engine whose job upper-cases the base names of the files of `dir`, logging to `home`.
struct LoggedEngine : bench::Engine {
  LoggedEngine(const std::string& dir, const std::string& home) : bench::Engine(dir) {
    bench::UpperCaseBaseNames(session.job.settings);
    session.job.app.opt_1 = 1;
    if (bench::SetProgramDirectory(session, home)) log_path = home + "/mvlogs.txt";
  }
  std::string log_path;
};

void BM_Run(benchmark::State& state, const FileTree* tree, const std::string& home) {
  LoggedEngine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    unlink(engine.log_path.c_str());
    state.ResumeTiming();
    morva::Run(engine.session, nullptr, false);
    if (engine.session.run.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the run did not rename every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

void BM_UndoFromLog(benchmark::State& state, const FileTree* tree, const std::string& home) {
  LoggedEngine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    unlink(engine.log_path.c_str());
    morva::Run(engine.session, nullptr, false);
    engine.session.undo.Clear();  // only the log remembers the run
    state.ResumeTiming();
    morva::LogUndoResult result;
    const morva::LogUndoOutcome outcome =
        morva::UndoFromLog(engine.session.log_context(), &engine.session.undo,
                           engine.session.host.program_directory + "\\mvlogs.txt", "", &result);
    if (outcome != morva::LogUndoOutcome::kUndone || !result.undo.ok ||
        result.undo.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the undo did not restore every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  const bench::TempDirectory program_directory("/tmp/morva-undo-bench-home-XXXXXX");
  if (tree == nullptr || program_directory.path().empty()) return 1;
  const FileTree* t = tree.get();
  const std::string home = program_directory.path();
  // Run and undo alternate so that both meet the directory's index in the same state.
  for (int round = 0; round < 2; ++round) {
    bench::RegisterWallTime("BM_Run", 3, [t, home](benchmark::State& s) { BM_Run(s, t, home); });
    bench::RegisterWallTime("BM_UndoFromLog", 3, [t, home](benchmark::State& s) { BM_UndoFromLog(s, t, home); });
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
