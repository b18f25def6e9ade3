#include "fileops/date_time_text.h"

#include <cstdio>

#include "platform/file_system.h"

namespace morva {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number of text[offset, offset + count), or -1 when the range runs past the end or holds a
// byte that is not a digit.
int ReadDigits(std::string_view text, std::size_t offset, std::size_t count) {
  if (offset > text.size() || count > text.size() - offset) return -1;
  int value = 0;
  for (std::size_t i = offset; i < offset + count; ++i) {
    if (!IsDigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool IsDateSeparator(char c) { return c == '-' || c == '/' || c == ':'; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

// The value bounds below also enforce the first-digit rules (month 0-1, day 0-3, hour 0-2, minute and
// second 0-5), since every position has already been checked to be a digit.
bool IsValidDate(std::string_view date) {
  if (date.size() != 10 || !IsDateSeparator(date[4]) || !IsDateSeparator(date[7])) return false;
  const int year = ReadDigits(date, 0, 4);
  const int month = ReadDigits(date, 5, 2);
  const int day = ReadDigits(date, 8, 2);
  if (year < 1900 || month < 1 || month > 12 || day < 1) return false;  // a non-digit reads as -1
  return day <= DaysInMonth(year, month);
}

bool IsValidTime(std::string_view time) {
  if (time.size() != 8 && time.size() != 12) return false;
  if (time[2] != ':' || time[5] != ':') return false;
  if (time.size() == 12 && (time[8] != '.' || ReadDigits(time, 9, 3) < 0)) return false;
  const int hour = ReadDigits(time, 0, 2);
  const int minute = ReadDigits(time, 3, 2);
  const int second = ReadDigits(time, 6, 2);
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

}  // namespace

bool validate_date_time(std::string_view date, std::string_view time, bool allow_empty) {
  if (date.empty() ? !allow_empty : !IsValidDate(date)) return false;
  if (time.empty() ? !allow_empty : !IsValidTime(time)) return false;
  return true;
}

bool local_text_to_file_time(std::string_view date, std::string_view time, FileTime* out) {
  if (date.size() != 10 || time.size() < 8 || time.size() > 12) return false;
  CalendarTime local;
  local.year = ReadDigits(date, 0, 4);
  local.month = ReadDigits(date, 5, 2);
  local.day = ReadDigits(date, 8, 2);
  local.hour = ReadDigits(time, 0, 2);
  local.minute = ReadDigits(time, 3, 2);
  local.second = ReadDigits(time, 6, 2);
  local.millisecond = time.size() > 8 ? ReadDigits(time, 9, 3) : 0;
  if (local.year < 0 || local.month < 0 || local.day < 0 || local.hour < 0 || local.minute < 0 || local.second < 0 ||
      local.millisecond < 0) {
    return false;
  }
  return LocalToFileTime(local, out);
}

bool parse_time_stamp(std::string_view text, CalendarTime* out) {
  if (text.size() != 19) return false;
  CalendarTime t;
  t.year = ReadDigits(text, 0, 4);
  t.month = ReadDigits(text, 5, 2);
  t.day = ReadDigits(text, 8, 2);
  t.hour = ReadDigits(text, 11, 2);
  t.minute = ReadDigits(text, 14, 2);
  t.second = ReadDigits(text, 17, 2);
  t.millisecond = 0;
  // IsValidCalendarTime refuses the -1 of a non-digit as well as an impossible date.
  FileTime as_utc = 0;
  if (!UtcToFileTime(t, &as_utc)) return false;
  CalendarTime with_weekday;
  FileTimeToUtc(as_utc, &with_weekday);
  t.day_of_week = with_weekday.day_of_week;
  *out = t;
  return true;
}

bool format_file_time(FileTime ft, bool with_separators, std::string* out) {
  CalendarTime t;
  if (!FileTimeToLocal(ft, &t)) return false;
  // Large enough for any int fields, so snprintf never truncates.
  char buffer[96];
  const int n = with_separators ? std::snprintf(buffer, sizeof(buffer), "%04d/%02d/%02d %02d:%02d:%02d.%03d", t.year,
                                                t.month, t.day, t.hour, t.minute, t.second, t.millisecond)
                                : std::snprintf(buffer, sizeof(buffer), "%04d%02d%02d%02d%02d%02d%03d", t.year, t.month,
                                                t.day, t.hour, t.minute, t.second, t.millisecond);
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof(buffer)) return false;
  out->assign(buffer, static_cast<std::size_t>(n));
  return true;
}

std::string format_attributes(std::uint32_t attributes) {
  static constexpr struct {
    std::uint32_t bit;
    char letter;
  } kLetters[] = {
      {kAttrDirectory, 'D'}, {kAttrSystem, 'S'}, {kAttrReadOnly, 'R'}, {kAttrHidden, 'H'}, {kAttrArchive, 'A'},
  };
  std::string letters;
  for (const auto& entry : kLetters) {
    if (attributes & entry.bit) letters.push_back(entry.letter);
  }
  return letters;
}

}  // namespace morva
