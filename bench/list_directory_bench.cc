// Listing a large directory: FileSystem::FindFiles against the least a listing has to do (readdir and
// one statx per entry). Run with --file_count=N to change the directory size (100000 by default).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "platform/file_system.h"
#include "platform/file_time.h"
#include "platform/text_codec.h"

namespace {

struct PlainEntry {
  std::string name;
  morva::FileTime creation = 0;
  morva::FileTime access = 0;
  morva::FileTime write = 0;
};

morva::FileTime FromStatx(const struct statx_timestamp& t) {
  struct timespec ts {};
  ts.tv_sec = static_cast<time_t>(t.tv_sec);
  ts.tv_nsec = static_cast<long>(t.tv_nsec);
  return morva::FileTimeFromTimespec(ts);
}

void BM_FindFiles(benchmark::State& state, const std::string& dir) {
  auto codec = morva::NewIconvTextCodec();
  auto fs = morva::NewPosixFileSystem(codec.get());
  std::string engine_dir;
  if (!fs->FromHostPath(dir, &engine_dir).ok()) {
    state.SkipWithError("no engine path");
    return;
  }
  std::size_t count = 0;
  for (auto _ : state) {
    std::vector<morva::FindData> entries;
    std::size_t invisible = 0;
    if (!fs->FindFiles(engine_dir, "*.*", &entries, &invisible).ok()) {
      state.SkipWithError("FindFiles failed");
      return;
    }
    count = entries.size();
    benchmark::DoNotOptimize(entries.data());
  }
  state.counters["entries"] = static_cast<double>(count);
}

void BM_PlainReaddirStatx(benchmark::State& state, const std::string& dir) {
  std::size_t count = 0;
  for (auto _ : state) {
    std::vector<PlainEntry> entries;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) {
      state.SkipWithError("opendir failed");
      return;
    }
    while (struct dirent* e = readdir(d)) {
      if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
      struct statx st;
      if (statx(dirfd(d), e->d_name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) continue;
      PlainEntry& entry = entries.emplace_back();
      entry.name = e->d_name;
      entry.creation = FromStatx(st.stx_btime);
      entry.access = FromStatx(st.stx_atime);
      entry.write = FromStatx(st.stx_mtime);
    }
    closedir(d);
    count = entries.size();
    benchmark::DoNotOptimize(entries.data());
  }
  state.counters["entries"] = static_cast<double>(count);
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<bench::FileTree> tree = bench::InitializeWithFileTree(argc, argv);
  if (tree == nullptr) return 1;
  const std::string dir = tree->path();
  // Wall time is what a user waits for; the CPU column counts every thread of the process, as a large
  // listing shares its status calls with a second thread.
  benchmark::RegisterBenchmark("BM_FindFiles", [dir](benchmark::State& s) { BM_FindFiles(s, dir); })
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_PlainReaddirStatx",
                               [dir](benchmark::State& s) { BM_PlainReaddirStatx(s, dir); })
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
