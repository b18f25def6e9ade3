// Feeds arbitrary bytes to the TIFF file reader (TIFF and raw images) as a file, for every date kind and
// in probe mode, directly and through the reader's dispatch by content; the results must agree.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::fuzz::CheckDateParser(file, [&file](morva::ExifDateKind kind, bool probe) {
    return morva::media::ParseTiffFile(file, kind, probe);
  });
  return 0;
}
