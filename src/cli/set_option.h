#ifndef MORVA_CLI_SET_OPTION_H_
#define MORVA_CLI_SET_OPTION_H_

#include <string>
#include <string_view>

#include "cli/console_text.h"
#include "core/app_settings.h"
#include "core/conversion_settings.h"
#include "platform/text_codec.h"
#include "settings/settings_file.h"

namespace morva {

// Applies one --set argument ("KEY=VALUE", UTF-8; "KEY = VALUE" as in the file is accepted too) to the
// job or the application settings, through the same rules the settings file's reader applies to the
// line "KEY = VALUE". Unlike the reader, which skips what it cannot take, it reports it: returns false
// with a one-line reason (UTF-8) in *error, leaving both records unchanged, when the argument has no
// "=", the key is empty or longer than 16 bytes, the text has no code page 932 form or holds a line
// break, the key is none of the settings keys, or the value is refused. A value that changes nothing
// counts as accepted only when it is written exactly as the settings file writes that value. A refusal
// lists the values the key takes in the language of `text`.
bool ApplySetOption(TextCodec& codec, const ConsoleText& text, std::string_view argument,
                    const DesktopGeometry& desktop, ConversionSettings* job, AppSettings* app, std::string* error);

}  // namespace morva

#endif  // MORVA_CLI_SET_OPTION_H_
