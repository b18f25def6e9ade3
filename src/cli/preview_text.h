#ifndef MORVA_CLI_PREVIEW_TEXT_H_
#define MORVA_CLI_PREVIEW_TEXT_H_

#include <string>
#include <string_view>

#include "cli/console_text.h"
#include "cli/target_report.h"
#include "core/job_switches.h"
#include "core/preview_record.h"
#include "core/target_work.h"
#include "log/run_block.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {

// The row of one preview record for the target at engine path `path`, whose new name goes in
// `destination_directory` (an engine path ending with a backslash: its own directory, or the output
// directory of a copy conversion). The state word says what a run would do (kStateChange, kStateFail,
// kStateUnchanged); a failure's reason is the text of each column that fails, as the preview dialog
// shows it; `failures` names the steps that fail. The details are the columns in force for `kinds`
// besides the name, with the dialog's titles. Titles, cells and reasons are in the language of `text`;
// names are never translated.
ReportRow PreviewRow(FileSystem& fs, TextCodec& codec, const ConsoleText& text, const PreviewRecord& record,
                     std::string_view path, std::string_view destination_directory, const JobSwitches& kinds);

// The row of one target a run finished: `path` its engine path then, `work` what the run did. The state
// is kStateChanged, kStatePartial, kStateUnchanged or kStateFailed as the run's counters class it; the
// reason is the failure tags of its log line (`tags`), in the language of `text`.
ReportRow RunRow(FileSystem& fs, TextCodec& codec, const ConsoleText& text, const TargetLineComposer& tags,
                 std::string_view path, const TargetWork& work);

// What a preview predicts, as its dialog counts it: all records, those to be converted (state 1), the
// successes and the failures (state 2, excluded or not).
struct PreviewCounts {
  int total = 0;
  int to_convert = 0;
  int succeeded = 0;
  int failed = 0;
};
void CountPreviewRecord(const PreviewRecord& record, PreviewCounts* counts);

// The counts line of the preview dialog, in the language of `text`.
std::string PreviewCountsLine(const PreviewCounts& counts, const ConsoleText& text);

}  // namespace morva

#endif  // MORVA_CLI_PREVIEW_TEXT_H_
