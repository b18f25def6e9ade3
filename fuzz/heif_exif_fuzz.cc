// Feeds arbitrary bytes to the HEIF reader as a file: the meta box, its item information and location
// tables and the Exif item they point at.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/exif_reader.h"
#include "media/exif_sources.h"
#include "media/exif_tiff.h"
#include "platform/memory_file.h"

namespace {

// A date text is either absent or the 19 bytes of a stored, valid date; values need a valid header.
void CheckParse(const morva::ExifParse& parse) {
  if (!parse.date_text.empty() && (parse.date_text.size() != 19 || !parse.values.found)) std::abort();
  if (!parse.has_exif && parse.values.found) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file(std::string(reinterpret_cast<const char*>(data), size));
  morva::media::FileWindow window(file);
  std::string block;
  if (!morva::media::FindHeifExif(window, &block)) return 0;
  if (block.size() > morva::media::kMaxExifBlock) std::abort();
  for (int which = 1; which <= 3; ++which) {
    CheckParse(morva::exif::ParseExifBlock(block, static_cast<morva::ExifDateKind>(which), false));
  }
  // Through the reader's dispatch by content, the same bytes give a parse as well formed.
  CheckParse(morva::ParseMediaExif(file, morva::kExifDateTimeOriginal, false));
  return 0;
}
