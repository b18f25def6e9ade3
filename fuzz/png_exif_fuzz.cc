// Feeds arbitrary bytes to the PNG reader as a file: the chunk walk to the eXIf chunk.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::media::FileWindow window(file);
  std::string block;
  if (morva::media::FindPngExif(window, &block)) morva::fuzz::CheckExifBlock(block, file);
  return 0;
}
