#ifndef MORVA_BENCH_MP3_FILES_H_
#define MORVA_BENCH_MP3_FILES_H_

// The MP3 files the ID3 benchmarks read and write.

#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/file_system.h"

namespace bench {

// The files as host paths: the *.mp3 of a directory given on the command line, left as they are, or
// copies of one file in a directory of the object's own under /tmp, removed with it.
class Mp3Files {
 public:
  // The *.mp3 files of `dir`, sorted by name.
  explicit Mp3Files(const std::string& dir);
  // `count` copies of `data`, song00000.mp3 and on, in a directory made from the mkdtemp template `templ`.
  Mp3Files(const char* templ, int count, const std::string& data);

  const std::vector<std::string>& paths() const { return paths_; }
  // Whether the files are copies of the object's own rather than those of a directory given.
  bool made() const { return own_ != nullptr; }

 private:
  std::unique_ptr<TempDirectory> own_;
  std::vector<std::string> paths_;
};

// Takes --mp3_dir=DIR and --file_count=N (`default_count` without it) out of the arguments and hands the
// rest to Google Benchmark. The files are those of DIR, or else N copies of `make_data()` in a directory
// made from `templ`.
Mp3Files InitializeWithMp3Files(int argc, char** argv, int default_count, const char* templ,
                                std::string (*make_data)());

// The engine paths of `host_paths`, in order; false at the first that has none.
bool ToEnginePaths(morva::FileSystem& fs, const std::vector<std::string>& host_paths,
                   std::vector<std::string>* engine_paths);

}  // namespace bench

#endif  // MORVA_BENCH_MP3_FILES_H_
