// Previews of a string-replacement job (name rule 3) over one directory of many files: a regular
// expression beside a plain replacement that gives the same names ("file0000001.txt" ->
// "photo0000001.txt"). The regular expression should stay within twice the plain preview's time. Run
// with --file_count=N to change the directory size (100000 by default).

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "engine/conversion_run.h"
#include "engine/session.h"
#include "core/user_interface.h"
#include "platform/file_system.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"

namespace {

using bench::FileTree;
using bench::QuietUi;

// An engine session whose job replaces `target` by `replacement` in the base names of `dir`.
struct Engine {
  Engine(const std::string& dir, const char* target, const char* replacement, bool use_regex) {
    session.host.regex = regex.get();
    session.job.settings.sw_fnm = 3;
    session.job.settings.fnm_ckn0 = 1;
    session.job.settings.fnm_ckn1.Assign(target);
    session.job.settings.fnm_ckn3.Assign(replacement);
    session.job.settings.fnm_ckn_tgb = use_regex ? 3 : 1;  // case-sensitive
    std::string engine_dir;
    if (fs->FromHostPath(dir, &engine_dir).ok()) session.job.app.dirfil[0] = engine_dir;
    session.job.app.set_0 = 1;
  }
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  std::unique_ptr<morva::RegexService> regex = morva::NewPcre2RegexService(codec.get());
  QuietUi ui;
  morva::Session session{*codec, *fs, ui};
};

void BM_Preview(benchmark::State& state, const FileTree* tree, const char* target, const char* replacement,
                bool use_regex) {
  Engine engine(tree->path(), target, replacement, use_regex);
  for (auto _ : state) {
    morva::StartConversion(engine.session, morva::RunMode::kPreview, false);
    if (engine.session.run.preview.size() != tree->size() ||
        engine.session.run.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the preview did not rename every target");
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
  benchmark::RegisterBenchmark("BM_PreviewPlain", [t](benchmark::State& s) { BM_Preview(s, t, "file", "photo", false); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_PreviewRegex",
                               [t](benchmark::State& s) { BM_Preview(s, t, "^file(\\d+)", "photo$1", true); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
