// Feeds arbitrary bytes as a file to the APE tag reader: the footer at the end or before an ID3v1 block, and the items.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::fuzz::CheckTagReader(file, [](morva::media::FileWindow& window, morva::media::TagSink* sink) {
    morva::media::ReadApeTags(window, sink);
  });
  return 0;
}
