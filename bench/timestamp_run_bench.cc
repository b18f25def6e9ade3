// A logged run of a timestamp job (the last-write time set directly) over one directory of many files,
// beside the least the same change costs: a plain loop of utimensat over the known names. The run
// should stay within 1.5 times the loop. Every iteration sets the other of two times, so nothing is
// ever "not needed". Run with --file_count=N to change the directory size (100000 by default).

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"

namespace {

using bench::FileTree;

void BM_PlainUtimensatLoop(benchmark::State& state, const FileTree* tree) {
  long second = 1000000000;
  for (auto _ : state) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {second++, 0}};
    for (const std::string& name : tree->names()) {
      if (utimensat(tree->fd(), name.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        state.SkipWithError("utimensat failed");
        return;
      }
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

void BM_TimestampRun(benchmark::State& state, const FileTree* tree, const std::string& home) {
  // The job sets the last-write time of the files.
  bench::Engine engine(tree->path());
  morva::ConversionSettings& s = engine.session.job.settings;
  s.sw_fnm = 0;
  s.sw_dtt[1] = 1;
  bool first = true;
  int iteration = 0;
  for (auto _ : state) {
    // A log of its own for each run: runs logged one after another in one log wait for a new second,
    // since a run's identifier is its start to the second.
    state.PauseTiming();
    const std::string log_home = home + "/" + std::to_string(iteration++);
    if (mkdir(log_home.c_str(), 0755) != 0 || !bench::SetProgramDirectory(engine.session, log_home)) {
      state.SkipWithError("cannot create the log directory");
      break;
    }
    state.ResumeTiming();
    engine.session.job.settings.dtt_date[1].Assign(first ? "2001/02/03" : "2002/03/04");
    engine.session.job.settings.dtt_time[1].Assign("04:05:06");
    first = !first;
    const morva::ConversionResult result = morva::Run(engine.session, nullptr, false);
    if (result.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the run did not change every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  // One program directory per run below it.
  const bench::TempDirectory logs("/tmp/morva-time-bench-home-XXXXXX");
  if (tree == nullptr || logs.path().empty()) return 1;
  const FileTree* t = tree.get();
  const std::string home = logs.path();
  bench::RegisterWallTime("BM_PlainUtimensatLoop", 5, [t](benchmark::State& s) { BM_PlainUtimensatLoop(s, t); });
  bench::RegisterWallTime("BM_TimestampRun", 6, [t, home](benchmark::State& s) { BM_TimestampRun(s, t, home); });
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
