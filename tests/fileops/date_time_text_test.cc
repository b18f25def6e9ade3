#include "fileops/date_time_text.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace morva {
namespace {

// Sets TZ for the lifetime of the object and restores the previous zone afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
      old_ = old;
      had_ = true;
    }
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (had_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::string old_;
  bool had_ = false;
};

FileTime Utc(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  FileTime ft = 0;
  EXPECT_TRUE(UtcToFileTime(CalendarTime{year, month, day, hour, minute, second, millisecond}, &ft));
  return ft;
}

TEST(DateTimeTextTest, ValidatesDates) {
  EXPECT_TRUE(validate_date_time("2012/02/29", "", true));
  EXPECT_TRUE(validate_date_time("2012-02-29", "", true));
  EXPECT_TRUE(validate_date_time("2000/02/29", "", true));
  EXPECT_TRUE(validate_date_time("1900/01/01", "", true));
  EXPECT_FALSE(validate_date_time("1900/02/29", "", true));
  EXPECT_FALSE(validate_date_time("2013/02/29", "", true));
  EXPECT_FALSE(validate_date_time("1899/01/01", "", true));
  EXPECT_FALSE(validate_date_time("2013/1a/05", "", true));
  EXPECT_FALSE(validate_date_time("20a3/01/05", "", true));
  EXPECT_FALSE(validate_date_time("2013/00/05", "", true));
  EXPECT_FALSE(validate_date_time("2013/13/05", "", true));
  EXPECT_FALSE(validate_date_time("2013/04/31", "", true));
  EXPECT_FALSE(validate_date_time("2013/04/00", "", true));
  EXPECT_FALSE(validate_date_time("2013.04.01", "", true));
  EXPECT_FALSE(validate_date_time("2013/4/1", "", true));
}

TEST(DateTimeTextTest, ValidatesTimes) {
  EXPECT_TRUE(validate_date_time("", "00:00:00", true));
  EXPECT_TRUE(validate_date_time("", "23:59:59", true));
  EXPECT_TRUE(validate_date_time("", "12:34:56.789", true));
  EXPECT_FALSE(validate_date_time("", "24:00:00", true));
  EXPECT_FALSE(validate_date_time("", "12:60:00", true));
  EXPECT_FALSE(validate_date_time("", "1a:00:00", true));
  EXPECT_FALSE(validate_date_time("", "12-00-00", true));
  EXPECT_FALSE(validate_date_time("", "12:34:56,789", true));
  EXPECT_FALSE(validate_date_time("", "12:34:56.78x", true));
  EXPECT_FALSE(validate_date_time("", "12:34:56.7", true));
}

TEST(DateTimeTextTest, EmptyValuesPassOnlyWhenAllowed) {
  EXPECT_TRUE(validate_date_time("", "", true));
  EXPECT_FALSE(validate_date_time("", "", false));
  EXPECT_FALSE(validate_date_time("", "12:00:00", false));
  EXPECT_FALSE(validate_date_time("2013/01/05", "", false));
  EXPECT_TRUE(validate_date_time("2013/01/05", "12:00:00", false));
  // Both halves are checked: a good date does not excuse a bad time.
  EXPECT_FALSE(validate_date_time("2013/01/05", "25:00:00", false));
  EXPECT_FALSE(validate_date_time("2013/02/30", "12:00:00", false));
}

TEST(DateTimeTextTest, LocalTextToFileTimeReadsMilliseconds) {
  ScopedTimeZone zone("JST-9");
  FileTime ft = 0;
  ASSERT_TRUE(local_text_to_file_time("2013/02/03", "12:34:56.789", &ft));
  EXPECT_EQ(ft, Utc(2013, 2, 3, 3, 34, 56, 789));
  ASSERT_TRUE(local_text_to_file_time("2013-02-03", "12:34:56", &ft));
  EXPECT_EQ(ft, Utc(2013, 2, 3, 3, 34, 56, 0));
  // Local midnight is the previous day in UTC.
  ASSERT_TRUE(local_text_to_file_time("2000/03/01", "00:00:00", &ft));
  EXPECT_EQ(ft, Utc(2000, 2, 29, 15, 0, 0, 0));
}

