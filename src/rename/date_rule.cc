#include "rename/date_rule.h"

#include <array>
#include <cstdio>

#include "rename/name_rule.h"
#include "platform/file_time.h"

namespace morva {
namespace {

// The longest name the rule builds, in bytes.
constexpr std::size_t kMaxDateName = 260;

constexpr std::array<const char*, 7> kEnglishShort = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> kEnglishLong = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
// 日 月 火 水 木 金 土 in code page 932.
constexpr std::array<const char*, 7> kJapanese = {"\x93\xfa", "\x8c\x8e", "\x89\xce", "\x90\x85",
                                                  "\x96\xd8", "\x8b\xe0", "\x93\x79"};
constexpr const char* kJapaneseDaySuffix = "\x97\x6a\x93\xfa";  // 曜日

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int Digits(std::string_view text) {
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

// The date and time a target's name is built from: eight digits of date, six of time.
struct DateParts {
  std::string date;  // YYYYMMDD
  std::string time;  // hhmmss
};

// The Exif date of the target when the job asks for it and the photograph has one.
bool ExifParts(const NameRuleInputs& in, DateParts* parts) {
  if (!(in.settings.fnm_hdk_udt & ConversionSettings::kDateExifFirst)) return false;
  const AppSettings& app = in.app;
  in.exif.ReadDate(in.target.path, 0, app.opt_2, app.sw_opt[AppSettings::kOptDetectByContent], false);
  const std::string& t = in.exif.result_text();
  // Both forms the reader gives keep the fields at fixed places: "YYYY:MM:DD hh:mm:ss" or with '/'.
  if (t.size() < 19) return false;
  parts->date = t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2);
  parts->time = t.substr(11, 2) + t.substr(14, 2) + t.substr(17, 2);
  return true;
}

bool FileTimeParts(const NameRuleInputs& in, DateParts* parts) {
  const FindData& data = in.target.find_data;
  const FileTime time =
      (in.settings.fnm_hdk_udt & ConversionSettings::kDateSourceMask) == ConversionSettings::kDateCreation
          ? data.creation_time
          : data.last_write_time;
  CalendarTime local;
  if (!FileTimeToLocal(time, &local)) return false;
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "%04d%02d%02d", local.year, local.month, local.day);
  parts->date = buffer;
  std::snprintf(buffer, sizeof(buffer), "%02d%02d%02d", local.hour, local.minute, local.second);
  parts->time = buffer;
  return true;
}

}  // namespace

int WeekdayOf(std::string_view yyyymmdd) {
  if (yyyymmdd.size() < 8) return -1;
  for (std::size_t i = 0; i < 8; ++i) {
    if (yyyymmdd[i] < '0' || yyyymmdd[i] > '9') return -1;
  }
  const int year = Digits(yyyymmdd.substr(0, 4));
  const int month = Digits(yyyymmdd.substr(4, 2));
  const int day = Digits(yyyymmdd.substr(6, 2));
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return -1;
  // Sakamoto's method: the Gregorian calendar's day of the week, Sunday 0.
  static constexpr int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int y = month < 3 ? year - 1 : year;
  return (y + y / 4 - y / 100 + y / 400 + kMonthOffset[month - 1] + day) % 7;
}

std::string WeekdayName(int style, int weekday) {
  if (weekday < 0 || weekday > 6) return {};
  switch (style) {
    case 1:
      return kEnglishShort[weekday];
    case 2:
      return kEnglishLong[weekday];
    case 3:
      return kJapanese[weekday];
    case 4:
      return std::string(kJapanese[weekday]) + kJapaneseDaySuffix;
    default:
      return {};
  }
}

unsigned BuildDateName(const NameRuleInputs& in, std::string* text) {
  const ConversionSettings& s = in.settings;
  const TargetContext& target = in.target;

  DateParts parts;
  if (!ExifParts(in, &parts) && !FileTimeParts(in, &parts)) return 0x200;

  std::string date_text = parts.date.substr(s.fnm_hdk2 == 3 ? 4 : s.fnm_hdk2 == 2 ? 2 : 0);
  if (s.fnm_hdk_atw & ConversionSettings::kDateAddTime) {
    date_text.append(s.fnm_hdka.view());
    date_text.append(parts.time, 0, s.fnm_hdk4 == 1 ? 6 : 4);
  }
  if (s.fnm_hdk_atw & ConversionSettings::kDateAddWeekday) {
    date_text.append(s.fnm_hdka.view());
    // An impossible date (from a damaged Exif block) leaves the place after the separator empty.
    date_text += WeekdayName(s.fnm_hdkd, WeekdayOf(parts.date));
  }
  if (s.fnm_hdk_rnb & ConversionSettings::kDateSerial) {
    date_text.append(s.fnm_hdkb.view());
    if ((s.fnm_hdk_rnb & ConversionSettings::kDateSerialPerDirectory) && target.directory != target.previous_directory)
      in.serials.ClearSerials();
    // Targets count per date text as shown, so dates that differ only in a part not shown share one
    // counter.
    std::string number = std::to_string(in.serials.NextSerial(date_text, 1, 1));
    const std::size_t width = s.fnm_hdk6 > 0 ? static_cast<std::size_t>(s.fnm_hdk6) : 0;
    if (number.size() < width) number.insert(0, width - number.size(), '0');
    date_text += number;
  }

  const std::string_view prefix = s.fnm_hdk0 == 1 ? std::string_view(target.parent_name) : s.fnm_hdk1.view();
  if (prefix.size() + date_text.size() > kMaxDateName) return 0x100;
  *text = std::string(prefix) + date_text;
  return 0;
}

}  // namespace morva
