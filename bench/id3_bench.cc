// Reads the ID3 title of many MP3 files, as ID3-based naming does for every target: open, read both
// tags, take the title, close.
//
//   id3_bench [--file_count=N] [--mp3_dir=DIR]
//
// With --mp3_dir the files *.mp3 of DIR are read (bench/compare_id3_tools.sh fills one with copies of a
// file tagged by mid3v2 and times mid3v2 over the same files); otherwise N copies (10,000 by default) of
// a file tagged in code are made under /tmp and removed at the end.

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "media/id3_reader.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

std::string Synchsafe(std::uint32_t value) {
  std::string out;
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((value >> (7 * i)) & 0x7F));
  return out;
}

std::string Frame(const std::string& id, const std::string& payload) {
  return id + Synchsafe(static_cast<std::uint32_t>(payload.size())) + std::string(2, '\0') + payload;
}

// An MP3-like file as tagging tools leave it: an ID3v2.4 tag of UTF-8 frames with 1 KB of padding,
// 8 KB of audio frames, an ID3v1 block.
std::string TaggedMp3() {
  std::string body;
  body += Frame("TIT2", "\x03\xE6\x9B\xB2\xE5\x90\x8D Title of the song");
  body += Frame("TPE1", "\x03" "Artist Name");
  body += Frame("TRCK", "\x03" "3/12");
  body += Frame("TALB", "\x03" "Album Name");
  body += Frame("TDRC", "\x03" "2013");
  body += Frame("TCON", "\x03" "Rock");
  body += Frame("COMM", std::string("\x03" "eng\0A comment", 15));
  body.append(1024, '\0');
  std::string out = std::string("ID3\x04\0\0", 6) + Synchsafe(static_cast<std::uint32_t>(body.size())) + body;
  for (int i = 0; i < 20; ++i) {
    std::string frame("\xFF\xFB\x90\x64", 4);
    frame.resize(417, '\x55');
    out += frame;
  }
  std::string v1 = "TAG" + std::string("Title of the song");
  v1.resize(128, '\0');
  return out + v1;
}

// A directory of `count` copies of TaggedMp3(), removed when the object goes.
class Mp3Tree {
 public:
  explicit Mp3Tree(int count) {
    char templ[] = "/tmp/morva-id3-bench-XXXXXX";
    if (mkdtemp(templ) == nullptr) return;
    path_ = templ;
    const std::string data = TaggedMp3();
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof(name), "/song%05d.mp3", i);
      const std::string file = path_ + name;
      const int fd = open(file.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0) continue;
      const bool ok = write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
      close(fd);
      if (ok) files_.push_back(file);
    }
  }
  Mp3Tree(const Mp3Tree&) = delete;
  Mp3Tree& operator=(const Mp3Tree&) = delete;
  ~Mp3Tree() {
    for (const std::string& f : files_) unlink(f.c_str());
    if (!path_.empty()) rmdir(path_.c_str());
  }
  const std::vector<std::string>& files() const { return files_; }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

// The *.mp3 files of `dir`, sorted.
std::vector<std::string> ListMp3(const std::string& dir) {
  std::vector<std::string> files;
  std::unique_ptr<DIR, DirCloser> d(opendir(dir.c_str()));
  if (!d) return files;
  while (struct dirent* e = readdir(d.get())) {
    const std::size_t n = std::strlen(e->d_name);
    if (n > 4 && std::strcmp(e->d_name + n - 4, ".mp3") == 0) files.push_back(dir + "/" + e->d_name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

void BM_ReadTitles(benchmark::State& state, const std::vector<std::string>& host_files) {
  auto codec = morva::NewIconvTextCodec();
  auto fs = morva::NewPosixFileSystem(codec.get());
  std::vector<std::string> paths;
  for (const std::string& f : host_files) {
    if (!fs->FromHostPath(f, &paths.emplace_back()).ok()) {
      state.SkipWithError("no engine path");
      return;
    }
  }
  morva::Id3Reader reader(*fs, *codec);
  std::string title;
  for (auto _ : state) {
    for (const std::string& path : paths) {
      if (reader.Read(path, {}, false) == 0 || reader.GetItem(3, morva::kId3Title, false, &title) == 0) {
        state.SkipWithError("a file without a title");
        return;
      }
      benchmark::DoNotOptimize(title.data());
    }
  }
  state.counters["files"] = static_cast<double>(paths.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::string mp3_dir;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--mp3_dir=", 10) == 0) {
      mp3_dir = argv[i] + 10;
    } else {
      args.push_back(argv[i]);
    }
  }
  int args_count = static_cast<int>(args.size());
  const int file_count = bench::InitializeWithFileCount(args_count, args.data(), 10000);

  std::unique_ptr<Mp3Tree> tree;
  std::vector<std::string> files;
  if (mp3_dir.empty()) {
    tree = std::make_unique<Mp3Tree>(file_count);
    files = tree->files();
  } else {
    files = ListMp3(mp3_dir);
  }
  if (files.empty()) {
    std::fprintf(stderr, "no MP3 files to read\n");
    return 1;
  }
  benchmark::RegisterBenchmark("BM_ReadTitles", [&files](benchmark::State& s) { BM_ReadTitles(s, files); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
