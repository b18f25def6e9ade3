// The eXIf chunk of a PNG file.

#include "media/exif_sources.h"

namespace morva::media {
namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
constexpr std::size_t kChunkHeader = 8;  // length, type
constexpr std::size_t kChunkCrc = 4;
// An image is split into many IDAT chunks; a walk of this many finds an eXIf written after them too.
constexpr int kMaxChunks = 65536;

}  // namespace

bool FindPngExif(FileWindow& file, std::string* block) {
  std::string_view bytes;
  if (!file.Bytes(0, kSignature.size(), &bytes) || bytes != kSignature) return false;
  std::uint64_t pos = kSignature.size();
  for (int i = 0; i < kMaxChunks; ++i) {
    if (!file.Bytes(pos, kChunkHeader, &bytes)) return false;
    const std::uint32_t length = Be32(bytes, 0);
    const std::string_view type = bytes.substr(4, 4);
    if (type == "IEND") return false;
    if (type == "eXIf") {
      const std::size_t n = length < kMaxExifBlock ? length : kMaxExifBlock;
      if (!file.Bytes(pos + kChunkHeader, n, &bytes)) return false;
      block->assign(bytes);
      return true;
    }
    pos += kChunkHeader + std::uint64_t{length} + kChunkCrc;
  }
  return false;
}

}  // namespace morva::media
