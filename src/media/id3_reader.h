#ifndef MORVA_MEDIA_ID3_READER_H_
#define MORVA_MEDIA_ID3_READER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "media/container_tags.h"

namespace morva {

class FileSystem;
class ReadableFile;
class TextCodec;

// The fields of an ID3v1 block (the 128 bytes at the end of an MP3 file), as code page 932 text. Track
// and genre are the decimal text of a byte read as a signed 8-bit value (a genre byte of 255 is "-1");
// the track is empty when the block is ID3v1.0 (byte 125 not zero).
struct Id3v1Fields {
  std::string title, artist, album, year, comment, track, genre;
};

// The text frames of an ID3v2 tag, as code page 932 text; absent when the frame was not found.
struct Id3v2Fields {
  std::optional<std::string> title;          // TIT2 / TT2
  std::optional<std::string> artist;         // TPE1 / TP1
  std::optional<std::string> album;          // TALB / TAL
  std::optional<std::string> year;           // TYER / TYE
  std::optional<std::string> track;          // TRCK / TRK
  std::optional<std::string> comment;        // COMM / COM
  std::optional<std::string> genre;          // TCON / TCO
  std::optional<std::string> content_group;  // TIT1 / TT1
  std::optional<std::string> subtitle;       // TIT3 / TT3
  std::optional<std::string> band;           // TPE2 / TP2
  std::optional<std::string> conductor;      // TPE3 / TP3
  std::optional<std::string> remixer;        // TPE4 / TP4
};

// The layout of an existing ID3v2 tag, which the tag writer needs to rewrite it in place.
struct Id3Layout {
  // Frames whose payload sizes are recorded, in this order.
  enum Frame { kTitle, kArtist, kAlbum, kTrack, kYear, kComment, kGenre, kFrameCount };

  int version = 0;                   // major version 2, 3 or 4
  std::uint32_t tag_size = 0;        // the header's size: the bytes after the 10-byte header
  std::uint32_t extended_header_size = 0;
  std::uint32_t padding_size = 0;
  std::array<std::int32_t, kFrameCount> frame_sizes{-1, -1, -1, -1, -1, -1, -1};  // -1: absent
};

// How a file is read.
struct Id3ReadOptions {
  bool v1_is_unicode = false;        // FNM_ID3_OPT bit 2: ID3v1 fields starting with a non-ASCII byte are UTF-16
  bool skip_extension_test = false;  // SW_OPT[6]: do not require the ".mp3" suffix
  bool first_comment_wins = false;   // SW_OPT[12]: of several comment frames the first counts, not the last
};

// The items get_id3_item hands out.
enum Id3Item : int { kId3Title = 1, kId3Artist, kId3Album, kId3Year, kId3Comment, kId3Track };

// Reads the ID3v2 tag at the start of `file`. Returns its major version (2, 3 or 4) or 0 when there is
// none (or it cannot be read). In probe mode (`fields` null and `layout` null) only the header is read.
// Otherwise `fields` (when not null) is emptied and receives every text frame found; `layout` (when not
// null) receives the tag's layout. Frame payloads are read up to 511 bytes each, and decoding never
// leaves the bytes read. A frame size of versions 2 and 3 is read as a synchsafe number (this program's
// tags) or a plain one (other tools' tags), whichever keeps the frames in step to the end of the tag.
int ReadId3v2(ReadableFile& file, TextCodec& codec, bool first_comment_wins, Id3v2Fields* fields,
              Id3Layout* layout);

// The header of an ID3v2 tag.
struct Id3v2Header {
  int version = 0;                  // 2, 3 or 4 (version 3 with revision 1 is taken as 4)
  std::uint8_t flags = 0;           // the header's flags byte
  std::uint32_t tag_size = 0;       // the bytes after the 10-byte header, footer excluded
  std::uint32_t extended_size = 0;  // the extended header's bytes, its size field included
};

// One frame of an ID3v2 tag: where it starts, its header's bytes (6 in version 2, else 10) and the size
// of the payload after them.
struct Id3v2FrameSpan {
  std::uint64_t offset = 0;
  std::string header;
  std::uint32_t size = 0;
};

// The frames of the ID3v2 tag at the start of a file, in order.
struct Id3v2Frames {
  Id3v2Header header;
  std::vector<Id3v2FrameSpan> frames;
  std::uint64_t frames_end = 0;  // where the walk stopped: past the last frame, or where padding begins
  bool padded = false;           // a zero byte stands at frames_end where another frame header would
  bool complete = false;         // false when a frame header or payload is cut off by the end of the file
};

// Lists the frames of the ID3v2 tag at the start of `file` exactly as ReadId3v2 finds them (the same
// reading of every frame size), so that a writer copies frame by frame what the reader reads. False
// when there is no tag of version 2 to 4. Frames are not checked beyond that: an identifier may be
// anything and the last frame may run past the tag's end.
bool ListId3v2Frames(ReadableFile& file, Id3v2Frames* out);

// Reads the ID3v1 block at the end of `file` into *fields (when not null). False when there is none.
bool ReadId3v1(ReadableFile& file, TextCodec& codec, bool v1_is_unicode, Id3v1Fields* fields);

// Decodes the text of an ID3v2 frame (or a Unicode ID3v1 field) in `encoding` into code page 932: 0 is
// taken as code page 932 bytes as they are; 1 and 2 are UTF-16 up to the first zero unit (a leading FF FE
// or FE FF mark decides the byte order; without one, 2 is big-endian and 1 little-endian); 3 is UTF-8.
// Characters without a code page 932 form become "?". Never reads past `bytes`.
std::string DecodeId3Text(TextCodec& codec, int encoding, std::string_view bytes);

// The ID3 tag reader with the values of the last file it read. One per session; not safe for concurrent
// use.
class Id3Reader {
 public:
  // `fs` opens the files and `codec` decodes Unicode text; both must outlive the reader.
  Id3Reader(FileSystem& fs, TextCodec& codec) : fs_(fs), codec_(codec) {}
  Id3Reader(const Id3Reader&) = delete;
  Id3Reader& operator=(const Id3Reader&) = delete;

