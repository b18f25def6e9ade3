#include "engine/media_probe.h"

namespace morva {

bool HasExifDate(ExifReader& exif, const AppSettings& app, std::string_view path, std::string* date_text) {
  exif.ReadDate(path, 0, app.opt_2, app.sw_opt[AppSettings::kOptDetectByContent], false);
  const std::string& text = exif.result_text();
  if (text.empty()) return false;
  if (date_text != nullptr) {
    // A second question about the same file is answered from the reader's cache in the form with '/';
    // sort keys compare bytes, so every date is handed out in the form files store.
    *date_text = text;
    for (std::size_t at : {4, 7}) {
      if (date_text->size() > at) (*date_text)[at] = ':';
    }
  }
  return true;
}

bool HasId3Tag(Id3Reader& id3, const AppSettings& app, std::string_view path, Id3Presence* presence) {
  Id3ReadOptions options;
  options.skip_extension_test = app.sw_opt[AppSettings::kOptDetectByContent];
  const int versions = id3.Read(path, options, true);
  if (versions == 0) return false;
  if (presence != nullptr) {
    const std::string& v = id3.version_string();
    presence->v1 = (versions & 1) != 0;
    presence->v2 = (versions & 2) != 0;
    presence->v2_minor = v.size() == 3 && v[2] >= '0' && v[2] <= '9' ? v[2] - '0' : 0;
    presence->container = id3.container_format();
  }
  return true;
}

}  // namespace morva
