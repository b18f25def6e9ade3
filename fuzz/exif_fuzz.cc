// Feeds arbitrary bytes to the Exif parser as a file, for every date kind and in probe mode. Besides
// the sanitizers' checks, the parse results must agree with each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/exif_reader.h"
#include "platform/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morva::MemoryReadableFile file(std::string(reinterpret_cast<const char*>(data), size));
  const morva::ExifParse probe = morva::ParseJpegExif(file, morva::kExifDateTimeOriginal, true);
  if (probe.values.found || !probe.date_text.empty()) std::abort();
  for (int which = 1; which <= 3; ++which) {
    const morva::ExifParse parse = morva::ParseJpegExif(file, static_cast<morva::ExifDateKind>(which), false);
    if (parse.has_exif != probe.has_exif) std::abort();
    // A date text is either absent or the 19 bytes of a stored, valid date.
    if (!parse.date_text.empty() && (parse.date_text.size() != 19 || !parse.values.found)) std::abort();
    if (!parse.has_exif && parse.values.found) std::abort();
  }
  return 0;
}
