#ifndef MORVA_BENCH_BENCH_SUPPORT_H_
#define MORVA_BENCH_BENCH_SUPPORT_H_

// What the benchmark programs share apart from the engine: their own command-line flags, the way the
// run benchmarks are registered, and the directories they work in.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

// Takes "--name=value" out of the arguments and returns the value; empty when the flag is absent.
std::string TakeFlag(int* argc, char** argv, const char* name);

// Takes our own flag --file_count=N (the directory size, `default_count` without it) out of the
// arguments and hands the rest to Google Benchmark.
int InitializeWithFileCount(int argc, char** argv, int default_count);

// Registers `function` as `name`, run `iterations` times and timed by the wall clock, in milliseconds:
// the time a person waits for, which a run spends partly in other threads and on the disk. The count is
// fixed because every iteration is long and changes the directory it works on (a large directory slows
// down as it is renamed over and over), so that runs meet it in a known state.
template <class Function>
benchmark::internal::Benchmark* RegisterWallTime(const std::string& name, int iterations, Function&& function) {
  return benchmark::RegisterBenchmark(name.c_str(), std::forward<Function>(function))
      ->Unit(benchmark::kMillisecond)
      ->Iterations(iterations)
      ->UseRealTime();
}

// The bytes malloc has handed out and not had back: the small blocks of the heap and the large ones it
// maps on their own (the lists of a large preview).
std::size_t HeapInUse();

// Reads the shooting date (DateTimeOriginal, or a container's own) of every file of `paths` (engine paths)
// in each iteration, as the date rule and the target list do; an error when a file gives none. Counts
// the files and the files per second.
void ReadShootingDates(benchmark::State& state, const std::vector<std::string>& paths);

// The names of the files of `dir` that end in `suffix` (".jpg"), sorted.
std::vector<std::string> FilesEndingIn(const std::string& dir, const char* suffix);

// The engine path ("Z:\tmp\...") of an ASCII host path, without asking a file system.
std::string EnginePath(const std::string& host);

// A new directory under /tmp, made from a mkdtemp template ("/tmp/name-XXXXXX"), removed with all it
// holds when the object goes. path() is empty, and stderr says so, when it could not be made.
class TempDirectory {
 public:
  explicit TempDirectory(const char* templ);
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  ~TempDirectory();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A directory of empty files "file%07d.txt" under /tmp, removed when the program ends.
class FileTree {
 public:
  // `count` files named "file0000000<infix>.txt" and on.
  explicit FileTree(int count, std::string_view infix = {});
  FileTree(const FileTree&) = delete;
  FileTree& operator=(const FileTree&) = delete;
  ~FileTree();

  // Renames every name from one form to the other; false at the first failure.
  bool RenameAll(bool to_upper) const;
  // Puts the lower-case names back, whichever form each has now.
  void Reset() const;

  const std::string& path() const { return path_; }
  std::size_t size() const { return lower_.size(); }
  // The directory's descriptor and the lower-case names, for loops that do without the engine.
  int fd() const { return fd_; }
  const std::vector<std::string>& names() const { return lower_; }

 private:
  std::string path_;
  int fd_ = -1;
  std::vector<std::string> lower_, upper_;
};

// Reads --file_count=N (100000 without it), hands the other arguments to Google Benchmark and makes a
// FileTree of N files. Null, said on stderr, when the directory cannot be made.
std::unique_ptr<FileTree> InitializeWithFileTree(int argc, char** argv);

}  // namespace bench

#endif  // MORVA_BENCH_BENCH_SUPPORT_H_
