#ifndef MORVA_RENAME_DATE_RULE_H_
#define MORVA_RENAME_DATE_RULE_H_

// Name rule 5, "日時による名称変換": the rule text becomes a prefix and a date taken from one of the
// target's times or from the Exif date of a photograph, with the time of day, the weekday and a serial
// number per date text as the job asks.

#include <string>
#include <string_view>

namespace morva {

struct NameRuleInputs;

// The day of the week (0 Sunday to 6 Saturday) of an eight-digit date text "YYYYMMDD", or -1 when the
// text is shorter, holds a non-digit among its first 8 bytes, or names a year outside 1900-9999 or a day
// the calendar does not have.
int WeekdayOf(std::string_view yyyymmdd);

// The weekday name of `style` (1 "Sun", 2 "Sunday", 3 "日", 4 "日曜日"; code page 932) for day 0-6.
std::string WeekdayName(int style, int weekday);

// Replaces *text by the date name of the target of `in`. Returns 0, or the failure bit with *text unchanged:
// 0x100 when the name would pass 260 bytes, 0x200 when the target's time has no local date.
unsigned BuildDateName(const NameRuleInputs& in, std::string* text);

}  // namespace morva

#endif  // MORVA_RENAME_DATE_RULE_H_
