// The EXIF chunk of a WebP file (a RIFF file of form WEBP).

#include "media/exif_sources.h"

namespace morva::media {
namespace {

constexpr std::size_t kRiffHeader = 12;  // "RIFF", size, "WEBP"
constexpr std::size_t kChunkHeader = 8;  // type, little-endian size
// An animation has a chunk per frame before the metadata.
constexpr int kMaxChunks = 65536;

}  // namespace

bool FindWebpExif(FileWindow& file, std::string* block) {
  std::string_view bytes;
  if (!file.Bytes(0, kRiffHeader, &bytes) || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WEBP") {
    return false;
  }
  std::uint64_t pos = kRiffHeader;
  for (int i = 0; i < kMaxChunks; ++i) {
    if (!file.Bytes(pos, kChunkHeader, &bytes)) return false;
    const std::uint32_t size = Le32(bytes, 4);
    if (bytes.substr(0, 4) == "EXIF") {
      const std::size_t n = size < kMaxExifBlock ? size : kMaxExifBlock;
      if (!file.Bytes(pos + kChunkHeader, n, &bytes)) return false;
      block->assign(bytes);
      return true;
    }
    // A chunk of odd size is followed by a pad byte.
    pos += kChunkHeader + std::uint64_t{size} + (size & 1);
  }
  return false;
}

}  // namespace morva::media
