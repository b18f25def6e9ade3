#ifndef MORVA_MEDIA_ID3_WRITE_PARTS_H_
#define MORVA_MEDIA_ID3_WRITE_PARTS_H_

// The pieces of the ID3 tag writer that build bytes: the ID3v2 frames and tags, the ID3v1 block.
// Internal to the media folder (id3_writer.h is its face).

#include <cstdint>
#include <string>

#include "media/id3_writer.h"

namespace morva {

class ReadableFile;
class TextCodec;

namespace id3_write {

// The items as they are written: the genre in its canonical text, and its number for ID3v1 (12,
// "Other", when no genre is given).
struct ItemTexts {
  Id3Items items;
  int genre_number = 12;
};

// `value` as base-128 digits, most significant first: `digits` of them (4 for tag sizes and version 4
// frame sizes, which must not hold a byte that looks like the start of an audio frame).
void AppendSynchsafe(std::uint32_t value, int digits, std::string* out);

// How the texts of ID3v2 frames are written (see Id3WriteOptions::cp932_text).
struct FrameTextForm {
  TextCodec& codec;
  bool cp932_text = false;
};

// A new ID3v2.3 tag of the given items followed by `padding` zero bytes: kId3Written,
// kId3TextUnconvertible, or kId3TagUnreadable when its frames would not read back as written (see
// ChangeId3v2Tag).
int NewId3v2Tag(const ItemTexts& texts, const FrameTextForm& form, std::uint32_t padding, std::string* tag);

// The tag at the start of `file` with the given items changed (see WriteId3): *head receives the new
// bytes that take the place of the file's first *old_head_size bytes (header, frames, padding, footer).
// kId3Written; kId3TextUnconvertible; or kId3TagUnreadable when the tag cannot be copied frame by frame
// or the new tag would not read back frame by frame as it was put together (a size of versions 2 and 3
// reads two ways). The padding's share is decided on the frames as they are encoded.
int ChangeId3v2Tag(ReadableFile& file, const ItemTexts& texts, const FrameTextForm& form, bool never_use_padding,
                   std::string* head, std::uint64_t* old_head_size);

// The 128-byte ID3v1 block `block` with the given items written over its fields.
void ChangeId3v1Block(const ItemTexts& texts, std::string* block);

// A new ID3v1.1 block of the given items (fields not given stay zero, the genre is 12 when absent).
std::string NewId3v1Block(const ItemTexts& texts);

}  // namespace id3_write
}  // namespace morva

#endif  // MORVA_MEDIA_ID3_WRITE_PARTS_H_
