// A logged run of a timestamp job (the last-write time set directly) over one directory of many files,
// beside the least the same change costs: a plain loop of utimensat over the known names. The run
// should stay within 1.5 times the loop. Every iteration sets the other of two times, so nothing is
// ever "not needed". Run with --file_count=N to change the directory size (100000 by default).

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "engine/conversion_run.h"
#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

using bench::FileTree;
using bench::QuietUi;

// An engine session whose job sets the last-write time of the files of `dir`.
struct Engine {
  explicit Engine(const std::string& dir) {
    morva::ConversionSettings& s = session.job.settings;
    s.sw_fnm = 0;
    s.sw_dtt[1] = 1;
    std::string engine_dir;
    if (fs->FromHostPath(dir, &engine_dir).ok()) session.job.app.dirfil[0] = engine_dir;
    session.job.app.set_0 = 1;
  }
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  QuietUi ui;
  morva::Session session{*codec, *fs, ui};
};

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
  Engine engine(tree->path());
  bool first = true;
  int iteration = 0;
  for (auto _ : state) {
    // A log of its own for each run: runs logged one after another in one log wait for a new second,
    // since a run's identifier is its start to the second.
    state.PauseTiming();
    const std::string log_home = home + "/" + std::to_string(iteration++);
    std::string engine_home;
    if (mkdir(log_home.c_str(), 0755) != 0 || !engine.fs->FromHostPath(log_home, &engine_home).ok()) {
      state.SkipWithError("cannot create the log directory");
      break;
    }
    engine.session.host.program_directory = engine_home;
    state.ResumeTiming();
    engine.session.job.settings.dtt_date[1].Assign(first ? "2001/02/03" : "2002/03/04");
    engine.session.job.settings.dtt_time[1].Assign("04:05:06");
    first = !first;
    const morva::ConversionResult result = morva::StartConversion(engine.session, morva::RunMode::kRun, false);
    if (result.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the run did not change every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const int file_count = bench::InitializeWithFileCount(argc, argv, 100000);
  FileTree tree(file_count);
  char home_template[] = "/tmp/morva-time-bench-home-XXXXXX";
  if (tree.path().empty() || mkdtemp(home_template) == nullptr) {
    std::fprintf(stderr, "cannot create the test directories\n");
    return 1;
  }
  const FileTree* t = &tree;
  const std::string home = home_template;
  benchmark::RegisterBenchmark("BM_PlainUtimensatLoop", [t](benchmark::State& s) { BM_PlainUtimensatLoop(s, t); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_TimestampRun", [t, home](benchmark::State& s) { BM_TimestampRun(s, t, home); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(6)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::system(("rm -rf '" + home + "'").c_str());
  return 0;
}
