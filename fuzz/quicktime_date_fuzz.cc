// Feeds arbitrary bytes to the movie reader as a file: the box walk to the movie header and the QuickTime
// metadata's keys and items, for every date kind and in probe mode; the results must agree.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::media::FileWindow window(file);
  morva::fuzz::CheckDateParser(file, [&window](morva::ExifDateKind kind, bool probe) {
    return morva::media::ParseQuickTime(window, kind, probe);
  });
  return 0;
}
