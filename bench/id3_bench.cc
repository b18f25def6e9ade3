// Reads the ID3 title of many MP3 files, as ID3-based naming does for every target: open, read both
// tags, take the title, close.
//
//   id3_bench [--file_count=N] [--mp3_dir=DIR]
//
// With --mp3_dir the files *.mp3 of DIR are read (bench/compare_id3_tools.sh fills one with copies of a
// file tagged by mid3v2 and times mid3v2 over the same files); otherwise N copies (10,000 by default) of
// a file tagged in code are made under /tmp and removed at the end.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/common/mp3_builder.h"
#include "bench_support.h"
#include "media/id3_reader.h"
#include "mp3_files.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

// An MP3-like file as tagging tools leave it: an ID3v2.4 tag of UTF-8 frames with 1 KB of padding,
// 8 KB of audio frames, an ID3v1 block.
std::string TaggedMp3() {
  morva::testing::Mp3Contents contents;
  contents.v2_version = 4;
  contents.frames = {{"TIT2", 3, "\xE6\x9B\xB2\xE5\x90\x8D Title of the song"},
                     {"TPE1", 3, "Artist Name"},
                     {"TRCK", 3, "3/12"},
                     {"TALB", 3, "Album Name"},
                     {"TDRC", 3, "2013"},
                     {"TCON", 3, "Rock"},
                     {"COMM", 3, std::string("eng\0A comment\0", 14)}};
  contents.padding = 1024;
  std::string out = morva::testing::BuildId3v2(contents);
  for (int i = 0; i < 20; ++i) {
    std::string frame("\xFF\xFB\x90\x64", 4);
    frame.resize(417, '\x55');
    out += frame;
  }
  std::string v1 = "TAG" + std::string("Title of the song");
  v1.resize(128, '\0');
  return out + v1;
}

void BM_ReadTitles(benchmark::State& state, const std::vector<std::string>& host_files) {
  auto codec = morva::NewIconvTextCodec();
  auto fs = morva::NewPosixFileSystem(codec.get());
  std::vector<std::string> paths;
  if (!bench::ToEnginePaths(*fs, host_files, &paths)) {
    state.SkipWithError("no engine path");
    return;
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
  const bench::Mp3Files mp3_files =
      bench::InitializeWithMp3Files(argc, argv, 10000, "/tmp/morva-id3-bench-XXXXXX", TaggedMp3);
  const std::vector<std::string>& files = mp3_files.paths();
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
