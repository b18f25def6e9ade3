#ifndef MORVA_LOG_JOB_SUMMARY_H_
#define MORVA_LOG_JOB_SUMMARY_H_

#include <string>

#include "core/conversion_settings.h"

namespace morva {

class TextCodec;

// The summary of a job that follows "変換機能：" in a run's header: one bracketed fragment per part
// of the job in use (the name rule and its options, extension handling, attributes, times, deletion,
// ID3 conversion), in that order, code page 932. Empty when the job does nothing. The log reader only
// looks at its beginning: a summary that is empty or starts with the deletion or ID3 fragment marks a
// run that cannot be undone.
std::string JobSummary(TextCodec& codec, const ConversionSettings& settings);

}  // namespace morva

#endif  // MORVA_LOG_JOB_SUMMARY_H_
