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

// True when the photograph or video `path` carries the Exif date item chosen by OPT_2 (ExifReader says
// which files are read); then *date_text (when not null) receives its text "YYYY:MM:DD hh:mm:ss", always
// in this form.
bool HasExifDate(ExifReader& exif, const AppSettings& app, std::string_view path, std::string* date_text);

// Which tags the file `path` carries: the ID3 tags of an MP3 file, which the ID3 conversion may change,
// and the tag of another audio container, which only the rules read.
struct Id3Presence {
  bool v1 = false;
  bool v2 = false;
  int v2_minor = 0;  // the version digit shown after "ID3v2.": 3 for an ID3v2.3 tag
  TagFormat container = TagFormat::kNone;
};

// True when `path` carries an ID3v1 or ID3v2 tag or a container's tag; then *presence (when not null)
// says which.
bool HasId3Tag(Id3Reader& id3, const AppSettings& app, std::string_view path, Id3Presence* presence);

}  // namespace morva

#endif  // MORVA_ENGINE_MEDIA_PROBE_H_
