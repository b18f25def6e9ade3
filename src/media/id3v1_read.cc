// The ID3v1 block: 128 bytes at the end of the file, fixed-width fields.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "media/id3_reader.h"
#include "platform/file_system.h"

namespace morva {
namespace {

constexpr std::size_t kBlockSize = 128;

// A field's text: with the Unicode flag a field starting with a non-ASCII byte is UTF-16 (a mark decides
// the order, big-endian without one); otherwise the bytes up to the first zero. Trailing spaces stay:
// the naming rule trims them when asked to.
std::string FieldText(TextCodec& codec, bool unicode, std::string_view field) {
  if (unicode && !field.empty() && static_cast<unsigned char>(field[0]) >= 0x80) {
    return DecodeId3Text(codec, 2, field);
  }
  return std::string(field.substr(0, field.find('\0')));
}

}  // namespace

bool ReadId3v1(ReadableFile& file, TextCodec& codec, bool v1_is_unicode, Id3v1Fields* fields) {
  if (file.size() < kBlockSize) return false;
  std::string block;
  if (!file.Read(file.size() - kBlockSize, kBlockSize, &block).ok() || block.size() != kBlockSize) return false;
  if (block.compare(0, 3, "TAG") != 0) return false;
  if (fields == nullptr) return true;

  const std::string_view b(block);
  fields->title = FieldText(codec, v1_is_unicode, b.substr(3, 30));
  fields->artist = FieldText(codec, v1_is_unicode, b.substr(33, 30));
  fields->album = FieldText(codec, v1_is_unicode, b.substr(63, 30));
  fields->year = FieldText(codec, v1_is_unicode, b.substr(93, 4));
  // The comment keeps to its 28 bytes even as UTF-16: bytes 125-126 are the ID3v1.1 track, not text.
  fields->comment = FieldText(codec, v1_is_unicode, b.substr(97, 28));
  // ID3v1.1 marks a track number with a zero byte before it.
  fields->track = block[125] == 0 ? std::to_string(static_cast<std::int8_t>(block[126])) : std::string();
  fields->genre = std::to_string(static_cast<std::int8_t>(block[127]));
  return true;
}

}  // namespace morva
