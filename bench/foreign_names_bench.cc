// The cost of names holding a character outside code page 932, which takes a user-defined code through
// the table: listing and previewing a directory of N files named "file0000000-é.txt" beside the same
// directory named "file0000000-e.txt". Run with --file_count=N (100000 by default).
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_engine.h"
#include "bench_support.h"

#include "engine/conversion_run.h"
#include "platform/user_area_table.h"

namespace {

using bench::FileTree;

void BM_FindFiles(benchmark::State& state, const FileTree* tree, morva::UserAreaTable* table) {
  bench::Engine engine(tree->path(), table);
  std::string dir;
  if (!engine.fs->FromHostPath(tree->path(), &dir).ok()) {
    state.SkipWithError("no engine path");
    return;
  }
  for (auto _ : state) {
    std::vector<morva::FindData> entries;
    std::size_t invisible = 0;
    if (!engine.fs->FindFiles(dir, "*.*", &entries, &invisible).ok() || entries.size() != tree->size()) {
      state.SkipWithError("the listing did not see every file");
      break;
    }
  }
}

void BM_Preview(benchmark::State& state, const FileTree* tree, morva::UserAreaTable* table) {
  bench::Engine engine(tree->path(), table);
  bench::UpperCaseBaseNames(engine.session.job.settings);
  for (auto _ : state) {
    morva::Plan plan;
    morva::Preview(engine.session, &plan, false);
    if (plan.records.size() != tree->size()) {
      state.SkipWithError("the preview did not list every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  const int count = bench::InitializeWithFileCount(argc, argv, 100000);
  const FileTree plain(count, "-e");
  const FileTree foreign(count, "-é");
  bench::TempDirectory home("/tmp/morva-bench-home-XXXXXX");
  std::unique_ptr<morva::UserAreaTable> table;
  if (plain.path().empty() || foreign.path().empty() || home.path().empty() ||
      !morva::UserAreaTable::Open(home.path() + "/mvchars.txt", &table).ok()) {
    return 1;
  }
  morva::UserAreaTable* t = table.get();
  for (const auto& [name, tree] : {std::pair{"plain", &plain}, std::pair{"foreign", &foreign}}) {
    benchmark::RegisterBenchmark((std::string("BM_FindFiles/") + name).c_str(),
                                 [tree, t](benchmark::State& s) { BM_FindFiles(s, tree, t); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BM_Preview/") + name).c_str(),
                                 [tree, t](benchmark::State& s) { BM_Preview(s, tree, t); })
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
