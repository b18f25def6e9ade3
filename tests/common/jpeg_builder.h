#ifndef MORVA_TESTS_COMMON_JPEG_BUILDER_H_
#define MORVA_TESTS_COMMON_JPEG_BUILDER_H_

// Builds small JPEG files in memory for the tests of everything that reads Exif data: SOI, an optional
// JFIF APP0, an optional XMP APP1 ahead of the Exif one, the Exif APP1 (IFD0 and the Exif IFD) in either
// byte order, a quantisation table, a frame header, then the scan and EOI. Header-only and free of
// GoogleTest, so that the benchmarks and the fuzz corpus use it too.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morva::testing {

struct JpegContents {
  bool big_endian = false;  // "MM" instead of "II"
  bool app0 = true;         // a JFIF APP0 segment right after SOI
  bool xmp_first = false;   // an XMP APP1 segment ahead of the Exif one
  bool exif = true;         // false: no Exif APP1 at all
  // IFD0 texts, stored as ASCII with a terminating zero. Dates are given as stored: "2013:05:04 13:02:09".
  std::optional<std::string> image_description, make, model, software, artist, date_time;
  // Exif IFD values (the Exif IFD is written when any of them is set). Pixel sizes up to 65535 are SHORT,
  // larger ones LONG.
  std::optional<std::string> date_time_original, date_time_digitized;
  std::optional<std::uint32_t> pixel_x, pixel_y;
  std::size_t image_data_bytes = 256;  // entropy-coded bytes between SOS and EOI (never 0xFF)
};

// One raw IFD entry: `value` holds count x unit bytes already in the file's byte order.
struct RawIfdEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::string value;
};

namespace jpeg_builder_internal {

inline void Put16(std::string* out, std::uint32_t v, bool big_endian) {
  const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
  if (big_endian) {
    out->push_back(b[1]);
    out->push_back(b[0]);
  } else {
    out->append(b, 2);
  }
}

inline void Put32(std::string* out, std::uint32_t v, bool big_endian) {
  Put16(out, big_endian ? v >> 16 : v & 0xFFFF, big_endian);
  Put16(out, big_endian ? v & 0xFFFF : v >> 16, big_endian);
}

inline std::string Ascii(const std::string& text) { return text + std::string(1, '\0'); }

// Appends one IFD at offset out->size() (offsets count from the start of `out`, the TIFF header), with
// its values of more than 4 bytes after the table. `link` is the offset of the next IFD.
inline void AppendIfd(std::string* out, const std::vector<RawIfdEntry>& entries, bool big_endian,
                      std::uint32_t link = 0) {
  const std::size_t table_end = out->size() + 2 + 12 * entries.size() + 4;
  std::string data;
  Put16(out, static_cast<std::uint32_t>(entries.size()), big_endian);
  for (const RawIfdEntry& e : entries) {
    Put16(out, e.tag, big_endian);
    Put16(out, e.type, big_endian);
    Put32(out, e.count, big_endian);
    if (e.value.size() <= 4) {
      std::string inline_value = e.value;
      inline_value.resize(4, '\0');  // left-justified in either byte order
      out->append(inline_value);
    } else {
      Put32(out, static_cast<std::uint32_t>(table_end + data.size()), big_endian);
      data.append(e.value);
      if (data.size() % 2 != 0) data.push_back('\0');  // values start on word boundaries
    }
  }
  Put32(out, link, big_endian);
  out->append(data);
}

}  // namespace jpeg_builder_internal

// An IFD entry of type SHORT (3) or LONG (4) with one value, in the given byte order.
inline RawIfdEntry NumberEntry(std::uint16_t tag, std::uint32_t value, bool big_endian) {
  RawIfdEntry e{tag, static_cast<std::uint16_t>(value <= 0xFFFF ? 3 : 4), 1, ""};
  if (value <= 0xFFFF) {
    jpeg_builder_internal::Put16(&e.value, value, big_endian);
  } else {
    jpeg_builder_internal::Put32(&e.value, value, big_endian);
  }
  return e;
}

// An ASCII entry (type 2) holding `text` and its terminating zero.
inline RawIfdEntry AsciiEntry(std::uint16_t tag, const std::string& text) {
  const std::string value = jpeg_builder_internal::Ascii(text);
  return RawIfdEntry{tag, 2, static_cast<std::uint32_t>(value.size()), value};
}

