#ifndef MORVA_PLATFORM_FILE_TIME_H_
#define MORVA_PLATFORM_FILE_TIME_H_

#include <cstdint>
#include <ctime>

namespace morva {

// A file time: 100-nanosecond ticks since 1601-01-01 00:00:00 UTC, the unit every stored time uses.
using FileTime = std::uint64_t;

// 1970-01-01 00:00:00 UTC as a file time.
inline constexpr FileTime kUnixEpochFileTime = 116444736000000000ULL;
inline constexpr FileTime kTicksPerSecond = 10000000ULL;

// Calendar fields of a point in time, with milliseconds. `day_of_week` is 0 for Sunday; it is an output
// only (ignored by LocalToFileTime).
struct CalendarTime {
  int year = 1601;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int day_of_week = 0;
};

// Host time <-> file time. Times before 1601 clamp to 0; sub-tick nanoseconds are dropped.
FileTime FileTimeFromTimespec(const struct timespec& ts);
struct timespec TimespecFromFileTime(FileTime ft);

// The current time of the host's real-time clock.
FileTime CurrentFileTime();

// True when year/month/day/hour/minute/second/millisecond name a real moment of the Gregorian calendar
// (1601 or later).
bool IsValidCalendarTime(const CalendarTime& t);

// The file time as calendar fields in the process's local time zone (localtime_r). False when the host
// cannot represent it.
bool FileTimeToLocal(FileTime ft, CalendarTime* out);

// Local calendar fields (the process's time zone, daylight saving decided by the host, mktime) to a file
// time. False on an invalid calendar value (IsValidCalendarTime) or a time the host cannot represent;
// a local time inside a daylight-saving gap is taken as the host normalises it.
bool LocalToFileTime(const CalendarTime& local, FileTime* out);

// Universal-time calendar fields <-> file time, independent of the time zone.
bool FileTimeToUtc(FileTime ft, CalendarTime* out);
bool UtcToFileTime(const CalendarTime& utc, FileTime* out);

}  // namespace morva

#endif  // MORVA_PLATFORM_FILE_TIME_H_
