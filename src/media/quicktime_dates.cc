// The dates of an MP4, MOV or 3GP movie: the movie header (moov/mvhd) and the QuickTime metadata
// (moov/meta with its keys and ilst boxes).

#include <cstdio>
#include <string>

#include "media/exif_sources.h"
#include "media/exif_tiff.h"
#include "media/iso_box.h"
#include "platform/file_time.h"

namespace morva::media {
namespace {

// Movie header times count seconds from 1904-01-01 00:00:00 UTC, 2,082,844,800 seconds before 1970.
constexpr std::uint64_t kSeconds1904To1970 = 2082844800ULL;
constexpr std::string_view kCreationDateKey = "com.apple.quicktime.creationdate";
constexpr std::size_t kMaxKeysRead = 64 * 1024;
constexpr std::size_t kMaxValueRead = 256;
constexpr std::size_t kDataHeader = 8;  // type indicator, locale
constexpr std::uint32_t kUtf8Type = 1;

// "YYYY:MM:DD hh:mm:ss" of a movie header time in the local time zone; empty for 0 (not set) or a time
// the host cannot represent.
std::string LocalText(std::uint64_t seconds_since_1904) {
  if (seconds_since_1904 == 0) return {};
  constexpr std::uint64_t kMaxSeconds = (~0ULL - kUnixEpochFileTime) / kTicksPerSecond;
  if (seconds_since_1904 > kMaxSeconds) return {};
  const FileTime time =
      kUnixEpochFileTime - kSeconds1904To1970 * kTicksPerSecond + seconds_since_1904 * kTicksPerSecond;
  CalendarTime local;
  if (!FileTimeToLocal(time, &local)) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", local.year, local.month, local.day, local.hour,
                local.minute, local.second);
  return text;
}

// "YYYY:MM:DD hh:mm:ss" of an ISO 8601 date "2023-06-01T23:30:00+0200": the time as the camera's clock
// showed it, in the zone it names, as an Exif date is. Empty for any other form.
std::string CreationDateText(std::string_view value) {
  if (value.size() < 19 || value[4] != '-' || value[7] != '-' || (value[10] != 'T' && value[10] != ' ') ||
      value[13] != ':' || value[16] != ':') {
    return {};
  }
  std::string text(value.substr(0, 19));
  text[4] = text[7] = ':';
  text[10] = ' ';
  return text;
}

// The 1-based number of the key `wanted` in the `keys` box, or 0.
std::uint32_t KeyNumber(FileWindow& file, const Box& keys, std::string_view wanted) {
  std::string_view body;
  if (!BoxBody(file, keys, kMaxKeysRead, &body) || body.size() < 8) return 0;
  const std::uint32_t count = Be32(body, 4);
  std::size_t pos = 8;
  // Each entry: its size (counting these 8 bytes), a namespace, the key.
  for (std::uint32_t i = 1; i <= count && body.size() - pos >= 8; ++i) {
    const std::uint32_t size = Be32(body, pos);
    if (size < 8 || size > body.size() - pos) return 0;
    if (body.substr(pos + 8, size - 8) == wanted) return i;
    pos += size;
  }
  return 0;
}

// The QuickTime creation date in the metadata box `meta`, as Exif date text; empty when there is none.
std::string QuickTimeCreationDate(FileWindow& file, const Box& meta) {
  Box box, keys, ilst;
  bool have_keys = false, have_ilst = false;
  BoxWalk children(file, MetaChildren(file, meta), meta.end);
  while (children.Next(&box)) {
    if (box.type == FourCc("keys") && !have_keys) keys = box, have_keys = true;
    if (box.type == FourCc("ilst") && !have_ilst) ilst = box, have_ilst = true;
  }
  if (!have_keys || !have_ilst) return {};
  const std::uint32_t number = KeyNumber(file, keys, kCreationDateKey);
  if (number == 0) return {};
  // The list's items are named by their key's number.
  BoxWalk items(file, ilst.body, ilst.end);
  Box item, data;
  if (!items.Find(number, &item)) return {};
  BoxWalk values(file, item.body, item.end);
  if (!values.Find(FourCc("data"), &data)) return {};
  std::string_view body;
  if (!BoxBody(file, data, kMaxValueRead, &body) || body.size() < kDataHeader || Be32(body, 0) != kUtf8Type) return {};
  return CreationDateText(body.substr(kDataHeader));
}

}  // namespace

ExifParse ParseQuickTime(FileWindow& file, ExifDateKind which, bool probe_only) {
  ExifParse parse;
  Box moov, box;
  BoxWalk top(file, 0, file.size());
  if (!top.Find(FourCc("moov"), &moov)) return parse;
  std::string created, modified, creation_date;
  BoxWalk children(file, moov.body, moov.end);
  while (children.Next(&box)) {
    if (box.type == FourCc("mvhd") && !parse.has_exif) {
      // Version 0: 32-bit times after version and flags; version 1: 64-bit times.
      std::string_view body;
      if (!BoxBody(file, box, 20, &body) || body.size() < 12) continue;
      const bool wide = body[0] == 1;
      if (wide && body.size() < 20) continue;
      parse.has_exif = true;
      if (probe_only) return parse;
      created = LocalText(wide ? Be64(body, 4) : Be32(body, 4));
      modified = LocalText(wide ? Be64(body, 12) : Be32(body, 8));
    } else if (box.type == FourCc("meta") && creation_date.empty()) {
      creation_date = QuickTimeCreationDate(file, box);
    }
  }
  if (!parse.has_exif) return parse;
  exif::StoreDate(kExifDateTime, modified, which, &parse.values, &parse.date_text);
  if (creation_date.empty() ||
      !exif::StoreDate(kExifDateTimeOriginal, creation_date, which, &parse.values, &parse.date_text)) {
    exif::StoreDate(kExifDateTimeOriginal, created, which, &parse.values, &parse.date_text);
  }
  exif::StoreDate(kExifDateTimeDigitized, created, which, &parse.values, &parse.date_text);
  return parse;
}

}  // namespace morva::media
