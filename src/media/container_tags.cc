// Which container a file's tags are in, told by its first bytes.

#include "media/container_tags.h"

#include "media/byte_view.h"
#include "media/id3_reader.h"
#include "media/tag_sink.h"

namespace morva {

std::string_view TagFormatName(TagFormat format) {
  switch (format) {
    case TagFormat::kFlac: return "FLAC";
    case TagFormat::kVorbis: return "Vorbis";
    case TagFormat::kOpus: return "Opus";
    case TagFormat::kMp4: return "MP4";
    case TagFormat::kApe: return "APE";
    case TagFormat::kNone: break;
  }
  return {};
}

TagFormat ReadContainerTags(ReadableFile& file, TextCodec& codec, Id3v2Fields* fields) {
  using namespace media;
  constexpr std::size_t kSniffSize = 12;
  if (fields != nullptr) *fields = Id3v2Fields{};
  FileWindow window(file);
  TagSink sink(codec, fields);
  std::string_view head;
  if (!window.Bytes(0, kSniffSize, &head)) return TagFormat::kNone;
  TagFormat format = TagFormat::kNone;
  if (head.substr(0, 4) == "fLaC" || head.substr(0, 3) == "ID3") {
    // An ID3v2 tag may stand in front of a FLAC stream; in front of anything else the ID3 reader has it.
    if (ReadFlacTags(window, &sink)) format = TagFormat::kFlac;
  } else if (head.substr(0, 4) == "OggS") {
    ReadOggTags(window, &sink, &format);
  } else if (head.substr(4, 4) == "ftyp") {
    if (ReadMp4Tags(window, &sink)) format = TagFormat::kMp4;
  }
  // Any other file, an MP3 among them, may end in an APE tag.
  if (format == TagFormat::kNone && ReadApeTags(window, &sink)) format = TagFormat::kApe;
  return sink.found() ? format : TagFormat::kNone;
}

}  // namespace morva
