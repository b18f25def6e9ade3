// A run of a general-rule job (upper case, base name only) over one directory of many files, with the
// log on (the default: every target logged, ten runs kept) beside the same run with the log off
// (SW_OPT[1]). Run with --file_count=N to change the directory size (100000 by default). Every
// iteration starts from the lower-case names; putting them back is not timed. The log lives in a
// program directory of its own under /tmp, removed at the end.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"

namespace {

using bench::FileTree;

// An engine whose job upper-cases the base names of the files of `dir`, logging to `home`.
struct LoggedEngine : bench::Engine {
  LoggedEngine(const std::string& dir, const std::string& home, bool log) : bench::Engine(dir) {
    bench::UpperCaseBaseNames(session.job.settings);
    bench::SetProgramDirectory(session, home);
    session.job.app.sw_opt[1] = !log;
  }
};

void BM_Run(benchmark::State& state, const FileTree* tree, const std::string& home, bool log) {
  LoggedEngine engine(tree->path(), home, log);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    state.ResumeTiming();
    morva::Run(engine.session, nullptr, false);
    if (engine.session.run.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the run did not rename every target");
      break;
    }
    if (log && !engine.session.log.usable) {
      state.SkipWithError("the log could not be written");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  // The program directory that receives mvlogs.txt.
  const bench::TempDirectory program_directory("/tmp/morva-log-bench-XXXXXX");
  if (tree == nullptr || program_directory.path().empty()) return 1;
  const FileTree* t = tree.get();
  const std::string home = program_directory.path();
  // A large directory slows down as it is renamed over and over, so the two are measured twice, in turn:
  // compare each run with the one next to it.
  for (const char* round : {"", "Again"}) {
    bench::RegisterWallTime(std::string("BM_RunLogOff") + round, 5,
                            [t, home](benchmark::State& s) { BM_Run(s, t, home, false); });
    bench::RegisterWallTime(std::string("BM_RunLogOn") + round, 5,
                            [t, home](benchmark::State& s) { BM_Run(s, t, home, true); });
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
