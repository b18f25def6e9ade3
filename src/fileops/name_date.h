#ifndef MORVA_FILEOPS_NAME_DATE_H_
#define MORVA_FILEOPS_NAME_DATE_H_

#include <string_view>

#include "platform/file_time.h"

namespace morva {

// How a date is written in file names (the timestamp job's "ファイル名を基にした日時").
enum class NameDateFormat { kFourDigitYear = 0, kTwoDigitYear = 1 };  // YYYYMMDD, YYMMDD
enum class NameTimeFormat { kNone = 0, kMilliseconds = 1, kSeconds = 2, kMinutes = 3 };  // -, hhmmssSSS, hhmmss, hhmm

// Finds the first date (and time, as `time_format` asks) in `base_name` (a name without its extension, code
// page 932) and stores it, read as local time, in *out. The fields follow one another in the order year,
// month, day, hour, minute, second, milliseconds, each of fixed width (year 4 digits or 2, milliseconds
// 3, the others 2) and within its range (year 1980-2200, a two-digit year below 80 from 2000, else from
// 1900; month 1-12, day 1-31, hour 0-23, minute and second 0-59), with at most one other character
// between two fields; a two-byte character is one such character. A field that does not fit starts the
// search again with a year one byte further on. A date the calendar does not have (February 30th) fails.
// Returns false, leaving *out alone, when no complete date is found.
bool date_from_file_name(std::string_view base_name, NameDateFormat date_format, NameTimeFormat time_format,
                         FileTime* out);

}  // namespace morva

#endif  // MORVA_FILEOPS_NAME_DATE_H_
