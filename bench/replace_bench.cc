// Previews of a string-replacement job (name rule 3) over one directory of many files: a regular
// expression beside a plain replacement that gives the same names ("file0000001.txt" ->
// "photo0000001.txt"). The regular expression should stay within twice the plain preview's time. Run
// with --file_count=N to change the directory size (100000 by default).

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"

namespace {

using bench::FileTree;

// An engine whose job replaces `target` by `replacement` in the base names of `dir`.
struct ReplaceEngine : bench::Engine {
  ReplaceEngine(const std::string& dir, const char* target, const char* replacement, bool use_regex)
      : bench::Engine(dir) {
    morva::ConversionSettings& s = session.job.settings;
    s.sw_fnm = 3;
    s.fnm_ckn0 = 1;
    s.fnm_ckn1.Assign(target);
    s.fnm_ckn3.Assign(replacement);
    s.fnm_ckn_tgb = use_regex ? 3 : 1;  // case-sensitive
  }
};

void BM_Preview(benchmark::State& state, const FileTree* tree, const char* target, const char* replacement,
                bool use_regex) {
  ReplaceEngine engine(tree->path(), target, replacement, use_regex);
  for (auto _ : state) {
    morva::Plan plan;
    const morva::ConversionResult result = morva::Preview(engine.session, &plan, false);
    if (plan.records.size() != tree->size() || result.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the preview did not rename every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  if (tree == nullptr) return 1;
  const FileTree* t = tree.get();
  bench::RegisterWallTime("BM_PreviewPlain", 5, [t](benchmark::State& s) { BM_Preview(s, t, "file", "photo", false); });
  bench::RegisterWallTime("BM_PreviewRegex", 5,
                          [t](benchmark::State& s) { BM_Preview(s, t, "^file(\\d+)", "photo$1", true); });
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
