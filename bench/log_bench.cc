// A run of a general-rule job (upper case, base name only) over one directory of many files, with the
// log on (the default: every target logged, ten runs kept) beside the same run with the log off
// (SW_OPT[1]). Run with --file_count=N to change the directory size (100000 by default). Every
// iteration starts from the lower-case names; putting them back is not timed. The log lives in a
// program directory of its own under /tmp, removed at the end.
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

// The program directory that receives mvlogs.txt.
class HomeDirectory {
 public:
  HomeDirectory() {
    char templ[] = "/tmp/morva-log-bench-XXXXXX";
    if (mkdtemp(templ) != nullptr) path_ = templ;
  }
  HomeDirectory(const HomeDirectory&) = delete;
  HomeDirectory& operator=(const HomeDirectory&) = delete;
  ~HomeDirectory() {
    if (path_.empty()) return;
    unlink((path_ + "/mvlogs.txt").c_str());
    rmdir(path_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// An engine session whose job upper-cases the base names of the files of `dir`, logging to `home`.
struct Engine {
  Engine(const std::string& dir, const std::string& home, bool log) {
    session.job.settings.sw_fnm = 1;
    session.job.settings.fnm_ipn_sel = 1;
    session.job.settings.fnm_ipn2 = 1;
    std::string engine_path;
    if (fs->FromHostPath(dir, &engine_path).ok()) session.job.app.dirfil[0] = engine_path;
    if (fs->FromHostPath(home, &engine_path).ok()) session.host.program_directory = engine_path;
    session.job.app.set_0 = 1;
    session.job.app.sw_opt[1] = !log;
  }
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  QuietUi ui;
  morva::Session session{*codec, *fs, ui};
};

void BM_Run(benchmark::State& state, const FileTree* tree, const HomeDirectory* home, bool log) {
  Engine engine(tree->path(), home->path(), log);
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
    if (log && !engine.session.log.usable) {
      state.SkipWithError("the log could not be written");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const int file_count = bench::InitializeWithFileCount(argc, argv, 100000);

  FileTree tree(file_count);
  HomeDirectory home;
  if (tree.path().empty() || home.path().empty()) {
    std::fprintf(stderr, "cannot create the test directories\n");
    return 1;
  }
  const FileTree* t = &tree;
  const HomeDirectory* h = &home;
  // A large directory slows down as it is renamed over and over, so the two are measured twice, in turn:
  // compare each run with the one next to it.
  for (const char* round : {"", "Again"}) {
    benchmark::RegisterBenchmark((std::string("BM_RunLogOff") + round).c_str(),
                                 [t, h](benchmark::State& s) { BM_Run(s, t, h, false); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->UseRealTime();
    benchmark::RegisterBenchmark((std::string("BM_RunLogOn") + round).c_str(),
                                 [t, h](benchmark::State& s) { BM_Run(s, t, h, true); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->UseRealTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
