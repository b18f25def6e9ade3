#include "platform/file_time.h"

#include <cstdint>
#include <ctime>

namespace morva {
namespace {

constexpr std::int64_t kTicksPerMillisecond = 10000;
constexpr std::int64_t kSecondsPerDay = 86400;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochDeltaSeconds = 11644473600LL;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, CalendarTime* out) {
  z += 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out->year = static_cast<int>(yoe + era * 400 + (m <= 2));
  out->month = m;
  out->day = d;
}

}  // namespace

FileTime FileTimeFromTimespec(const struct timespec& ts) {
  const std::int64_t seconds = static_cast<std::int64_t>(ts.tv_sec) + kEpochDeltaSeconds;
  if (seconds < 0) return 0;
  return static_cast<FileTime>(seconds) * kTicksPerSecond + static_cast<FileTime>(ts.tv_nsec / 100);
}

struct timespec TimespecFromFileTime(FileTime ft) {
  struct timespec ts {};
  ts.tv_sec = static_cast<time_t>(static_cast<std::int64_t>(ft / kTicksPerSecond) - kEpochDeltaSeconds);
  ts.tv_nsec = static_cast<long>((ft % kTicksPerSecond) * 100);
  return ts;
}

FileTime CurrentFileTime() {
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  return FileTimeFromTimespec(now);
}

bool IsValidCalendarTime(const CalendarTime& t) {
  if (t.year < 1601 || t.year > 30827) return false;
  if (t.month < 1 || t.month > 12) return false;
  if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return false;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59) return false;
  if (t.second < 0 || t.second > 59 || t.millisecond < 0 || t.millisecond > 999) return false;
  return true;
}

bool FileTimeToUtc(FileTime ft, CalendarTime* out) {
  const std::int64_t total_seconds = static_cast<std::int64_t>(ft / kTicksPerSecond) - kEpochDeltaSeconds;
  const std::int64_t days = FloorDiv(total_seconds, kSecondsPerDay);
  const std::int64_t rest = total_seconds - days * kSecondsPerDay;
  CivilFromDays(days, out);
  out->hour = static_cast<int>(rest / 3600);
  out->minute = static_cast<int>(rest / 60 % 60);
  out->second = static_cast<int>(rest % 60);
  out->millisecond = static_cast<int>(ft % kTicksPerSecond / kTicksPerMillisecond);
  out->day_of_week = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
  return true;
}

bool UtcToFileTime(const CalendarTime& utc, FileTime* out) {
  if (!IsValidCalendarTime(utc)) return false;
  const std::int64_t seconds = DaysFromCivil(utc.year, utc.month, utc.day) * kSecondsPerDay +
                               utc.hour * 3600 + utc.minute * 60 + utc.second + kEpochDeltaSeconds;
  if (seconds < 0) return false;
  *out = static_cast<FileTime>(seconds) * kTicksPerSecond +
         static_cast<FileTime>(utc.millisecond) * kTicksPerMillisecond;
  return true;
}

bool FileTimeToLocal(FileTime ft, CalendarTime* out) {
  const time_t seconds =
      static_cast<time_t>(static_cast<std::int64_t>(ft / kTicksPerSecond) - kEpochDeltaSeconds);
  struct tm fields {};
  if (localtime_r(&seconds, &fields) == nullptr) return false;
  out->year = fields.tm_year + 1900;
  out->month = fields.tm_mon + 1;
  out->day = fields.tm_mday;
  out->hour = fields.tm_hour;
  out->minute = fields.tm_min;
  out->second = fields.tm_sec > 59 ? 59 : fields.tm_sec;  // a leap second reads as :59
  out->millisecond = static_cast<int>(ft % kTicksPerSecond / kTicksPerMillisecond);
  out->day_of_week = fields.tm_wday;
  return true;
}

bool LocalToFileTime(const CalendarTime& local, FileTime* out) {
  if (!IsValidCalendarTime(local)) return false;
  struct tm fields {};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  fields.tm_isdst = -1;
  // mktime returns -1 both for failure and for 1969-12-31 23:59:59 UTC; tm_wday tells them apart.
  fields.tm_wday = -1;
  const time_t seconds = mktime(&fields);
  if (seconds == static_cast<time_t>(-1) && fields.tm_wday == -1) return false;
  const std::int64_t since_1601 = static_cast<std::int64_t>(seconds) + kEpochDeltaSeconds;
  if (since_1601 < 0) return false;
  *out = static_cast<FileTime>(since_1601) * kTicksPerSecond +
         static_cast<FileTime>(local.millisecond) * kTicksPerMillisecond;
  return true;
}

}  // namespace morva
