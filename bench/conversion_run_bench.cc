// Preview and run of a general-rule job (upper case, base name only) over one directory of many files,
// beside the least the same renames cost: a plain loop of renameat2 over the known names. Run with
// --file_count=N to change the directory size (100000 by default). Every iteration starts from the
// lower-case names; putting them back is not timed.
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
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

using bench::FileTree;
using bench::QuietUi;

// An engine session whose job upper-cases the base names of the files of `dir`. With a `home` the run
// is logged there (mvlogs.txt), as every run of the program is; without one it is not.
struct Engine {
  explicit Engine(const std::string& dir, const std::string& home = std::string()) {
    session.job.settings.sw_fnm = 1;
    session.job.settings.fnm_ipn_sel = 1;
    session.job.settings.fnm_ipn2 = 1;
    std::string engine_dir;
    if (fs->FromHostPath(dir, &engine_dir).ok()) session.job.app.dirfil[0] = engine_dir;
    session.job.app.set_0 = 1;
    if (!home.empty() && fs->FromHostPath(home, &engine_dir).ok()) session.host.program_directory = engine_dir;
    session.job.app.opt_1 = 1;  // the log keeps the newest run: it does not grow from one iteration to the next
  }
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  QuietUi ui;
  morva::Session session{*codec, *fs, ui};
};

void BM_Preview(benchmark::State& state, const FileTree* tree) {
  Engine engine(tree->path());
  tree->Reset();
  for (auto _ : state) {
    morva::StartConversion(engine.session, morva::RunMode::kPreview, false);
    if (engine.session.run.preview.size() != tree->size() || engine.session.run.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the preview did not accept every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

void BM_Run(benchmark::State& state, const FileTree* tree, const std::string& home) {
  Engine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
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
  const int file_count = bench::InitializeWithFileCount(argc, argv, 100000);

  FileTree tree(file_count);
  if (tree.path().empty()) {
    std::fprintf(stderr, "cannot create the test directory\n");
    return 1;
  }
  const FileTree* t = &tree;
  // Wall time is what a user waits for; the listing shares its status calls with a second thread.
  benchmark::RegisterBenchmark("BM_PlainRenameLoop", [t](benchmark::State& s) { BM_PlainRenameLoop(s, t); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_Run", [t](benchmark::State& s) { BM_Run(s, t, std::string()); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  // The run as the program makes it: every target logged.
  char home_template[] = "/tmp/morva-run-bench-home-XXXXXX";
  const std::string home = mkdtemp(home_template) != nullptr ? home_template : std::string();
  benchmark::RegisterBenchmark("BM_RunLogged", [t, home](benchmark::State& s) { BM_Run(s, t, home); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  // Renames make a large ext4 directory slower over time (its index grows and fills with holes), so the
  // plain loop is measured again after the run: compare the run with the loop next to it.
  benchmark::RegisterBenchmark("BM_PlainRenameLoopAgain", [t](benchmark::State& s) { BM_PlainRenameLoop(s, t); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_Preview", [t](benchmark::State& s) { BM_Preview(s, t); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!home.empty()) std::system(("rm -rf '" + home + "'").c_str());
  return 0;
}
