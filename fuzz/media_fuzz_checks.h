#ifndef MORVA_FUZZ_MEDIA_FUZZ_CHECKS_H_
#define MORVA_FUZZ_MEDIA_FUZZ_CHECKS_H_

// What every media container's fuzz target asks of the reader it feeds, whatever the bytes: the
// invariants of an Exif parse, and the agreement of a tag reader's full read, its probe and the
// dispatch by content.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "media/container_tags.h"
#include "media/exif_reader.h"
#include "media/exif_sources.h"
#include "media/exif_tiff.h"
#include "media/id3_reader.h"
#include "media/tag_sink.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

namespace morva::fuzz {

inline MemoryReadableFile FileOf(const std::uint8_t* data, std::size_t size) {
  return MemoryReadableFile(std::string(reinterpret_cast<const char*>(data), size));
}

// A date text is either absent or the 19 bytes of a stored, valid date; values need a valid header.
inline void CheckParse(const ExifParse& parse) {
  if (!parse.date_text.empty() && (parse.date_text.size() != 19 || !parse.values.found)) std::abort();
  if (!parse.has_exif && parse.values.found) std::abort();
}

// An Exif block a container reader found: within its bound, parsed well formed for every date kind,
// and the whole file through the dispatch by content as well.
inline void CheckExifBlock(const std::string& block, ReadableFile& file) {
  if (block.size() > media::kMaxExifBlock) std::abort();
  for (int which = 1; which <= 3; ++which) {
    CheckParse(exif::ParseExifBlock(block, static_cast<ExifDateKind>(which), false));
  }
  CheckParse(ParseMediaExif(file, kExifDateTimeOriginal, false));
}

// A reader that parses dates itself (`parse(kind, probe_only)`): the probe finds a header and no
// values, every full parse finds the same header and is well formed, and so is the dispatch.
template <typename Parse>
void CheckDateParser(ReadableFile& file, Parse parse) {
  const ExifParse probe = parse(kExifDateTimeOriginal, true);
  if (probe.values.found || !probe.date_text.empty()) std::abort();
  for (int which = 1; which <= 3; ++which) {
    const ExifParse full = parse(static_cast<ExifDateKind>(which), false);
    if (full.has_exif != probe.has_exif) std::abort();
    CheckParse(full);
  }
  CheckParse(ParseMediaExif(file, kExifDateTimeOriginal, false));
}

// A tag reader (`read(window, sink)`) run as a full read and as a probe: the probe finds what the full
// read finds, a text item stays within its bound, and the dispatch by content agrees with itself.
template <typename Read>
void CheckTagReader(ReadableFile& file, Read read) {
  static const std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  media::FileWindow window(file);
  Id3v2Fields fields;
  media::TagSink sink(*codec, &fields);
  media::TagSink probe(*codec, nullptr);
  read(window, &sink);
  read(window, &probe);
  if (sink.found() != probe.found()) std::abort();
  if (fields.title && fields.title->size() > 2 * 511) std::abort();
  Id3v2Fields dispatched;
  const TagFormat format = ReadContainerTags(file, *codec, &dispatched);
  if (ReadContainerTags(file, *codec, nullptr) != format) std::abort();
}

}  // namespace morva::fuzz

#endif  // MORVA_FUZZ_MEDIA_FUZZ_CHECKS_H_
