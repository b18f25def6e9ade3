// Feeds arbitrary bytes as a file to the Ogg reader: the page walk, the packets put together from their
// segments and the Vorbis or Opus comment header.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  // Both reads find the same format too.
  morva::TagFormat formats[2] = {morva::TagFormat::kNone, morva::TagFormat::kNone};
  int read = 0;
  morva::fuzz::CheckTagReader(file, [&](morva::media::FileWindow& window, morva::media::TagSink* sink) {
    morva::media::ReadOggTags(window, sink, &formats[read++]);
  });
  if (formats[0] != formats[1]) std::abort();
  return 0;
}
