// Which container a photograph or movie is, told by its first bytes, and the reader of each.

#include "media/exif_sources.h"

#include "media/exif_tiff.h"
#include "media/head_cached_file.h"

namespace morva {
namespace {

enum class Container { kUnknown, kJpeg, kTiff, kPng, kWebp, kHeif, kMovie };

template <typename List>
bool IsOneOf(std::string_view brand, const List& brands) {
  for (std::string_view b : brands) {
    if (brand == b) return true;
  }
  return false;
}

// The brands of HEIF images (HEIC, AVIF and their sequences) and of MP4 audio, which has no shooting date.
constexpr std::string_view kHeifBrands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                                                 "mif1", "msf1", "avif", "avis"};
constexpr std::string_view kAudioBrands[] = {"M4A ", "M4B ", "M4P ", "F4A ", "F4B "};

// An ISO base media file by its ftyp box: the major brand decides, then the compatible brands.
Container IsoContainer(media::FileWindow& file, std::string_view head) {
  const std::string_view major = head.substr(8, 4);
  if (IsOneOf(major, kHeifBrands)) return Container::kHeif;
  if (IsOneOf(major, kAudioBrands)) return Container::kUnknown;
  const std::uint64_t ftyp_size = media::Be32(head, 0);
  constexpr std::size_t kMaxFtyp = 256;
  constexpr std::size_t kFirstCompatible = 16;  // size, type, major brand, minor version
  std::string_view ftyp;
  if (ftyp_size >= kFirstCompatible && ftyp_size <= kMaxFtyp && file.Bytes(0, ftyp_size, &ftyp)) {
    for (std::size_t at = kFirstCompatible; at + 4 <= ftyp.size(); at += 4) {
      const std::string_view brand = ftyp.substr(at, 4);
      if (brand == "mif1" || brand == "msf1") return Container::kHeif;
    }
  }
  return Container::kMovie;
}

Container Sniff(media::FileWindow& file) {
  constexpr std::size_t kSniffSize = 12;
  std::string_view head;
  if (!file.Bytes(0, kSniffSize, &head)) {
    // Shorter files can still be a JPEG whose reader tells its own story.
    return file.Bytes(0, 2, &head) && head == "\xFF\xD8" ? Container::kJpeg : Container::kUnknown;
  }
  if (head.substr(0, 2) == "\xFF\xD8") return Container::kJpeg;
  const std::string_view four = head.substr(0, 4);
  if (four == std::string_view("II*\0", 4) || four == std::string_view("MM\0*", 4) || four == "IIRO" ||
      four == "IIRS" || four == "MMOR" || four == std::string_view("IIU\0", 4)) {
    return Container::kTiff;
  }
  if (head.substr(0, 8) == "\x89PNG\r\n\x1a\n") return Container::kPng;
  if (four == "RIFF" && head.substr(8, 4) == "WEBP") return Container::kWebp;
  const std::string_view type = head.substr(4, 4);
  if (type == "ftyp") return IsoContainer(file, head);
  // QuickTime files older than the ftyp box start with the movie, its data or padding.
  constexpr std::string_view kMovieStarts[] = {"moov", "mdat", "wide", "free", "skip", "pnot"};
  if (IsOneOf(type, kMovieStarts)) return Container::kMovie;
  return Container::kUnknown;
}

}  // namespace

ExifParse ParseMediaExif(ReadableFile& file, ExifDateKind which, bool probe_only) {
  // The first read serves the sniffing and, for most JPEG files, the Exif segment too.
  HeadCachedFile head(file);
  head.Load();
  media::FileWindow window(head);
  std::string block;
  switch (Sniff(window)) {
    case Container::kJpeg: return ParseJpegExif(head, which, probe_only);
    case Container::kTiff: return media::ParseTiffFile(head, which, probe_only);
    case Container::kMovie: return media::ParseQuickTime(window, which, probe_only);
    case Container::kHeif:
      if (!media::FindHeifExif(window, &block)) return ExifParse();
      break;
    case Container::kPng:
      if (!media::FindPngExif(window, &block)) return ExifParse();
      break;
    case Container::kWebp:
      if (!media::FindWebpExif(window, &block)) return ExifParse();
      break;
    case Container::kUnknown: return ExifParse();
  }
  return exif::ParseExifBlock(block, which, probe_only);
}

}  // namespace morva
