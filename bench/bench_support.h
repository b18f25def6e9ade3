#ifndef MORVA_BENCH_BENCH_SUPPORT_H_
#define MORVA_BENCH_BENCH_SUPPORT_H_

// What the run benchmarks share: a user interface that stays out of the way, and a directory of many
// files whose names the benchmarks rename.

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/quiet_user_interface.h"

namespace bench {

// A user interface that answers Yes, never cancels and leaves the preview without a run.
class QuietUi : public morva::QuietUserInterface {
 public:
  QuietUi() : morva::QuietUserInterface(true) {}
};

// A directory of empty files "file%07d.txt" under /tmp, removed when the program ends.
class FileTree {
 public:
  explicit FileTree(int count) {
    char templ[] = "/tmp/morva-run-bench-XXXXXX";
    if (mkdtemp(templ) == nullptr) return;
    path_ = templ;
    fd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof(name), "file%07d.txt", i);
      lower_.emplace_back(name);
      std::memcpy(name, "FILE", 4);
      upper_.emplace_back(name);
      const int fd = openat(fd_, lower_.back().c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
      if (fd >= 0) close(fd);
    }
  }
  FileTree(const FileTree&) = delete;
  FileTree& operator=(const FileTree&) = delete;
  ~FileTree() {
    if (path_.empty()) return;
    for (std::size_t i = 0; i < lower_.size(); ++i) {
      unlinkat(fd_, lower_[i].c_str(), 0);
      unlinkat(fd_, upper_[i].c_str(), 0);
    }
    close(fd_);
    rmdir(path_.c_str());
  }

  // Renames every name from one form to the other; false at the first failure.
  bool RenameAll(bool to_upper) const {
    const std::vector<std::string>& from = to_upper ? lower_ : upper_;
    const std::vector<std::string>& to = to_upper ? upper_ : lower_;
    for (std::size_t i = 0; i < from.size(); ++i) {
      if (renameat2(fd_, from[i].c_str(), fd_, to[i].c_str(), RENAME_NOREPLACE) != 0) return false;
    }
    return true;
  }

  // Puts the lower-case names back, whichever form each has now.
  void Reset() const {
    for (std::size_t i = 0; i < lower_.size(); ++i) renameat2(fd_, upper_[i].c_str(), fd_, lower_[i].c_str(), RENAME_NOREPLACE);
  }

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

// Takes our own flag --file_count=N (the directory size, `default_count` without it) out of the
// arguments and hands the rest to Google Benchmark.
inline int InitializeWithFileCount(int argc, char** argv, int default_count) {
  int file_count = default_count;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file_count=", 13) == 0) {
      file_count = std::atoi(argv[i] + 13);
    } else {
      args.push_back(argv[i]);
    }
  }
  int args_count = static_cast<int>(args.size());
  benchmark::Initialize(&args_count, args.data());
  return file_count;
}

}  // namespace bench

#endif  // MORVA_BENCH_BENCH_SUPPORT_H_
