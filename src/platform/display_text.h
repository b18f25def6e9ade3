#ifndef MORVA_PLATFORM_DISPLAY_TEXT_H_
#define MORVA_PLATFORM_DISPLAY_TEXT_H_

#include <string>
#include <string_view>

namespace morva {

class FileSystem;
class TextCodec;

// The UTF-8 form of an engine text for a person to read. A character without a Unicode form (the text is
// only ever shown, never used again) appears as "\xNN" escapes of its bytes instead of failing the whole
// text, so a broken name stays readable rather than becoming a row of replacement characters.
std::string DisplayText(TextCodec& codec, std::string_view cp932);

// The UTF-8 form of an engine path for a person to read: its host path ("/home/me/a.jpg") when it has
// one, so that people read the paths they know; otherwise (a share not mounted, another drive, a text
// that is no path at all such as a log's "3ファイル", bytes without a Unicode form) the text as it
// stands, through DisplayText. Engine paths stay the form of the engine, the settings and the log.
std::string DisplayPath(FileSystem& fs, TextCodec& codec, std::string_view engine_path);

}  // namespace morva

#endif  // MORVA_PLATFORM_DISPLAY_TEXT_H_
