#ifndef MORVA_ENGINE_MEDIA_PROBE_H_
#define MORVA_ENGINE_MEDIA_PROBE_H_

#include <string>
#include <string_view>

#include "core/app_settings.h"
#include "media/exif_reader.h"
#include "media/id3_reader.h"

namespace morva {

// The engine's only calls into the media readers: the Exif filter and sort key, the ID3 filter and the
// markers of the target list window all ask through these, with the program options in force.

// True when the JPEG file `path` carries the Exif date item chosen by OPT_2; then *date_text (when not
// null) receives its text "YYYY:MM:DD hh:mm:ss", always in this form.
bool HasExifDate(ExifReader& exif, const AppSettings& app, std::string_view path, std::string* date_text);

// Which ID3 tags the MP3 file `path` carries.
struct Id3Presence {
  bool v1 = false;
  bool v2 = false;
  int v2_minor = 0;  // the version digit shown after "ID3v2.": 3 for an ID3v2.3 tag
};

// True when `path` carries an ID3v1 or ID3v2 tag; then *presence (when not null) says which.
bool HasId3Tag(Id3Reader& id3, const AppSettings& app, std::string_view path, Id3Presence* presence);

}  // namespace morva

#endif  // MORVA_ENGINE_MEDIA_PROBE_H_
