// Feeds arbitrary bytes to the movie reader as a file: the box walk to the movie header and the QuickTime
// metadata's keys and items, for every date kind and in probe mode; the results must agree.
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
  const morva::ExifParse probe = morva::media::ParseQuickTime(window, morva::kExifDateTimeOriginal, true);
  if (probe.values.found || !probe.date_text.empty()) std::abort();
  for (int which = 1; which <= 3; ++which) {
    const morva::ExifParse parse = morva::media::ParseQuickTime(window, static_cast<morva::ExifDateKind>(which), false);
    if (parse.has_exif != probe.has_exif) std::abort();
    CheckParse(parse);
  }
  CheckParse(morva::ParseMediaExif(file, morva::kExifDateTimeOriginal, false));
  return 0;
}
