// Feeds arbitrary bytes as a file to the Ogg reader: the page walk, the packets put together from their
// segments and the Vorbis or Opus comment header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "media/container_tags.h"
#include "media/id3_reader.h"
#include "media/tag_sink.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  morva::MemoryReadableFile file(std::string(reinterpret_cast<const char*>(data), size));
  morva::media::FileWindow window(file);
  morva::Id3v2Fields fields;
  morva::media::TagSink sink(*codec, &fields);
  morva::media::TagSink probe(*codec, nullptr);
  morva::TagFormat format1 = morva::TagFormat::kNone, format2 = morva::TagFormat::kNone;
  morva::media::ReadOggTags(window, &sink, &format1);
  morva::media::ReadOggTags(window, &probe, &format2);
  if (format1 != format2) std::abort();
  // A probe finds what a full read finds, and the whole dispatch agrees with itself.
  if (sink.found() != probe.found()) std::abort();
  if (fields.title && fields.title->size() > 2 * 511) std::abort();
  morva::Id3v2Fields dispatched;
  const morva::TagFormat format = morva::ReadContainerTags(file, *codec, &dispatched);
  if (morva::ReadContainerTags(file, *codec, nullptr) != format) std::abort();
  return 0;
}
