#include "bench_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "media/exif_reader.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace bench {

void ReadShootingDates(benchmark::State& state, const std::vector<std::string>& paths) {
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  morva::ExifReader reader(*fs);
  std::size_t dated = 0;
  for (auto _ : state) {
    reader.Clear();
    dated = 0;
    for (const std::string& path : paths) {
      if (reader.ReadDate(path, 2, 2, false, false) && !reader.result_text().empty()) ++dated;
    }
  }
  if (dated != paths.size()) state.SkipWithError("a file gave no shooting date");
  state.counters["files"] = static_cast<double>(paths.size());
  state.counters["files_per_s"] =
      benchmark::Counter(static_cast<double>(paths.size()), benchmark::Counter::kIsIterationInvariantRate);
}

std::string TakeFlag(int* argc, char** argv, const char* name) {
  const std::size_t len = std::strlen(name);
  std::string value;
  int kept = 0;
  for (int i = 0; i < *argc; ++i) {
    if (std::strncmp(argv[i], name, len) == 0 && argv[i][len] == '=') {
      value = argv[i] + len + 1;
    } else {
      argv[kept++] = argv[i];
    }
  }
  *argc = kept;
  return value;
}

int InitializeWithFileCount(int argc, char** argv, int default_count) {
  // A copy: the caller's argv may belong to someone else (QApplication keeps it).
  std::vector<char*> args(argv, argv + argc);
  int args_count = argc;
  const std::string count = TakeFlag(&args_count, args.data(), "--file_count");
  benchmark::Initialize(&args_count, args.data());
  return count.empty() ? default_count : std::atoi(count.c_str());
}

std::vector<std::string> FilesEndingIn(const std::string& dir, const char* suffix) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return names;
  const std::size_t suffix_len = std::strlen(suffix);
  while (const dirent* e = readdir(d)) {
    const std::size_t len = std::strlen(e->d_name);
    if (len > suffix_len && std::strcmp(e->d_name + len - suffix_len, suffix) == 0) names.emplace_back(e->d_name);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

std::string EnginePath(const std::string& host) {
  std::string out = "Z:";
  for (char c : host) out.push_back(c == '/' ? '\\' : c);
  return out;
}

TempDirectory::TempDirectory(const char* templ) {
  std::string name = templ;
  if (mkdtemp(name.data()) != nullptr) {
    path_ = name;
  } else {
    std::fprintf(stderr, "cannot create %s\n", templ);
  }
}

TempDirectory::~TempDirectory() {
  if (path_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(path_, error);
  if (error) std::fprintf(stderr, "could not remove %s: %s\n", path_.c_str(), error.message().c_str());
}

FileTree::FileTree(int count, std::string_view infix) {
  char templ[] = "/tmp/morva-run-bench-XXXXXX";
  if (mkdtemp(templ) == nullptr) return;
  path_ = templ;
  fd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int i = 0; i < count; ++i) {
    char number[16];
    std::snprintf(number, sizeof(number), "%07d", i);
    const std::string rest = number + std::string(infix) + ".txt";
    lower_.emplace_back("file" + rest);
    upper_.emplace_back("FILE" + rest);
    const int fd = openat(fd_, lower_.back().c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) close(fd);
  }
}

FileTree::~FileTree() {
  if (path_.empty()) return;
  for (std::size_t i = 0; i < lower_.size(); ++i) {
    unlinkat(fd_, lower_[i].c_str(), 0);
    unlinkat(fd_, upper_[i].c_str(), 0);
  }
  close(fd_);
  rmdir(path_.c_str());
}

bool FileTree::RenameAll(bool to_upper) const {
  const std::vector<std::string>& from = to_upper ? lower_ : upper_;
  const std::vector<std::string>& to = to_upper ? upper_ : lower_;
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (renameat2(fd_, from[i].c_str(), fd_, to[i].c_str(), RENAME_NOREPLACE) != 0) return false;
  }
  return true;
}

void FileTree::Reset() const {
  for (std::size_t i = 0; i < lower_.size(); ++i) renameat2(fd_, upper_[i].c_str(), fd_, lower_[i].c_str(), RENAME_NOREPLACE);
}

std::unique_ptr<FileTree> InitializeWithFileTree(int argc, char** argv) {
  const int file_count = InitializeWithFileCount(argc, argv, 100000);
  auto tree = std::make_unique<FileTree>(file_count);
  if (tree->path().empty()) {
    std::fprintf(stderr, "cannot create the test directory\n");
    return nullptr;
  }
  return tree;
}

}  // namespace bench
