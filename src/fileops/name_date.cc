#include "fileops/name_date.h"

#include <cstdio>
#include <string>

#include "fileops/date_time_text.h"
#include "platform/cp932.h"

namespace morva {
namespace {

enum Field { kYear, kMonth, kDay, kHour, kMinute, kSecond, kMillisecond };

// The field after which the date is complete for a time format.
Field LastField(NameTimeFormat time_format) {
  switch (time_format) {
    case NameTimeFormat::kMilliseconds:
      return kMillisecond;
    case NameTimeFormat::kSeconds:
      return kSecond;
    case NameTimeFormat::kMinutes:
      return kMinute;
    case NameTimeFormat::kNone:
      break;
  }
  return kDay;
}

bool InRange(Field field, int* value, bool two_digit_year) {
  switch (field) {
    case kYear:
      if (two_digit_year) *value += *value < 80 ? 2000 : 1900;
      return *value >= 1980 && *value <= 2200;
    case kMonth:
      return *value >= 1 && *value <= 12;
    case kDay:
      return *value >= 1 && *value <= 31;
    case kHour:
      return *value <= 23;
    case kMinute:
    case kSecond:
      return *value <= 59;
    case kMillisecond:
      return true;
  }
  return false;
}

// Reads `width` digits at `at`; false when one of them is not a digit or lies past the end.
bool ReadDigits(std::string_view text, std::size_t at, std::size_t width, int* value) {
  if (at + width > text.size()) return false;
  *value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    *value = *value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

bool date_from_file_name(std::string_view base_name, NameDateFormat date_format, NameTimeFormat time_format,
                         FileTime* out) {
  const bool two_digit_year = date_format == NameDateFormat::kTwoDigitYear;
  const Field last = LastField(time_format);
  int values[kMillisecond + 1] = {};
  Field field = kYear;
  int separators = 0;  // characters other than digits since the last field
  std::size_t i = 0;
  bool complete = false;
  while (i < base_name.size() && !complete) {
    const unsigned char byte = static_cast<unsigned char>(base_name[i]);
    if (byte < '0' || byte > '9') {
      i += cp932::IsLeadByte(byte) && i + 1 < base_name.size() ? 2 : 1;
      if (field != kYear && ++separators > 1) field = kYear;
      continue;
    }
    const std::size_t width = field == kYear ? (two_digit_year ? 2 : 4) : field == kMillisecond ? 3 : 2;
    int value = 0;
    if (!ReadDigits(base_name, i, width, &value) || !InRange(field, &value, two_digit_year)) {
      // Start again with a year one byte further on.
      field = kYear;
      separators = 0;
      ++i;
      continue;
    }
    values[field] = value;
    i += width;
    separators = 0;
    if (field == last) {
      complete = true;
    } else {
      field = static_cast<Field>(field + 1);
    }
  }
  if (!complete) return false;

  char date[16];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", values[kYear], values[kMonth], values[kDay]);
  char time[16];
  if (last == kMillisecond) {
    std::snprintf(time, sizeof time, "%02d:%02d:%02d.%03d", values[kHour], values[kMinute], values[kSecond],
                  values[kMillisecond]);
  } else {
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", values[kHour], values[kMinute], values[kSecond]);
  }
  if (!validate_date_time(date, time, false)) return false;
  return local_text_to_file_time(date, time, out);
}

}  // namespace morva
