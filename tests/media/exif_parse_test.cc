// ParseJpegExif on bytes built in memory: the values, both byte orders, and malformed input.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/jpeg_builder.h"
#include "media/exif_reader.h"
#include "platform/memory_file.h"

namespace morva {
namespace {

using testing::AsciiEntry;
using testing::BuildJpeg;
using testing::BuildJpegWithApp1;
using testing::BuildTiff;
using testing::ExifPayload;
using testing::RawIfdEntry;
using testing::JpegSegment;
using testing::JpegContents;

ExifParse Parse(const std::string& bytes, ExifDateKind which = kExifDateTimeOriginal, bool probe = false) {
  MemoryReadableFile file(bytes);
  return ParseJpegExif(file, which, probe);
}

std::string Le32(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return s;
}

// A JPEG whose Exif segment holds a little-endian TIFF block with exactly these entries.
std::string JpegWithIfd0(const std::vector<RawIfdEntry>& ifd0, const std::vector<RawIfdEntry>& exif = {}) {
  return BuildJpegWithApp1(JpegContents{}, ExifPayload(BuildTiff(false, ifd0, exif)));
}

JpegContents FullContents(bool big_endian) {
  JpegContents contents;
  contents.big_endian = big_endian;
  contents.image_description = "harbour";
  contents.make = "MORVA";
  contents.model = "M-1";
  contents.software = "fw 1.2";
  contents.artist = "A";  // short enough to sit inside its entry
  contents.date_time = "2014:01:02 03:04:05";
  contents.date_time_original = "2013:05:04 13:02:09";
  contents.date_time_digitized = "2013-05-04 13:02:10";
  contents.pixel_x = 4000;   // SHORT: left-justified inside the entry in either byte order
  contents.pixel_y = 70000;  // LONG
  return contents;
}

TEST(ExifParseTest, BothByteOrdersGiveEveryValue) {
  for (bool big_endian : {false, true}) {
    SCOPED_TRACE(big_endian ? "MM" : "II");
    const std::string jpeg = BuildJpeg(FullContents(big_endian));
    const ExifParse p = Parse(jpeg);
    ASSERT_TRUE(p.has_exif);
    const ExifValues& v = p.values;
    EXPECT_TRUE(v.found);
    EXPECT_EQ(v.image_description, "harbour");
    EXPECT_EQ(v.make, "MORVA");
    EXPECT_EQ(v.model, "M-1");
    EXPECT_EQ(v.software, "fw 1.2");
    EXPECT_EQ(v.artist, "A");
    EXPECT_EQ(v.date_time, "20140102030405");
    EXPECT_EQ(v.date_time_original, "20130504130209");
    EXPECT_EQ(v.date_time_digitized, "20130504130210");
    EXPECT_EQ(v.pixel_x, "4000");
    EXPECT_EQ(v.pixel_y, "70000");
    // The requested date comes exactly as stored, separators included.
    EXPECT_EQ(p.date_text, "2013:05:04 13:02:09");
    EXPECT_EQ(Parse(jpeg, kExifDateTime).date_text, "2014:01:02 03:04:05");
    EXPECT_EQ(Parse(jpeg, kExifDateTimeDigitized).date_text, "2013-05-04 13:02:10");
    EXPECT_EQ(Parse(jpeg, static_cast<ExifDateKind>(4)).date_text, "");

    const ExifParse probe = Parse(jpeg, kExifDateTimeOriginal, true);
    EXPECT_TRUE(probe.has_exif);
    EXPECT_FALSE(probe.values.found);
    EXPECT_FALSE(probe.values.make.has_value());
    EXPECT_EQ(probe.date_text, "");
  }
}

TEST(ExifParseTest, OnlyTheFirstApp1SegmentCounts) {
  JpegContents contents = FullContents(false);
  contents.xmp_first = true;
  EXPECT_FALSE(Parse(BuildJpeg(contents)).has_exif);
  EXPECT_FALSE(Parse(BuildJpeg(contents), kExifDateTimeOriginal, true).has_exif);
  contents.xmp_first = false;
  contents.app0 = false;  // Exif right after SOI
  EXPECT_EQ(Parse(BuildJpeg(contents)).date_text, "2013:05:04 13:02:09");
  contents.exif = false;
  EXPECT_FALSE(Parse(BuildJpeg(contents)).has_exif);
}

TEST(ExifParseTest, InvalidDatesAreAbsentAndDoNotCountAsFound) {
  JpegContents contents;
  contents.date_time = "0000:00:00 00:00:00";
  ExifParse p = Parse(BuildJpeg(contents), kExifDateTime);
  EXPECT_TRUE(p.has_exif);
  EXPECT_FALSE(p.values.found);
  EXPECT_FALSE(p.values.date_time.has_value());
  EXPECT_EQ(p.date_text, "");

  for (const char* bad : {"2013:02:29 10:00:00", "1899:12:31 10:00:00", "2013:05:04 24:00:00", "2013:05:04 12:60:00",
                          "2013:05:04", "2013.05.04 13:02:09", "    :  :     :  :  "}) {
    contents.date_time = bad;
    EXPECT_FALSE(Parse(BuildJpeg(contents), kExifDateTime).values.date_time.has_value()) << bad;
  }
  // Bytes after the 19th are not part of the date.
  contents.date_time = "2012:02:29 23:59:59+09:00";
  p = Parse(BuildJpeg(contents), kExifDateTime);
  EXPECT_EQ(p.values.date_time, "20120229235959");
  EXPECT_EQ(p.date_text, "2012:02:29 23:59:59");

  // A file with other tags but without the requested date is found, with no date.
  contents = JpegContents();
  contents.make = "MORVA";
  p = Parse(BuildJpeg(contents));
  EXPECT_TRUE(p.values.found);
  EXPECT_EQ(p.date_text, "");
}

TEST(ExifParseTest, ValueTypes) {
  // Make as BYTE: raw bytes and two zero bytes. A pixel size as ASCII text, as RATIONAL (8 bytes: no
  // text), as BYTE x 2 (a 16-bit number). An UNDEFINED (7) entry is skipped.
  const std::vector<RawIfdEntry> ifd0 = {
      {0x010F, 1, 3, std::string("\x01\x02\x03", 3)},
      {0x0110, 7, 2, "ab"},
  };
  const std::vector<RawIfdEntry> exif = {
      AsciiEntry(0xA002, "640"),
      {0xA003, 5, 1, std::string("\x01\0\0\0\x02\0\0\0", 8)},
  };
  ExifParse p = Parse(JpegWithIfd0(ifd0, exif));
  EXPECT_EQ(p.values.make, std::string("\x01\x02\x03\0\0", 5));
  EXPECT_FALSE(p.values.model.has_value());
  EXPECT_EQ(p.values.pixel_x, "640");
  EXPECT_EQ(p.values.pixel_y, "");

  p = Parse(JpegWithIfd0({}, {{0xA002, 1, 2, std::string("\x34\x12", 2)}}));
  EXPECT_EQ(p.values.pixel_x, "4660");
  // ASCII without its terminating zero ends with the value.
  p = Parse(JpegWithIfd0({{0x010F, 2, 6, "Canon!"}}));
  EXPECT_EQ(p.values.make, "Canon!");
}

TEST(ExifParseTest, MalformedHeadersAndMarkersFindNothing) {
  const std::string tiff = BuildTiff(false, {AsciiEntry(0x010F, "MORVA")}, {});
  const std::string good = BuildJpegWithApp1(JpegContents{}, ExifPayload(tiff));
  ASSERT_TRUE(Parse(good).values.found);

  // The sixth byte of the Exif header is not examined.
  std::string payload = ExifPayload(tiff);
  payload[5] = 'X';
  EXPECT_TRUE(Parse(BuildJpegWithApp1(JpegContents{}, payload)).values.found);

  for (std::string bad_payload : {std::string("Exif", 4), std::string("Exif\0\0II*", 9),
                                  std::string("Exif\x01\0", 6) + tiff, std::string("Exif\0\0IM", 8) + tiff.substr(2),
                                  std::string("Exif\0\0II\x2B\0", 10) + tiff.substr(4),
                                  std::string("Exif\0\0MM", 8) + tiff.substr(2)}) {
    EXPECT_FALSE(Parse(BuildJpegWithApp1(JpegContents{}, bad_payload)).has_exif);
  }

  const std::string app1 = JpegSegment(0xFFE1, ExifPayload(tiff));
  const std::string soi("\xFF\xD8", 2);
  EXPECT_TRUE(Parse(soi + app1).has_exif);
  EXPECT_FALSE(Parse("\xFF\xD9" + app1).has_exif);                                // no SOI
  EXPECT_FALSE(Parse(soi + std::string("\xFF\xE0\0\0", 4) + app1).has_exif);     // zero length
  EXPECT_FALSE(Parse(soi + std::string("\xFF\xE0\0\x01", 4) + app1).has_exif);   // length inside itself
  EXPECT_FALSE(Parse(soi + std::string("\xFF\xE0\xFF\xF0", 4) + app1).has_exif); // skip past the end
  EXPECT_FALSE(Parse(soi + std::string("\0\0", 2) + app1).has_exif);
  EXPECT_FALSE(Parse(soi + JpegSegment(0xFFDA, "x") + app1).has_exif);           // image data first
  EXPECT_FALSE(Parse(soi + std::string("\xFF\xE1\0\x01", 4) + app1).has_exif);
  EXPECT_FALSE(Parse(soi + std::string("\xFF\xE1\0\x02", 4) + app1).has_exif);   // empty first APP1
  // Every truncation ends cleanly, and none before the end of the segment finds the header.
  const std::size_t app1_end = good.find(app1) + app1.size();
  for (std::size_t n = 0; n < good.size(); ++n) {
    const ExifParse p = Parse(good.substr(0, n));
    if (n < app1_end) {
      EXPECT_FALSE(p.has_exif) << n;
    }
  }
}

TEST(ExifParseTest, OffsetsAndCountsOutsideTheSegmentAreAbsent) {
  const RawIfdEntry make = AsciiEntry(0x010F, "MORVA");
  // A value of up to 4 bytes is written into the entry as given, whatever its count: these name offsets.
  const RawIfdEntry far_date{0x0132, 2, 20, Le32(60000)};
  const RawIfdEntry wrapped_date{0x0132, 2, 0xFFFFFFF0u, Le32(0x20)};  // end wraps in 32 bits
  // 0x20000001 RATIONALs are 2^32 + 8 bytes; cut to 32 bits that would be 8 bytes at offset 8.
  const RawIfdEntry huge_model{0x0110, 5, 0x20000001u, Le32(8)};
  const RawIfdEntry huge_artist{0x013B, 2, 0xFFFFFFFFu, Le32(0xFFFFFFF0u)};
  ExifParse p = Parse(JpegWithIfd0({make, far_date, huge_model, huge_artist}));
  EXPECT_EQ(p.values.make, "MORVA");
  EXPECT_FALSE(p.values.date_time.has_value());
  EXPECT_FALSE(p.values.model.has_value());
  EXPECT_FALSE(p.values.artist.has_value());
  EXPECT_FALSE(Parse(JpegWithIfd0({wrapped_date})).values.found);

  // IFD0 or the Exif IFD outside the segment: nothing, but the header is valid.
  std::string tiff = BuildTiff(false, {make}, {});
  tiff.replace(4, 4, Le32(0xFFFFFFFAu));
  p = Parse(BuildJpegWithApp1(JpegContents{}, ExifPayload(tiff)));
  EXPECT_TRUE(p.has_exif);
  EXPECT_FALSE(p.values.found);
  p = Parse(JpegWithIfd0({make, {0x8769, 4, 1, Le32(0xFFFFFFFEu)}}));
  EXPECT_EQ(p.values.make, "MORVA");

  // An entry table that claims more entries than the segment holds: those inside are read.
  tiff = BuildTiff(false, {make, AsciiEntry(0x0110, "M-1")}, {});
  tiff[8] = '\x50';
  p = Parse(BuildJpegWithApp1(JpegContents{}, ExifPayload(tiff)));
  EXPECT_EQ(p.values.make, "MORVA");
  EXPECT_EQ(p.values.model, "M-1");

  // An Exif IFD pointing back at IFD0 is walked once, as the Exif IFD, and nothing deeper is followed.
  p = Parse(JpegWithIfd0({make, {0x8769, 4, 1, Le32(8)}}));
  EXPECT_EQ(p.values.make, "MORVA");
  EXPECT_FALSE(p.values.date_time_original.has_value());
}

}  // namespace
}  // namespace morva
