// Sets the title and artist of many MP3 files of 4 MB whose tags have room in their padding, as an ID3
// job does for an album: for each file a safety copy, the tag changed in place, the file flushed to the
// disk (with those of up to 63 others where the copies share the files' blocks), the copy removed.
//
//   id3_write_bench [--file_count=N] [--mp3_dir=DIR]
//
// With --mp3_dir the files *.mp3 of DIR are written once each (bench/compare_id3_write.sh fills one with
// files tagged by mid3v2 and times mid3v2 over the same files); otherwise N copies (200 by default) of a
// file tagged in code are made under /tmp, written over and over, and removed at the end.

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/common/mp3_builder.h"
#include "bench_support.h"
#include "media/id3_writer.h"
#include "mp3_files.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

constexpr std::size_t kAudioBytes = std::size_t{4} << 20;
constexpr std::size_t kBatchSize = 64;  // as conversion_run.cc

// An ID3v2.4 tag of UTF-8 frames with 1 KB of padding, as mid3v2 leaves one, before 4 MB of audio.
std::string TaggedMp3() {
  morva::testing::Mp3Contents contents;
  contents.v2_version = 4;
  contents.frames = {{"TIT2", 3, "Old title of the song"}, {"TPE1", 3, "Old artist"}, {"TALB", 3, "Album Name"}};
  contents.padding = 1024;
  std::mt19937 random(7);
  std::string audio(kAudioBytes, '\0');
  for (char& c : audio) c = static_cast<char>(random());
  return morva::testing::BuildId3v2(contents) + audio;
}

void BM_WriteTitleAndArtist(benchmark::State& state, const std::vector<std::string>& host_files) {
  auto codec = morva::NewIconvTextCodec();
  auto fs = morva::NewPosixFileSystem(codec.get());
  std::vector<std::string> paths;
  if (!bench::ToEnginePaths(*fs, host_files, &paths)) {
    state.SkipWithError("no engine path");
    return;
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
      if (morva::WriteId3(*fs, *codec, path, morva::kId3ChangeV2, items, {}, &pending) != morva::kId3Written) failed = true;
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
  const bench::Mp3Files mp3_files =
      bench::InitializeWithMp3Files(argc, argv, 200, "/tmp/morva-id3-write-bench-XXXXXX", TaggedMp3);
  const std::vector<std::string>& files = mp3_files.paths();
  if (files.empty()) {
    std::fprintf(stderr, "no MP3 files to write\n");
    return 1;
  }
  auto* b = benchmark::RegisterBenchmark("BM_WriteTitleAndArtist",
                                         [&files](benchmark::State& s) { BM_WriteTitleAndArtist(s, files); })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
  // mid3v2 writes each file once: so does the comparison.
  if (!mp3_files.made()) b->Iterations(1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
