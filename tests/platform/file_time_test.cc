#include "platform/file_time.h"

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

namespace morva {
namespace {

// Runs the body with TZ set to `zone`, restoring the previous zone afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (had_) setenv("TZ", old_.c_str(), 1); else unsetenv("TZ");
    tzset();
  }

 private:
  std::string old_;
  bool had_ = false;
};

TEST(FileTimeTest, UnixEpochAndTimespecRoundTrip) {
  struct timespec epoch {};
  EXPECT_EQ(FileTimeFromTimespec(epoch), kUnixEpochFileTime);
  struct timespec ts {1700000000, 123456700};
  EXPECT_EQ(TimespecFromFileTime(FileTimeFromTimespec(ts)).tv_sec, ts.tv_sec);
  EXPECT_EQ(TimespecFromFileTime(FileTimeFromTimespec(ts)).tv_nsec, ts.tv_nsec);
  struct timespec before_1970 {-86400, 0};
  EXPECT_EQ(FileTimeFromTimespec(before_1970), kUnixEpochFileTime - 86400 * kTicksPerSecond);
  EXPECT_EQ(TimespecFromFileTime(kUnixEpochFileTime - 86400 * kTicksPerSecond).tv_sec, -86400);
}

TEST(FileTimeTest, UtcCalendarAroundLeapDaysAndWeekdays) {
  CalendarTime t{2000, 2, 29, 23, 59, 58, 999};
  FileTime ft = 0;
  ASSERT_TRUE(UtcToFileTime(t, &ft));
  CalendarTime back;
  ASSERT_TRUE(FileTimeToUtc(ft, &back));
  EXPECT_EQ(back.year, 2000);
  EXPECT_EQ(back.month, 2);
  EXPECT_EQ(back.day, 29);
  EXPECT_EQ(back.second, 58);
  EXPECT_EQ(back.millisecond, 999);
  EXPECT_EQ(back.day_of_week, 2);  // a Tuesday

  ASSERT_TRUE(FileTimeToUtc(0, &back));
  EXPECT_EQ(back.year, 1601);
  EXPECT_EQ(back.day_of_week, 1);  // 1601-01-01 was a Monday

  EXPECT_FALSE(UtcToFileTime(CalendarTime{1900, 2, 29}, &ft));
  EXPECT_FALSE(UtcToFileTime(CalendarTime{2013, 2, 29}, &ft));
  EXPECT_FALSE(UtcToFileTime(CalendarTime{2013, 13, 1}, &ft));
  EXPECT_FALSE(UtcToFileTime(CalendarTime{2013, 1, 1, 24}, &ft));
}

TEST(FileTimeTest, LocalConversionFollowsTheProcessTimeZone) {
  ScopedTimeZone tokyo("JST-9");  // a POSIX zone string: no tzdata needed
  CalendarTime local{2024, 1, 2, 9, 0, 0, 250};
  FileTime ft = 0;
  ASSERT_TRUE(LocalToFileTime(local, &ft));
  CalendarTime utc;
  ASSERT_TRUE(FileTimeToUtc(ft, &utc));
  EXPECT_EQ(utc.day, 2);
  EXPECT_EQ(utc.hour, 0);
  EXPECT_EQ(utc.millisecond, 250);

  CalendarTime back;
  ASSERT_TRUE(FileTimeToLocal(ft, &back));
  EXPECT_EQ(back.hour, 9);
  EXPECT_EQ(back.millisecond, 250);
  EXPECT_EQ(back.day_of_week, 2);

  EXPECT_FALSE(LocalToFileTime(CalendarTime{2023, 2, 29}, &ft));
}

}  // namespace
}  // namespace morva
