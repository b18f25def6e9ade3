// Sets the title and artist of many MP3 files of 4 MB whose tags have room in their padding, as an ID3
// job does for an album: for each file a safety copy, the tag changed in place, the file flushed to the
// disk (with those of up to 63 others where the copies share the files' blocks), the copy removed.
//
//   id3_write_bench [--file_count=N] [--mp3_dir=DIR]
//
// With --mp3_dir the files *.mp3 of DIR are written once each (bench/compare_id3_write.sh fills one with
// files tagged by mid3v2 and times mid3v2 over the same files); otherwise N copies (200 by default) of a
// file tagged in code are made under /tmp, written over and over, and removed at the end.

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "media/id3_writer.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

constexpr std::size_t kAudioBytes = std::size_t{4} << 20;
constexpr std::size_t kBatchSize = 64;  // as conversion_run.cc

std::string Synchsafe(std::uint32_t value) {
  std::string out;
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((value >> (7 * i)) & 0x7F));
  return out;
}

std::string Frame(const std::string& id, const std::string& payload) {
  return id + Synchsafe(static_cast<std::uint32_t>(payload.size())) + std::string(2, '\0') + payload;
}

// An ID3v2.4 tag of UTF-8 frames with 1 KB of padding, as mid3v2 leaves one, before 4 MB of audio.
std::string TaggedMp3() {
  std::string body;
  body += Frame("TIT2", "\x03" "Old title of the song");
  body += Frame("TPE1", "\x03" "Old artist");
  body += Frame("TALB", "\x03" "Album Name");
  body.append(1024, '\0');
  std::string out = std::string("ID3\x04\0\0", 6) + Synchsafe(static_cast<std::uint32_t>(body.size())) + body;
  std::mt19937 random(7);
  std::string audio(kAudioBytes, '\0');
  for (char& c : audio) c = static_cast<char>(random());
  return out + audio;
}

class Mp3Tree {
 public:
  explicit Mp3Tree(int count) {
    char templ[] = "/tmp/morva-id3-write-bench-XXXXXX";
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

void BM_WriteTitleAndArtist(benchmark::State& state, const std::vector<std::string>& host_files) {
  auto codec = morva::NewIconvTextCodec();
  auto fs = morva::NewPosixFileSystem(codec.get());
  std::vector<std::string> paths;
  for (const std::string& f : host_files) {
    if (!fs->FromHostPath(f, &paths.emplace_back()).ok()) {
      state.SkipWithError("no engine path");
      return;
    }
  }
  // Two titles of one length, so that every pass is a change that the padding absorbs.
  const char* const titles[2] = {"New title A", "New title B"};
  int pass = 0;
  for (auto _ : state) {
    morva::Id3Items items;
    items[morva::kWriteTitle] = titles[pass++ % 2];
    items[morva::kWriteArtist] = "New artist";
    // As a run does: where the safety copies share the files' blocks, the writes of up to 64 files
    // share one flush.
    std::vector<std::unique_ptr<morva::Id3PendingWrite>> batch;
    bool failed = false;
    auto finish = [&batch, &failed] {
      std::vector<morva::Id3PendingWrite*> writes;
      for (auto& w : batch) writes.push_back(w.get());
      for (int result : morva::FinishId3Writes(writes)) failed = failed || result != morva::kId3Written;
      batch.clear();
    };
    for (const std::string& path : paths) {
      std::unique_ptr<morva::Id3PendingWrite> pending;
      if (morva::WriteId3(*fs, path, morva::kId3ChangeV2, items, {}, &pending) != morva::kId3Written) failed = true;
      if (pending) batch.push_back(std::move(pending));
      if (batch.size() >= kBatchSize) finish();
    }
    finish();
    if (failed) {
      state.SkipWithError("a write failed");
      return;
    }
  }
  state.counters["files"] = static_cast<double>(paths.size());
  state.counters["per_file"] = benchmark::Counter(static_cast<double>(paths.size()),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
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
  const int file_count = bench::InitializeWithFileCount(args_count, args.data(), 200);

  std::unique_ptr<Mp3Tree> tree;
  std::vector<std::string> files;
  if (mp3_dir.empty()) {
    tree = std::make_unique<Mp3Tree>(file_count);
    files = tree->files();
  } else {
    files = ListMp3(mp3_dir);
  }
  if (files.empty()) {
    std::fprintf(stderr, "no MP3 files to write\n");
    return 1;
  }
  auto* b = benchmark::RegisterBenchmark("BM_WriteTitleAndArtist",
                                         [&files](benchmark::State& s) { BM_WriteTitleAndArtist(s, files); })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
  // mid3v2 writes each file once: so does the comparison.
  if (!mp3_dir.empty()) b->Iterations(1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
