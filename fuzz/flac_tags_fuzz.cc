// Feeds arbitrary bytes as a file to the FLAC reader: the metadata block walk (also behind an ID3v2 tag) and the
// Vorbis comment block.
#include "media_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file = morva::fuzz::FileOf(data, size);
  morva::fuzz::CheckTagReader(file, [](morva::media::FileWindow& window, morva::media::TagSink* sink) {
    morva::media::ReadFlacTags(window, sink);
  });
  return 0;
}