  // Reads the tags of the file at the engine path `path`: bit 1 an ID3v1 tag, bit 2 an ID3v2 tag, bit 4
  // the tag of another audio container (ReadContainerTags: FLAC, Ogg Vorbis/Opus, MP4/M4A, APE), 0 none.
  // Unless options.skip_extension_test, the ID3 tags are read only from a path ending in ".mp3" (any
  // case) or of 4 bytes or fewer, and the container tags only from a path ending in one of
  // kContainerTagExtensions; a path that qualifies for neither gives 0 without opening the file. Only the
  // ID3 tags are ever written, so they alone set version_string(). Probe mode only decides which tags are
  // present (version_string() and container_format() say which) and changes no item's value.
  int Read(std::string_view path, const Id3ReadOptions& options, bool probe_only);

  // Bit 4 of Read's result.
  static constexpr int kContainerTags = 4;
  // The suffixes (lower case, with the dot) of files whose container tags are read without SW_OPT[6].
  static constexpr std::string_view kContainerTagExtensions[] = {
      ".mp3", ".flac", ".ogg", ".oga", ".opus", ".m4a", ".m4b", ".mp4", ".ape", ".mpc", ".wv"};

  // Copies item `item` of the last file read into *out: 0 not found, 1 taken from ID3v1, 2 from ID3v2,
  // 4 from the container's tag. `allowed` holds bit 1 for ID3v1, bit 2 for ID3v2 and bit 4 for the
  // container's tag, which is tried last; `v1_first` (SW_OPT[9]) tries ID3v1 before ID3v2. An ID3v1 value
  // counts when its first byte is neither a space nor zero, an ID3v2 or container value when it was found.
  int GetItem(int allowed, int item, bool v1_first, std::string* out) const;

  // "1" or "0" for ID3v1, then "2" and the ID3v2 major version digit or "00": "123", "024", "000".
  const std::string& version_string() const { return version_string_; }
  // The file whose values are held (empty after a probe or before the first read).
  const std::string& loaded_path() const { return loaded_path_; }
  const Id3v1Fields& v1() const { return v1_; }
  const Id3v2Fields& v2() const { return v2_; }
  // The container tag of the last file read or probed (kNone when it had none), and its values.
  TagFormat container_format() const { return container_format_; }
  const Id3v2Fields& container_tags() const { return container_tags_; }

 private:
  FileSystem& fs_;
  TextCodec& codec_;
  std::string loaded_path_;
  std::string version_string_ = "000";
  bool has_v1_ = false;
  Id3v1Fields v1_;
  Id3v2Fields v2_;
  TagFormat container_format_ = TagFormat::kNone;
  Id3v2Fields container_tags_;
};

// The genre names, 0 to 147 ("Blues" ... "Synthpop"); empty for any other index.
std::string_view GenreName(int index);

// Puts a genre given as a number, a number in parentheses or a name into the form "(17)Rock" and returns
// its number. Empty text gives "(12)Other"; a number outside the table gives 12; a name not in the table
// is returned unchanged with 12.
int NormalizeGenre(std::string_view text, std::string* out);

}  // namespace morva

#endif  // MORVA_MEDIA_ID3_READER_H_
