// A TIFF file, TIFF-based raw images (DNG, CR2, NEF, ARW, ORF, RW2, PEF) among them. Its IFDs may lie
// anywhere in a file of many megabytes: the head is read first, and more only when the walk reaches past
// it.

#include "media/exif_sources.h"
#include "media/exif_tiff.h"

namespace morva::media {
namespace {

// Cameras put IFD0 and the Exif IFD near the start, ahead of the image data.
constexpr std::size_t kHeadRead = 64 * 1024;
// A structure that reaches further than this is not followed.
constexpr std::uint64_t kMaxRead = 64ull << 20;
// A walk learns the place of the Exif IFD only from IFD0, and that of its values only from the Exif IFD.
constexpr int kMaxRounds = 3;

// The header of a TIFF file: ReadTiffHeader's, or the magic numbers of Olympus ("IIRO", "IIRS", "MMOR")
// and Panasonic ("IIU\0") raw files in place of 42.
bool ReadFileHeader(std::string_view bytes, exif::TiffHeader* header) {
  if (exif::ReadTiffHeader(bytes, header)) return true;
  if (bytes.size() < 8) return false;
  const std::string_view magic = bytes.substr(0, 4);
  if (magic == "IIRO" || magic == "IIRS" || magic == std::string_view("IIU\0", 4)) {
    header->big_endian = false;
    header->ifd0_offset = Le32(bytes, 4);
    return true;
  }
  if (magic == "MMOR") {
    header->big_endian = true;
    header->ifd0_offset = Be32(bytes, 4);
    return true;
  }
  return false;
}

}  // namespace

ExifParse ParseTiffFile(ReadableFile& file, ExifDateKind which, bool probe_only) {
  ExifParse parse;
  std::string bytes;
  if (!file.Read(0, kHeadRead, &bytes).ok()) return parse;
  exif::TiffHeader header;
  if (!ReadFileHeader(bytes, &header)) return parse;
  parse.has_exif = true;
  if (probe_only) return parse;
  for (int round = 0; round < kMaxRounds; ++round) {
    std::uint64_t reach = 0;
    parse.values = ExifValues();
    parse.date_text.clear();
    exif::WalkIfds(bytes, header, which, &parse.values, &parse.date_text, &reach);
    if (reach <= bytes.size() || bytes.size() >= file.size() || reach > kMaxRead) break;
    // A head's worth past the reach: the table found there points at values close behind it.
    const std::uint64_t want = reach + kHeadRead;
    if (!file.Read(0, static_cast<std::size_t>(want < file.size() ? want : file.size()), &bytes).ok()) break;
  }
  return parse;
}

}  // namespace morva::media
