#ifndef MORVA_FILEOPS_DATE_TIME_TEXT_H_
#define MORVA_FILEOPS_DATE_TIME_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_time.h"

// The short texts by which dates, times and attribute sets cross the program: the direct dates and
// times of a timestamp job, the times in the log and the undo records, the log-line time stamps and the
// attribute letters. Every text is local time; every value exchanged with the file system is a file
// time. None of these functions shows a message: callers decide what a failure means.
//
//   date text       "YYYY/MM/DD" (10 bytes; "-" and ":" are accepted as separators on input)
//   time text       "hh:mm:ss" (8 bytes) or "hh:mm:ss.SSS" (12 bytes, with milliseconds)
//   date-time text  "YYYY/MM/DD hh:mm:ss.SSS" (23 bytes) or compact "YYYYMMDDhhmmssSSS" (17 digits)
//   time stamp      "YYYY/MM/DD hh:mm:ss" (19 bytes), the start of every log line
//   attributes      the letters D S R H A of the set attributes, in that order
namespace morva {

// True when `date` and `time` are acceptable as a direct date and time.
//
// A non-empty date has 10 bytes with "-", "/" or ":" at offsets 4 and 7, a four-digit year of at least
// 1900, a month 01-12 (first digit 0 or 1) and a day whose first digit is 0-3, from 1 to the length of
// the month (February has 29 days in years divisible by 4 but not by 100, and in years divisible by 400).
// A non-empty time is 8 bytes "hh:mm:ss", or 12 bytes with "." at offset 8 and three digits of
// milliseconds; hours 00-23 (first digit 0-2), minutes and seconds 00-59 (first digit 0-5). Every digit
// position must hold a decimal digit. An empty date or time is valid only when `allow_empty` is true.
bool validate_date_time(std::string_view date, std::string_view time, bool allow_empty);

// Reads a local date (exactly 10 bytes; year at 0, month at 5, day at 8, separators not examined) and a
// local time (8 bytes "hh:mm:ss", or 12 bytes with three millisecond digits at offset 9; the point is not
// examined) and stores the moment as a file time in *out. Returns false, leaving *out alone, when a length
// is wrong, a digit position holds something else than a digit, or the host rejects the calendar value.
// A time of 9 to 11 bytes is refused: its millisecond digits would lie past its end.
bool local_text_to_file_time(std::string_view date, std::string_view time, FileTime* out);

// Reads a 19-byte time stamp "YYYY/MM/DD hh:mm:ss" (separators not examined) into *out, milliseconds 0
// and the day of the week filled in. Returns false, leaving *out alone, on any other length, a non-digit
// in a digit position or an invalid calendar value.
bool parse_time_stamp(std::string_view text, CalendarTime* out);

// Replaces *out by `ft` in local time, as "YYYY/MM/DD hh:mm:ss.SSS" when `with_separators`, else as the
// 17 sortable digits "YYYYMMDDhhmmssSSS". Returns false, leaving *out alone, when the host cannot express
// the time in local time.
bool format_file_time(FileTime ft, bool with_separators, std::string* out);

// The attribute letters of the kAttr* bits set in `attributes` ("D" directory, "S" system, "R" read-only,
// "H" hidden, "A" archive, in that order); empty when none is set. Cannot fail.
std::string format_attributes(std::uint32_t attributes);

}  // namespace morva

#endif  // MORVA_FILEOPS_DATE_TIME_TEXT_H_
