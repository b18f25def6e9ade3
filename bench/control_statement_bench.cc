// Previews of a control-statement job (name rule 7) over one directory of many files, beside the
// general rule's upper-case preview of the same files: the statement \UPPER<<F>>_<C-5>.<E> upper-cases
// the base name and numbers it, so it does the general rule's work and a little more. The statement
// should stay within 1.5 times the general rule's time. Run with --file_count=N to change the directory
// size (100000 by default).

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "core/conversion_settings.h"
#include "engine/conversion_run.h"

namespace {

using bench::FileTree;

// An engine previewing the whole names of `dir` with `rule` (and, for a control statement, `statement`).
struct RuleEngine : bench::Engine {
  RuleEngine(const std::string& dir, morva::NameRule rule, const char* statement) : bench::Engine(dir) {
    morva::ConversionSettings& s = session.job.settings;
    s.sw_fnm = static_cast<std::int16_t>(rule);
    s.fnm_01 = false;  // the whole name is the rule's text
    s.fnm_ipn_sel = morva::ConversionSettings::kGeneralCase;
    s.fnm_ipn2 = 1;  // upper case
    s.fnm_usr1.Assign(statement);
  }
};

void BM_Preview(benchmark::State& state, const FileTree* tree, morva::NameRule rule, const char* statement) {
  RuleEngine engine(tree->path(), rule, statement);
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
    bench::RegisterWallTime(job.name, 5, [t, r, statement](benchmark::State& s) { BM_Preview(s, t, r, statement); });
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
