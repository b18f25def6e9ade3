// Reading the shooting date from a directory of mixed photos and movies (HEIC, MP4, DNG, JPEG; 10,000
// by default) with ExifReader, and the tags of a directory of FLAC and M4A files with Id3Reader, the way
// a date-named or tag-named run over a folder asks for them.
//
//   media_bench [--file_count=N] [--populate_photos=DIR] [--populate_music=DIR]
//
// --populate_photos: only write N mixed photos and movies into DIR and stop (a quarter of each kind).
// --populate_music:  only write N music files into DIR and stop (half FLAC, half M4A).
// The files are built here: a HEIC with its Exif item after the meta box and 16 KiB of image data, an
// MP4 with its movie box after 16 KiB of media data and a QuickTime creation date, a DNG of IFD0, the
// Exif IFD and 16 KiB of image data, a JPEG of 8 KiB of image data; FLAC and M4A files with seven tags
// and 16 KiB of audio.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/common/jpeg_builder.h"
#include "../tests/common/media_builder.h"
#include "bench_support.h"
#include "media/id3_reader.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

using morva::testing::JpegContents;

constexpr std::size_t kPayload = 16 * 1024;

struct Sample {
  const char* suffix;
  std::string bytes;
};

std::vector<Sample> Photos() {
  JpegContents contents;
  contents.make = "MORVA";
  contents.model = "M-1 Mark II";
  contents.date_time = "2014:01:02 03:04:05";
  contents.date_time_original = "2013:05:04 13:02:09";
  contents.date_time_digitized = "2013:05:04 13:02:09";
  contents.pixel_x = 6000;
  contents.pixel_y = 4000;
  const std::string tiff = morva::testing::BuildExifTiff(contents);
  std::string heic = morva::testing::BuildHeic(tiff, false);
  heic += morva::testing::IsoBox("free", std::string(kPayload, '\x33'));
  morva::testing::MovieContents movie;
  movie.brand = "mp42";
  movie.moov_last = true;
  movie.created = movie.modified = morva::testing::MovieTime(1685655000);
  movie.creation_date = "2023-06-01T23:30:00+0200";
  std::string mp4 = morva::testing::BuildMovie(movie);
  mp4.insert(mp4.find("mdat") - 4, morva::testing::IsoBox("free", std::string(kPayload, '\x44')));
  JpegContents jpeg = contents;
  jpeg.image_data_bytes = 8192;
  return {{".heic", heic}, {".mp4", mp4}, {".dng", tiff + std::string(kPayload, '\x55')},
          {".jpg", morva::testing::BuildJpeg(jpeg)}};
}

std::vector<Sample> Music() {
  const std::vector<std::string> comments = {"TITLE=Song title",   "ARTIST=The Artist", "ALBUM=The Album",
                                             "DATE=2019-05-01",    "TRACKNUMBER=3/12",  "COMMENT=a comment",
                                             "GENRE=Jazz"};
  const std::string m4a = morva::testing::BuildTaggedM4a({{"\xA9nam", "Song title"},
                                                           {"\xA9" "ART", "The Artist"},
                                                           {"\xA9" "alb", "The Album"},
                                                           {"\xA9" "day", "2019-05-01"},
                                                           {"\xA9" "cmt", "a comment"},
                                                           {"\xA9" "gen", "Jazz"}},
                                                          3);
  return {{".flac", morva::testing::BuildFlac(comments) + std::string(kPayload, '\x66')},
          {".m4a", m4a + morva::testing::IsoBox("free", std::string(kPayload, '\x77'))}};
}

bool Populate(const std::string& dir, const std::vector<Sample>& samples, int count, std::vector<std::string>* paths) {
  for (int i = 0; i < count; ++i) {
    const Sample& sample = samples[static_cast<std::size_t>(i) % samples.size()];
    char name[32];
    std::snprintf(name, sizeof(name), "f%05d%s", i, sample.suffix);
    const std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(sample.bytes.data(), 1, sample.bytes.size(), f) == sample.bytes.size();
    if (std::fclose(f) != 0 || !ok) return false;
    if (paths != nullptr) paths->push_back(bench::EnginePath(path));
  }
  return true;
}

void BM_MusicTags(benchmark::State& state, const std::vector<std::string>* paths) {
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  morva::Id3Reader reader(*fs, *codec);
  std::size_t tagged = 0;
  std::string title;
  for (auto _ : state) {
    tagged = 0;
    for (const std::string& path : *paths) {
      const int versions = reader.Read(path, morva::Id3ReadOptions{}, false);
      if (reader.GetItem(versions, morva::kId3Title, false, &title) != 0) ++tagged;
    }
  }
  if (tagged != paths->size()) state.SkipWithError("a file gave no title");
  state.counters["files_per_s"] =
      benchmark::Counter(static_cast<double>(paths->size()), benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string populate_photos = bench::TakeFlag(&argc, argv, "--populate_photos");
  const std::string populate_music = bench::TakeFlag(&argc, argv, "--populate_music");
  const int file_count = bench::InitializeWithFileCount(argc, argv, 10000);
  if (!populate_photos.empty()) return Populate(populate_photos, Photos(), file_count, nullptr) ? 0 : 1;
  if (!populate_music.empty()) return Populate(populate_music, Music(), file_count, nullptr) ? 0 : 1;

  bench::TempDirectory photo_dir("/tmp/morva-media-bench-XXXXXX"), music_dir("/tmp/morva-media-bench-XXXXXX");
  std::vector<std::string> photos, music;
  if (photo_dir.path().empty() || music_dir.path().empty() ||
      !Populate(photo_dir.path(), Photos(), file_count, &photos) ||
      !Populate(music_dir.path(), Music(), file_count, &music)) {
    return 1;
  }
  benchmark::RegisterBenchmark("BM_MixedDates", [&photos](benchmark::State& s) { bench::ReadShootingDates(s, photos); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_MusicTags", [&music](benchmark::State& s) { BM_MusicTags(s, &music); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
