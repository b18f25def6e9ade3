// Previews of a control-statement job (name rule 7) over one directory of many files, beside the
// general rule's upper-case preview of the same files: the statement \UPPER<<F>>_<C-5>.<E> upper-cases
// the base name and numbers it, so it does the general rule's work and a little more. The statement
// should stay within 1.5 times the general rule's time. Run with --file_count=N to change the directory
// size (100000 by default).

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "core/conversion_settings.h"
#include "engine/conversion_run.h"
#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"

namespace {

using bench::FileTree;
using bench::QuietUi;

// An engine session previewing the whole names of `dir` with `rule` (and, for a control statement,
// `statement`).
struct Engine {
  Engine(const std::string& dir, morva::NameRule rule, const char* statement) {
    session.host.regex = regex.get();
    morva::ConversionSettings& s = session.job.settings;
    s.sw_fnm = static_cast<std::int16_t>(rule);
    s.fnm_01 = false;  // the whole name is the rule's text
    s.fnm_ipn_sel = morva::ConversionSettings::kGeneralCase;
    s.fnm_ipn2 = 1;  // upper case
    s.fnm_usr1.Assign(statement);
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

void BM_Preview(benchmark::State& state, const FileTree* tree, morva::NameRule rule, const char* statement) {
  Engine engine(tree->path(), rule, statement);
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
  // The second statement gives the general rule's names exactly (only the letter case changes), which
  // tells the interpreter's cost apart from that of names that change more than their case: the preview
  // then keeps its directory's names up to date through its hash tables.
  struct Job {
    const char* name;
    morva::NameRule rule;
    const char* statement;
  };
  for (const Job& job : {Job{"BM_PreviewGeneralUpper", morva::NameRule::kGeneral, ""},
                         Job{"BM_PreviewControlStatement", morva::NameRule::kControl, "\\UPPER<<F>>_<C-5>.<E>"},
                         Job{"BM_PreviewControlStatementSameNames", morva::NameRule::kControl, "\\UPPER<<F>.<E>>"}}) {
    const morva::NameRule r = job.rule;
    const char* statement = job.statement;
    benchmark::RegisterBenchmark(job.name, [t, r, statement](benchmark::State& s) { BM_Preview(s, t, r, statement); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->UseRealTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
