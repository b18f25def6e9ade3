// Reading DateTimeOriginal from a directory of JPEG files (10,000 by default) with ExifReader, the way a
// date-named run over a folder of photos asks for it, and the parse of one file held in memory.
//
//   exif_bench [--file_count=N] [--template=FILE] [--dir=DIR] [--populate=DIR] [--write_plain=FILE]
//
// --template: the bytes every file gets (an exiftool-written photo, say); without it a built-in JPEG
//             with IFD0, the Exif IFD and 8 KiB of image data.
// --dir:      read the *.jpg files already in DIR instead of making a temporary directory.
// --populate: only write N copies of the template into DIR (img00000.jpg ...) and stop.
// --write_plain: only write a JPEG without Exif data to FILE (for a tool to add tags to) and stop.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/common/jpeg_builder.h"
#include "bench_support.h"
#include "media/exif_reader.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

namespace {

using morva::testing::JpegContents;

std::string BuiltInPhoto() {
  JpegContents contents;
  contents.make = "MORVA";
  contents.model = "M-1 Mark II";
  contents.software = "firmware 1.02";
  contents.date_time = "2014:01:02 03:04:05";
  contents.date_time_original = "2013:05:04 13:02:09";
  contents.date_time_digitized = "2013:05:04 13:02:09";
  contents.pixel_x = 6000;
  contents.pixel_y = 4000;
  contents.image_data_bytes = 8192;
  return morva::testing::BuildJpeg(contents);
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool ReadAll(const std::string& path, std::string* bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  char buffer[65536];
  while (std::size_t n = std::fread(buffer, 1, sizeof(buffer), f)) bytes->append(buffer, n);
  std::fclose(f);
  return true;
}

bool Populate(const std::string& dir, const std::string& bytes, int count, std::vector<std::string>* names) {
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "img%05d.jpg", i);
    if (!WriteAll(dir + "/" + name, bytes)) return false;
    if (names != nullptr) names->emplace_back(name);
  }
  return true;
}

void BM_ParseInMemory(benchmark::State& state, const std::string* bytes) {
  morva::MemoryReadableFile file(*bytes);
  for (auto _ : state) {
    morva::ExifParse parse = morva::ParseJpegExif(file, morva::kExifDateTimeOriginal, false);
    benchmark::DoNotOptimize(parse);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string template_path = bench::TakeFlag(&argc, argv, "--template");
  const std::string dir_flag = bench::TakeFlag(&argc, argv, "--dir");
  const std::string populate = bench::TakeFlag(&argc, argv, "--populate");
  const std::string write_plain = bench::TakeFlag(&argc, argv, "--write_plain");
  const int file_count = bench::InitializeWithFileCount(argc, argv, 10000);

  if (!write_plain.empty()) {
    JpegContents plain;
    plain.exif = false;
    plain.image_data_bytes = 8192;
    return WriteAll(write_plain, morva::testing::BuildJpeg(plain)) ? 0 : 1;
  }
  std::string photo;
  if (template_path.empty()) {
    photo = BuiltInPhoto();
  } else if (!ReadAll(template_path, &photo)) {
    std::fprintf(stderr, "cannot read %s\n", template_path.c_str());
    return 1;
  }
  if (!populate.empty()) return Populate(populate, photo, file_count, nullptr) ? 0 : 1;

  std::string dir = dir_flag;
  std::vector<std::string> names;
  std::unique_ptr<bench::TempDirectory> own_dir;
  if (dir.empty()) {
    own_dir = std::make_unique<bench::TempDirectory>("/tmp/morva-exif-bench-XXXXXX");
    dir = own_dir->path();
    if (dir.empty() || !Populate(dir, photo, file_count, &names)) return 1;
  } else {
    names = bench::FilesEndingIn(dir, ".jpg");
  }
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(bench::EnginePath(dir + "/" + name));

  benchmark::RegisterBenchmark("BM_ReadDateOriginal", [&paths](benchmark::State& s) { bench::ReadShootingDates(s, paths); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_ParseInMemory", [&photo](benchmark::State& s) { BM_ParseInMemory(s, &photo); });
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