// A TIFF block (header, IFD0 at offset 8, then the Exif IFD when `exif_entries` is not empty, linked from
// IFD0 by a 0x8769 entry added at the end of `ifd0_entries`).
inline std::string BuildTiff(bool big_endian, std::vector<RawIfdEntry> ifd0_entries,
                             const std::vector<RawIfdEntry>& exif_entries) {
  using namespace jpeg_builder_internal;
  std::string tiff = big_endian ? "MM" : "II";
  Put16(&tiff, 42, big_endian);
  Put32(&tiff, 8, big_endian);
  if (!exif_entries.empty()) {
    // The pointer's value is only known once IFD0 is laid out: lay it out once to measure it.
    ifd0_entries.push_back(RawIfdEntry{0x8769, 4, 1, std::string(4, '\0')});
    std::string probe = tiff;
    AppendIfd(&probe, ifd0_entries, big_endian);
    ifd0_entries.back().value.clear();
    Put32(&ifd0_entries.back().value, static_cast<std::uint32_t>(probe.size()), big_endian);
  }
  AppendIfd(&tiff, ifd0_entries, big_endian);
  if (!exif_entries.empty()) AppendIfd(&tiff, exif_entries, big_endian);
  return tiff;
}

// The TIFF block of `contents`, tags in ascending order as the Exif format asks.
inline std::string BuildExifTiff(const JpegContents& contents) {
  std::vector<RawIfdEntry> ifd0, exif;
  if (contents.image_description) ifd0.push_back(AsciiEntry(0x010E, *contents.image_description));
  if (contents.make) ifd0.push_back(AsciiEntry(0x010F, *contents.make));
  if (contents.model) ifd0.push_back(AsciiEntry(0x0110, *contents.model));
  if (contents.software) ifd0.push_back(AsciiEntry(0x0131, *contents.software));
  if (contents.date_time) ifd0.push_back(AsciiEntry(0x0132, *contents.date_time));
  if (contents.artist) ifd0.push_back(AsciiEntry(0x013B, *contents.artist));
  if (contents.date_time_original) exif.push_back(AsciiEntry(0x9003, *contents.date_time_original));
  if (contents.date_time_digitized) exif.push_back(AsciiEntry(0x9004, *contents.date_time_digitized));
  if (contents.pixel_x) exif.push_back(NumberEntry(0xA002, *contents.pixel_x, contents.big_endian));
  if (contents.pixel_y) exif.push_back(NumberEntry(0xA003, *contents.pixel_y, contents.big_endian));
  return BuildTiff(contents.big_endian, ifd0, exif);
}

// A marker segment: the marker, the big-endian length (payload + 2), the payload. The length field wraps
// for payloads over 65533 bytes, as a broken writer's would.
inline std::string JpegSegment(std::uint16_t marker, std::string_view payload) {
  std::string out;
  jpeg_builder_internal::Put16(&out, marker, true);
  jpeg_builder_internal::Put16(&out, static_cast<std::uint32_t>(payload.size() + 2) & 0xFFFF, true);
  out.append(payload);
  return out;
}

// The payload of an Exif APP1 segment holding `tiff`.
inline std::string ExifPayload(std::string_view tiff) { return std::string("Exif\0\0", 6) + std::string(tiff); }

// A whole JPEG file with `app1_payload` as its Exif segment (none when empty).
inline std::string BuildJpegWithApp1(const JpegContents& contents, std::string_view app1_payload) {
  std::string out("\xFF\xD8", 2);
  if (contents.app0) out += JpegSegment(0xFFE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
  if (contents.xmp_first) {
    out += JpegSegment(0xFFE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                                   "<x:xmpmeta xmlns:x='adobe:ns:meta/'></x:xmpmeta>");
  }
  if (!app1_payload.empty()) out += JpegSegment(0xFFE1, app1_payload);
  out += JpegSegment(0xFFDB, std::string(1, '\0') + std::string(64, '\x01'));  // one flat table
  // Baseline frame, 8-bit, 16 x 16, one component sampled 1x1 with table 0.
  out += JpegSegment(0xFFC0, std::string("\x08\x00\x10\x00\x10\x01\x01\x11\x00", 9));
  out += JpegSegment(0xFFDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
  std::uint32_t noise = 12345;
  for (std::size_t i = 0; i < contents.image_data_bytes; ++i) {
    noise = noise * 1103515245u + 12345u;
    out.push_back(static_cast<char>((noise >> 16) % 0xFF));  // never 0xFF, which would start a marker
  }
  out.append("\xFF\xD9", 2);
  return out;
}

inline std::string BuildJpeg(const JpegContents& contents) {
  return BuildJpegWithApp1(contents, contents.exif ? ExifPayload(BuildExifTiff(contents)) : std::string());
}

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_JPEG_BUILDER_H_
