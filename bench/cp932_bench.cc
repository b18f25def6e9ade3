// The code page 932 helpers run per character over every name of a run; these measure them on 100,000
// generated names mixing ASCII, kana and kanji whose trail bytes look like '\\' and letters.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/cp932.h"

namespace morva::cp932 {
namespace {

std::vector<std::string> MakeNames() {
  const char* pieces[] = {"IMG_", "photo", "\x95\x5C", "\x83\x5C", "\x83\x41", "\x88\x9F", "\xB1\xB2",
                          "\x82\x60\x82\x81", "_", "2024", "\x84\x46"};
  std::mt19937 rng(932);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(pieces) / sizeof(pieces[0]) - 1);
  std::vector<std::string> names(100000);
  for (std::string& name : names) {
    for (int i = 0; i < 8; ++i) name += pieces[pick(rng)];
    name += ".jpg";
  }
  return names;
}

void BM_IsLeadAtEveryByte(benchmark::State& state) {
  const std::vector<std::string> names = MakeNames();
  for (auto _ : state) {
    std::size_t leads = 0;
    for (const std::string& name : names) {
      for (std::size_t i = 0; i < name.size(); ++i) leads += IsLeadAt(name, i);
    }
    benchmark::DoNotOptimize(leads);
  }
}
BENCHMARK(BM_IsLeadAtEveryByte);

void BM_FindIgnoringCase(benchmark::State& state) {
  const std::vector<std::string> names = MakeNames();
  for (auto _ : state) {
    std::size_t found = 0;
    for (const std::string& name : names) found += Find(name, "\x82\x81.JPG", 0, true) != std::string_view::npos;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindIgnoringCase);

void BM_FindSeparator(benchmark::State& state) {
  const std::vector<std::string> names = MakeNames();
  for (auto _ : state) {
    std::size_t found = 0;
    for (const std::string& name : names) found += Find(name, "\\") != std::string_view::npos;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindSeparator);

void BM_SortIgnoringCase(benchmark::State& state) {
  const std::vector<std::string> names = MakeNames();
  for (auto _ : state) {
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) < 0; });
    benchmark::DoNotOptimize(sorted.data());
  }
}
BENCHMARK(BM_SortIgnoringCase)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morva::cp932

BENCHMARK_MAIN();
