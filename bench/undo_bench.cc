// A run of a general-rule job (upper case, base name only) over one directory of many files, beside
// the undo of that run from the log: the log is scanned, the run's target lines read back and every
// rename undone. Run with --file_count=N to change the directory size (100000 by default). Each timed
// run starts from the lower-case names, each timed undo from the upper-case names and a log holding
// just that run; the preparation is not timed.
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "engine/conversion_run.h"
#include "engine/session.h"
#include "core/user_interface.h"
#include "undo/undo_from_log.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

using bench::FileTree;
using bench::QuietUi;

// An engine session whose job upper-cases the base names of the files of `dir`, logging to `home`.
struct Engine {
  Engine(const std::string& dir, const std::string& home) {
    session.job.settings.sw_fnm = 1;
    session.job.settings.fnm_ipn_sel = 1;
    session.job.settings.fnm_ipn2 = 1;
    std::string engine_dir;
    if (fs->FromHostPath(dir, &engine_dir).ok()) session.job.app.dirfil[0] = engine_dir;
    session.job.app.set_0 = 1;
    session.job.app.opt_1 = 1;
    if (fs->FromHostPath(home, &session.host.program_directory).ok()) log_path = home + "/mvlogs.txt";
  }
  std::string log_path;
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  QuietUi ui;
  morva::Session session{*codec, *fs, ui};
};

void BM_Run(benchmark::State& state, const FileTree* tree, const std::string& home) {
  Engine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    unlink(engine.log_path.c_str());
    engine.session.run.selection.clear();
    state.ResumeTiming();
    morva::StartConversion(engine.session, morva::RunMode::kRun, false);
    if (engine.session.run.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the run did not rename every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

void BM_UndoFromLog(benchmark::State& state, const FileTree* tree, const std::string& home) {
  Engine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    unlink(engine.log_path.c_str());
    engine.session.run.selection.clear();
    morva::StartConversion(engine.session, morva::RunMode::kRun, false);
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
  const int file_count = bench::InitializeWithFileCount(argc, argv, 100000);

  char home_template[] = "/tmp/morva-undo-bench-home-XXXXXX";
  if (mkdtemp(home_template) == nullptr) {
    std::fprintf(stderr, "cannot create the program directory\n");
    return 1;
  }
  const std::string home = home_template;
  {
    FileTree tree(file_count);
    if (tree.path().empty()) {
      std::fprintf(stderr, "cannot create the test directory\n");
      return 1;
    }
    const FileTree* t = &tree;
    // Run and undo alternate so that both meet the directory's index in the same state.
    for (int round = 0; round < 2; ++round) {
      benchmark::RegisterBenchmark("BM_Run", [t, home](benchmark::State& s) { BM_Run(s, t, home); })
          ->Unit(benchmark::kMillisecond)
          ->Iterations(3)
          ->UseRealTime();
      benchmark::RegisterBenchmark("BM_UndoFromLog", [t, home](benchmark::State& s) { BM_UndoFromLog(s, t, home); })
          ->Unit(benchmark::kMillisecond)
          ->Iterations(3)
          ->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  unlink((home + "/mvlogs.txt").c_str());
  rmdir(home.c_str());
  return 0;
}
