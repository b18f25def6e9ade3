// The shooting date of every container the Exif reader reads besides JPEG, from files built here or
// written by exiftool, checked against fixed values and against what `exiftool -j` reads from the same
// file. Runs in the zone JST-9, where a movie's UTC creation time of the evening is the next morning.

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/jpeg_builder.h"
#include "common/media_builder.h"
#include "common/test_util.h"
#include "media/exif_reader.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::EnginePath;
using testing::JpegContents;
using testing::MovieContents;
using testing::MovieTime;

std::optional<std::string> RunTool(const std::string& command) {
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), &pclose);
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
  if (pclose(pipe.release()) != 0) return std::nullopt;
  return out;
}

// The first 19 bytes of the value of `key` in exiftool's JSON (its date without a zone), or empty.
std::string JsonDate(const std::string& json, const std::string& key) {
  const std::string mark = "\"" + key + "\": \"";
  const std::size_t at = json.find(mark);
  if (at == std::string::npos) return {};
  return json.substr(at + mark.size(), 19);
}

JpegContents ThreeDates() {
  JpegContents c;
  c.make = "MORVA";
  c.date_time = "2020:01:02 03:04:05";
  c.date_time_original = "2019:12:31 23:59:59";
  c.date_time_digitized = "2019:12:31 23:59:58";
  return c;
}

// A TIFF file whose Exif IFD lies past the first 64 KiB, as raw files with a large IFD0 have it.
std::string FarExifTiff() {
  using namespace testing::jpeg_builder_internal;
  constexpr std::uint32_t kFar = 70000;
  std::string tiff("II*\0", 4);
  Put32(&tiff, 8, false);
  AppendIfd(&tiff, {testing::AsciiEntry(0x010F, "Far Maker"), testing::NumberEntry(0x8769, kFar, false)}, false);
  tiff.resize(kFar, '\0');
  AppendIfd(&tiff, {testing::AsciiEntry(0x9003, "2018:07:08 09:10:11")}, false);
  return tiff;
}

struct DateCase {
  const char* name;
  std::string bytes;
  std::string exiftool_writes;  // arguments for exiftool to write before reading, or empty
  // The three dates (DateTime, DateTimeOriginal, DateTimeDigitized) as Exif text, empty when absent.
  std::string dates[3];
  // exiftool 12 does not read an Exif item stored inside the meta box (construction method 1).
  bool exiftool_reads = true;
};

class MediaDatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    ASSERT_TRUE(RunTool("exiftool -ver")) << "exiftool is installed by scripts/install-deps.sh";
    const char* tz = getenv("TZ");
    if (tz != nullptr) saved_tz_ = tz;
    setenv("TZ", "JST-9", 1);
    tzset();
  }
  void TearDown() override {
    if (saved_tz_) {
      setenv("TZ", saved_tz_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

  testing::TempDir dir_;
  std::unique_ptr<TextCodec> codec_ = NewIconvTextCodec();
  std::unique_ptr<FileSystem> fs_ = NewPosixFileSystem(codec_.get());
  std::optional<std::string> saved_tz_;
};

TEST_F(MediaDatesTest, EveryContainerGivesTheDatesExiftoolReads) {
  const std::string tiff = testing::BuildExifTiff(ThreeDates());
  const std::string kThree[3] = {"2020:01:02 03:04:05", "2019:12:31 23:59:59", "2019:12:31 23:59:58"};
  const std::string kWritten = "-ModifyDate='2021:02:03 04:05:06' -DateTimeOriginal='2021:02:03 04:05:07' "
                               "-CreateDate='2021:02:03 04:05:08'";
  const std::string kWrittenDates[3] = {"2021:02:03 04:05:06", "2021:02:03 04:05:07", "2021:02:03 04:05:08"};
  JpegContents motorola = ThreeDates();
  motorola.big_endian = true;
  std::string olympus = testing::BuildExifTiff(motorola);
  olympus.replace(0, 4, "MMOR");

  MovieContents evening;  // 20:00 UTC is 05:00 the next day in Tokyo; 14:59:59 UTC is 23:59:59
  evening.created = MovieTime(1614888000);   // 2021-03-04 20:00:00 UTC
  evening.modified = MovieTime(1614869999);  // 2021-03-04 14:59:59 UTC
  MovieContents phone;
  phone.brand = "mp42";
  phone.wide_times = true;
  phone.moov_last = true;
  phone.created = MovieTime(1685655000);  // 2023-06-01 21:30:00 UTC
  phone.modified = MovieTime(1685655000);
  phone.creation_date = "2023-06-01T23:30:00+0200";
  MovieContents unset;
  MovieContents song = evening;
  song.brand = "M4A ";

  const std::vector<DateCase> cases = {
      {"raw.dng", tiff, "", {kThree[0], kThree[1], kThree[2]}},
      {"olympus.orf", olympus, "", {kThree[0], kThree[1], kThree[2]}},
      {"far.nef", FarExifTiff(), "", {"", "2018:07:08 09:10:11", ""}},
      {"mdat.heic", testing::BuildHeic(tiff, false), "", {kThree[0], kThree[1], kThree[2]}},
      {"idat.heic", testing::BuildHeic(tiff, true), "", {kThree[0], kThree[1], kThree[2]}, false},
      {"after.png", testing::BuildPng(tiff, true), "", {kThree[0], kThree[1], kThree[2]}},
      {"written.png", testing::BuildPng("", false), kWritten, {kWrittenDates[0], kWrittenDates[1], kWrittenDates[2]}},
      {"shot.webp", testing::BuildWebp(tiff), "", {kThree[0], kThree[1], kThree[2]}},
      {"evening.mov", testing::BuildMovie(evening), "",
       {"2021:03:04 23:59:59", "2021:03:05 05:00:00", "2021:03:05 05:00:00"}},
      {"phone.mp4", testing::BuildMovie(phone), "",
       {"2023:06:02 06:30:00", "2023:06:01 23:30:00", "2023:06:02 06:30:00"}},
      {"unset.mov", testing::BuildMovie(unset), "", {"", "", ""}},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir_ / c.name;
    testing::WriteFile(file, c.bytes);
    if (!c.exiftool_writes.empty()) {
      ASSERT_TRUE(RunTool("exiftool -q -overwrite_original " + c.exiftool_writes + " '" + file + "'"));
    }
    const std::optional<std::string> json = RunTool("exiftool -j -api QuickTimeUTC=1 '" + file + "'");
    ASSERT_TRUE(json);
    const bool movie = c.bytes.find("moov") != std::string::npos;
    const std::string tool[3] = {
        JsonDate(*json, "ModifyDate"),
        !movie                                  ? JsonDate(*json, "DateTimeOriginal")
        : JsonDate(*json, "CreationDate").empty() ? JsonDate(*json, "CreateDate")
                                                  : JsonDate(*json, "CreationDate"),
        JsonDate(*json, "CreateDate")};
    ExifReader reader(*fs_);
    for (int kind = 1; kind <= 3; ++kind) {
      SCOPED_TRACE(kind);
      reader.Clear();
      const bool found = reader.ReadDate(EnginePath(codec_.get(), file), kind, 2, false, false);
      EXPECT_EQ(reader.result_text(), c.dates[kind - 1]);
      EXPECT_EQ(found, !(c.dates[0] + c.dates[1] + c.dates[2]).empty());
      // exiftool shows an unset movie time as its zero point, 1904-01-01 UTC.
      if (c.exiftool_reads) {
        EXPECT_EQ(tool[kind - 1].starts_with("1904:01:01") ? "" : tool[kind - 1], c.dates[kind - 1]);
      }
    }
  }
  // MP4 audio has no shooting date, whatever its movie header says.
  testing::WriteFile(dir_ / "song.m4a", testing::BuildMovie(song));
  ExifReader reader(*fs_);
  EXPECT_FALSE(reader.ReadDate(EnginePath(codec_.get(), dir_ / "song.m4a"), 2, 2, true, false));
}

}  // namespace
}  // namespace morva
