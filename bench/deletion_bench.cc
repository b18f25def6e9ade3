// Deletion: overwriting a large file at level 3, and deleting many files into the trash, through the
// host layer. bench/compare_deletion_tools.sh sets them beside `shred -n 3 -z` and `gio trash`.
//
//   deletion_bench [--file_count=N] [--wipe_mib=M]
//
// The trash is one of the program's own: HOME and XDG_DATA_HOME point into a temporary directory under
// /tmp, where the files are too (GIO uses the home trash only for files of the home's file system).
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

// Removes a tree of this program's own (not through the code measured).
void RemoveAll(const std::string& path) {
  const std::string command = "rm -rf '" + path + "'";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", path.c_str());
}

// A file of `mib` MiB of written (not merely allocated) data, on the disk before the clock starts.
bool WriteFileOf(const std::string& path, int mib) {
  const int fd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::vector<char> block(1 << 20, 'x');
  bool ok = true;
  for (int i = 0; i < mib && ok; ++i) ok = write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size());
  ok = ok && fsync(fd) == 0;
  close(fd);
  return ok;
}

void BM_OverwriteLevel3(benchmark::State& state, morva::FileSystem* fs, const std::string* dir, int mib) {
  const std::string host = *dir + "/wipe.bin";
  for (auto _ : state) {
    state.PauseTiming();
    if (!WriteFileOf(host, mib)) state.SkipWithError("cannot write the file");
    state.ResumeTiming();
    if (!fs->Overwrite(bench::EnginePath(host), 3).ok()) state.SkipWithError("overwrite failed");
  }
  unlink(host.c_str());
  state.SetBytesProcessed(state.iterations() * (std::int64_t{mib} << 20));
}

void BM_TrashFiles(benchmark::State& state, morva::FileSystem* fs, const std::string* dir, const std::string* trash,
                   int count) {
  const std::string files = *dir + "/files";
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "/file%07d.txt", i);
    paths.push_back(files + name);
  }
  for (auto _ : state) {
    state.PauseTiming();
    mkdir(files.c_str(), 0755);
    for (const std::string& p : paths) {
      const int fd = open(p.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
      if (fd >= 0) close(fd);
    }
    state.ResumeTiming();
    for (const std::string& p : paths) {
      if (!fs->Trash(bench::EnginePath(p)).ok()) {
        state.SkipWithError("trash failed");
        break;
      }
    }
    state.PauseTiming();
    RemoveAll(*trash);
    RemoveAll(files);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string wipe = bench::TakeFlag(&argc, argv, "--wipe_mib");
  const int wipe_mib = wipe.empty() ? 256 : std::atoi(wipe.c_str());
  const int file_count = bench::InitializeWithFileCount(argc, argv, 10000);

  const bench::TempDirectory work("/tmp/morva-deletion-bench-XXXXXX");
  if (work.path().empty()) return 1;
  const std::string& dir = work.path();
  setenv("HOME", dir.c_str(), 1);
  setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
  const std::string trash = dir + "/data/Trash";

  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  bench::RegisterWallTime("BM_OverwriteLevel3", 3,
                          [&](benchmark::State& s) { BM_OverwriteLevel3(s, fs.get(), &dir, wipe_mib); });
  bench::RegisterWallTime("BM_TrashFiles", 3,
                          [&](benchmark::State& s) { BM_TrashFiles(s, fs.get(), &dir, &trash, file_count); });
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
