// Feeds arbitrary bytes as a file to the MP4 tag reader: the box walk to moov/udta/meta/ilst and each item's data box.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::fuzz::CheckTagReader(file, [](morva::media::FileWindow& window, morva::media::TagSink* sink) {
    morva::media::ReadMp4Tags(window, sink);
  });
  return 0;
}
