#ifndef MORVA_MEDIA_TAG_SINK_H_
#define MORVA_MEDIA_TAG_SINK_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/byte_view.h"
#include "media/container_tags.h"
#include "media/id3_reader.h"

// What the container tag readers share: where a value goes, and the Vorbis comment block that FLAC and
// Ogg both carry. Private to the readers of src/media.
namespace morva::media {

// The items a container tag can fill.
enum class TagItem { kTitle, kArtist, kAlbum, kYear, kTrack, kComment, kGenre, kAlbumArtist };

// Takes the UTF-8 values a reader finds and stores the first of each item into the fields (when there
// are any: a probe only learns whether one was found).
class TagSink {
 public:
  TagSink(TextCodec& codec, Id3v2Fields* fields) : codec_(codec), fields_(fields) {}

  void Set(TagItem item, std::string_view utf8);
  bool found() const { return found_; }

 private:
  TextCodec& codec_;
  Id3v2Fields* fields_;
  bool found_ = false;
};

// The item a Vorbis comment or APE key names (either case), or nullopt for any other key.
std::optional<TagItem> ItemOfTextKey(std::string_view key);

// Parses a Vorbis comment block (vendor string, count, "KEY=value" entries, all lengths 32-bit
// little-endian) into `sink`. A block cut short gives the entries before the cut. False when not even the
// vendor string and the count fit.
bool ParseVorbisComment(std::string_view block, TagSink* sink);

// The reader of each format; true when it found that format's tag (even with no item `sink` keeps).
bool ReadFlacTags(FileWindow& file, TagSink* sink);
bool ReadOggTags(FileWindow& file, TagSink* sink, TagFormat* format);
bool ReadMp4Tags(FileWindow& file, TagSink* sink);
bool ReadApeTags(FileWindow& file, TagSink* sink);

}  // namespace morva::media

#endif  // MORVA_MEDIA_TAG_SINK_H_
