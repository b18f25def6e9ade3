// Feeds arbitrary bytes to the ID3 reader: both tag parsers in every mode, the text decoder and the
// genre normalisation on slices that end where the input ends, so any read past them is caught.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "media/id3_reader.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  morva::MemoryReadableFile file{std::string(input)};

  morva::Id3v2Fields fields;
  morva::Id3Layout layout;
  const int version = morva::ReadId3v2(file, *codec, (size & 1) != 0, &fields, nullptr);
  const int recorded = morva::ReadId3v2(file, *codec, false, &fields, &layout);
  const int probed = morva::ReadId3v2(file, *codec, false, nullptr, nullptr);
  if (version != recorded || version != probed) std::abort();
  if (recorded != 0 && layout.padding_size > layout.tag_size) std::abort();

  morva::Id3v1Fields v1;
  const bool has_v1 = morva::ReadId3v1(file, *codec, true, &v1);
  if (morva::ReadId3v1(file, *codec, false, &v1) != has_v1) std::abort();
  if (has_v1 && (v1.title.size() > 30 || v1.year.size() > 4 || v1.comment.size() > 28)) std::abort();

  if (size > 0) {
    const std::size_t from = data[0] % size;
    const std::string text = morva::DecodeId3Text(*codec, data[0] & 3, input.substr(from));
    if (text.size() > input.size() - from) std::abort();  // every character takes at least as many bytes in
  }
  std::string genre;
  const int number = morva::NormalizeGenre(input.substr(size > 32 ? size - 32 : 0), &genre);
  if (number < 0 || number > 147) std::abort();
  return 0;
}
