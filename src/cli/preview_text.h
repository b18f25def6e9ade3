#ifndef MORVA_CLI_PREVIEW_TEXT_H_
#define MORVA_CLI_PREVIEW_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/preview_record.h"
#include "platform/display_text.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "settings/settings_file.h"

namespace morva {

// The preview as console text (UTF-8, one line each, tab-separated): a header with the titles of the
// columns in force for `kinds`, one line per record (the number from 1, the state, "[Dir] " or
// "[File] " with the path as people read it (DisplayPath), then each column in force), and the counts
// line of the preview dialog.
// The counts are those the dialog shows: all records, those to be converted (state 1), the successes
// and the failures (state 2, excluded or not).
std::string FormatPreview(FileSystem& fs, TextCodec& codec, const std::vector<PreviewRecord>& records,
                          const std::vector<std::string>& targets, const JobSwitches& kinds);

}  // namespace morva

#endif  // MORVA_CLI_PREVIEW_TEXT_H_
