#ifndef MORVA_MEDIA_CONTAINER_TAGS_H_
#define MORVA_MEDIA_CONTAINER_TAGS_H_

#include <string_view>

namespace morva {

class ReadableFile;
class TextCodec;
struct Id3v2Fields;

// The tag formats of audio containers other than MP3's ID3 tags.
enum class TagFormat { kNone, kFlac, kVorbis, kOpus, kMp4, kApe };

// The short name the target list shows for a file carrying tags of `format` ("FLAC", "Vorbis", "Opus",
// "MP4", "APE"); empty for kNone.
std::string_view TagFormatName(TagFormat format);

// Reads the tags of `file` by its content: Vorbis comments of a FLAC file (also behind an ID3v2 tag) or
// of an Ogg Vorbis or Opus stream, the `ilst` items of an MP4/M4A file, or else an APE tag at the end of
// the file (before an ID3v1 block, if any). Returns the format whose tag was found, or kNone. When
// `fields` is not null it is emptied and receives the seven items (title, artist, album, year, track,
// comment, genre) and the album artist as `band`, each as code page 932 text ("?" for characters without
// a form), at most 511 bytes of the stored text; the first of several values of one item counts. A year
// stored as a date ("2019-05-01") is cut to its four digits; a track keeps a "/12" count as stored.
// Every read stays inside the file and the sizes it declares.
TagFormat ReadContainerTags(ReadableFile& file, TextCodec& codec, Id3v2Fields* fields);

}  // namespace morva

#endif  // MORVA_MEDIA_CONTAINER_TAGS_H_