TEST(DateTimeTextTest, LocalTextToFileTimeRefusesBadInput) {
  ScopedTimeZone zone("JST-9");
  FileTime ft = 12345;
  EXPECT_FALSE(local_text_to_file_time("2013/02/3", "12:34:56", &ft));
  EXPECT_FALSE(local_text_to_file_time("2013/02/03", "12:34:5", &ft));
  EXPECT_FALSE(local_text_to_file_time("2013/02/03", "12:34:56.7890", &ft));
  // 9 to 11 bytes: the millisecond digits would lie past the end of the text.
  EXPECT_FALSE(local_text_to_file_time("2013/02/03", "12:34:56.78", &ft));
  EXPECT_FALSE(local_text_to_file_time("2013/0x/03", "12:34:56", &ft));
  EXPECT_FALSE(local_text_to_file_time("2013/02/03", "12:3x:56", &ft));
  EXPECT_FALSE(local_text_to_file_time("2013/02/30", "12:34:56", &ft));
  EXPECT_FALSE(local_text_to_file_time("2013/02/03", "24:00:00", &ft));
  EXPECT_EQ(ft, 12345u);
}

TEST(DateTimeTextTest, ParsesTimeStamps) {
  CalendarTime t;
  ASSERT_TRUE(parse_time_stamp("2012/02/29 23:05:09", &t));
  EXPECT_EQ(t.year, 2012);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 29);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(t.second, 9);
  EXPECT_EQ(t.millisecond, 0);
  EXPECT_EQ(t.day_of_week, 3);  // a Wednesday

  const CalendarTime before = t;
  EXPECT_FALSE(parse_time_stamp("2013/02/29 23:05:09", &t));
  EXPECT_FALSE(parse_time_stamp("2012/02/29 24:05:09", &t));
  EXPECT_FALSE(parse_time_stamp("2012/02/29 23:05:09 ", &t));
  EXPECT_FALSE(parse_time_stamp("2012/02/29 23:0x:09", &t));
  EXPECT_EQ(t.day, before.day);
  EXPECT_EQ(t.second, before.second);
}

TEST(DateTimeTextTest, FormatsFileTimesInLocalTime) {
  ScopedTimeZone zone("JST-9");
  std::string text;
  ASSERT_TRUE(format_file_time(Utc(2001, 2, 3, 4, 5, 6, 7), true, &text));
  EXPECT_EQ(text, "2001/02/03 13:05:06.007");
  ASSERT_TRUE(format_file_time(Utc(2001, 2, 3, 4, 5, 6, 7), false, &text));
  EXPECT_EQ(text, "20010203130506007");
  // The zone's offset carries the date over the year's end.
  ASSERT_TRUE(format_file_time(Utc(2001, 12, 31, 20, 0, 0, 999), true, &text));
  EXPECT_EQ(text, "2002/01/01 05:00:00.999");

  // Reading back what was written gives the same moment.
  FileTime back = 0;
  ASSERT_TRUE(local_text_to_file_time(text.substr(0, 10), text.substr(11), &back));
  EXPECT_EQ(back, Utc(2001, 12, 31, 20, 0, 0, 999));
}

TEST(DateTimeTextTest, FormatsAttributeLettersInFixedOrder) {
  EXPECT_EQ(format_attributes(0), "");
  EXPECT_EQ(format_attributes(kAttrArchive | kAttrReadOnly), "RA");
  EXPECT_EQ(format_attributes(kAttrSystem | kAttrDirectory), "DS");
  EXPECT_EQ(format_attributes(kAttrArchive | kAttrHidden | kAttrReadOnly | kAttrSystem | kAttrDirectory),
            "DSRHA");
  // Bits without a letter are left out.
  EXPECT_EQ(format_attributes(kAttrReparsePoint | kAttrHidden), "H");
}

}  // namespace
}  // namespace morva
