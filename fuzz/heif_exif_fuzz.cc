// Feeds arbitrary bytes to the HEIF reader as a file: the meta box, its item information and location
// tables and the Exif item they point at.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::media::FileWindow window(file);
  std::string block;
  if (morva::media::FindHeifExif(window, &block)) morva::fuzz::CheckExifBlock(block, file);
  return 0;
}
