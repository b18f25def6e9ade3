// Feeds arbitrary bytes to the WebP reader as a file: the RIFF chunk walk to the EXIF chunk.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::media::FileWindow window(file);
  std::string block;
  if (morva::media::FindWebpExif(window, &block)) morva::fuzz::CheckExifBlock(block, file);
  return 0;
}
