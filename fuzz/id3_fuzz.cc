// Feeds arbitrary bytes to the ID3 reader: both tag parsers in every mode, directly and through the
// cached view of the file's head that the reader uses; the text decoder and the genre normalisation on
// slices that end where the input ends, so any read past them is caught.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "media/head_cached_file.h"
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

  // The reader's cached view of a file's head reads exactly as the file does.
  morva::HeadCachedFile cached(file);
  cached.Load();
  morva::Id3v2Fields cached_fields;
  if (morva::ReadId3v2(cached, *codec, (size & 1) != 0, &cached_fields, nullptr) != version) std::abort();
  morva::ReadId3v2(file, *codec, (size & 1) != 0, &fields, nullptr);
  if (cached_fields.title != fields.title || cached_fields.comment != fields.comment) std::abort();

  morva::Id3v1Fields v1;
  const bool has_v1 = morva::ReadId3v1(file, *codec, true, &v1);
  if (morva::ReadId3v1(file, *codec, false, &v1) != has_v1) std::abort();
  morva::Id3v1Fields cached_v1;
  if (morva::ReadId3v1(cached, *codec, false, &cached_v1) != has_v1 || cached_v1.title != v1.title) std::abort();
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
