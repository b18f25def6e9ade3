// The variables of the control statements: the target's name parts, its times, its Exif and ID3
// values, and the serial number. While checking, a variable's name is checked and nothing is read.

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/decimal_text.h"
#include "platform/file_time.h"
#include "rename/control_interpreter.h"
#include "rename/date_rule.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

std::string UpperName(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string TokenOf(std::string_view name) { return "<" + std::string(name) + ">"; }

// A text the reader stored as a C string (a value of another type than ASCII ends in two zero bytes).
std::string_view UpToZero(const std::string& text) {
  return std::string_view(text).substr(0, text.find('\0'));
}

// The 17 digits YYYYMMDDhhmmssSSS of a file time in local time, or empty.
std::string LocalDigits(FileTime time) {
  CalendarTime t;
  if (!FileTimeToLocal(time, &t)) return {};
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%04d%02d%02d%02d%02d%02d%03d", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.millisecond);
  return buffer;
}

const std::optional<std::string>& ExifDate(const ExifValues& values, int kind) {
  switch (kind) {
    case kExifDateTime: return values.date_time;
    case kExifDateTimeDigitized: return values.date_time_digitized;
    default: return values.date_time_original;
  }
}

// A component of a time variable: the digits at `offset`, or the weekday in `weekday_style`.
struct TimeComponent {
  std::string_view name;
  std::size_t offset;
  std::size_t length;
};

constexpr TimeComponent kTimeComponents[] = {
    {"YEAR", 0, 4}, {"YY", 2, 2},     {"MONTH", 4, 2},   {"MON", 4, 2},    {"DAY", 6, 2},
    {"HOUR", 8, 2}, {"MINUTE", 10, 2}, {"MIN", 10, 2},   {"SECOND", 12, 2}, {"SEC", 12, 2},
};

// The weekday style of a component "DAYOFWEEK" or "DOW", optionally followed by "F" or "J"; 0 for
// anything else.
int WeekdayStyle(std::string_view component) {
  for (std::string_view stem : {std::string_view("DAYOFWEEK"), std::string_view("DOW")}) {
    if (component.substr(0, stem.size()) != stem) continue;
    const std::string_view suffix = component.substr(stem.size());
    if (suffix.empty()) return 1;  // "Sun"
    if (suffix == "F") return 2;   // "Sunday"
    if (suffix == "J") return 3;   // "日"
  }
  return 0;
}

// The ID3 variables: the six items every tag version has, and the ID3v2 frames without an ID3v1 field.
struct Id3Name {
  std::string_view name;
  int item;                                       // an Id3Item, or 0 for a frame of ID3v2 only
  std::optional<std::string> Id3v2Fields::*frame;  // for item 0
};

constexpr Id3Name kId3Names[] = {
    {"MTT", kId3Title, nullptr},     {"MTIT2", kId3Title, nullptr},  {"MTT2", kId3Title, nullptr},
    {"MAR", kId3Artist, nullptr},    {"MTPE1", kId3Artist, nullptr}, {"MTP1", kId3Artist, nullptr},
    {"MAL", kId3Album, nullptr},     {"MTALB", kId3Album, nullptr},  {"MTAL", kId3Album, nullptr},
    {"MYE", kId3Year, nullptr},      {"MTYER", kId3Year, nullptr},   {"MTYE", kId3Year, nullptr},
    {"MCO", kId3Comment, nullptr},   {"MCOMM", kId3Comment, nullptr}, {"MCOM", kId3Comment, nullptr},
    {"MTR", kId3Track, nullptr},     {"MTRCK", kId3Track, nullptr},  {"MTRK", kId3Track, nullptr},
    {"MTIT1", 0, &Id3v2Fields::content_group}, {"MTT1", 0, &Id3v2Fields::content_group},
    {"MTIT3", 0, &Id3v2Fields::subtitle},      {"MTT3", 0, &Id3v2Fields::subtitle},
    {"MTPE2", 0, &Id3v2Fields::band},          {"MTP2", 0, &Id3v2Fields::band},
    {"MTPE3", 0, &Id3v2Fields::conductor},     {"MTP3", 0, &Id3v2Fields::conductor},
    {"MTPE4", 0, &Id3v2Fields::remixer},       {"MTP4", 0, &Id3v2Fields::remixer},
};

// The Exif variables: the dates as 14 digits (kind 0: the one OPT_2 chooses) and the descriptive values.
struct ExifName {
  std::string_view name;
  int date_kind;                                   // -1 for a descriptive value
  std::optional<std::string> ExifValues::*value;   // for date_kind -1
};

constexpr ExifName kExifNames[] = {
    {"JDT", 0, nullptr},
    {"JDF", kExifDateTime, nullptr},
    {"JDO", kExifDateTimeOriginal, nullptr},
    {"JDD", kExifDateTimeDigitized, nullptr},
    {"JTT", -1, &ExifValues::image_description},
    {"JMK", -1, &ExifValues::make},
    {"JMD", -1, &ExifValues::model},
    {"JSW", -1, &ExifValues::software},
    {"JAR", -1, &ExifValues::artist},
    {"JPX", -1, &ExifValues::pixel_x},
    {"JPY", -1, &ExifValues::pixel_y},
};

// Reads a run of 1 to `max_digits` digits at *pos of `text` into *value.
bool ReadDigits(std::string_view text, std::size_t* pos, std::size_t max_digits, int* value) {
  std::size_t end = *pos;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  const std::optional<int> n = DigitsOnly(text.substr(*pos, end - *pos), max_digits);
  if (!n) return false;
  *value = *n;
  *pos = end;
  return true;
}

// The sort key of an "S" flag's key letter, or -1.
int SortKey(char letter) {
  switch (letter) {
    case 'F': return 0;
    case 'W': return 1;
    case 'C': return 2;
    case 'E': return 3;
    case 'N': return 4;
    case 'B': return 4 + 64;
    default: return -1;
  }
}

}  // namespace

bool ControlInterpreter::ExifLoaded() {
  if (!exif_loaded_) {
    const NameRuleInputs& i = in();
    // True only when the reader's values are this file's: a file it could not read leaves the values of
    // an earlier one.
    exif_loaded_ = i.exif.ReadDate(i.target.path, 0, i.app.opt_2, i.app.sw_opt[AppSettings::kOptDetectByContent],
                                   false);
  }
  return *exif_loaded_;
}

int ControlInterpreter::Id3Versions(bool unicode_v1) {
  if (id3_read_as_ != static_cast<int>(unicode_v1)) {
    const NameRuleInputs& i = in();
    Id3ReadOptions options;
    options.v1_is_unicode = unicode_v1;
    options.skip_extension_test = i.app.sw_opt[AppSettings::kOptDetectByContent];
    options.first_comment_wins = i.app.sw_opt[AppSettings::kOptFirstCommentWins];
    id3_versions_ = i.id3.Read(i.target.path, options, false);
    id3_read_as_ = static_cast<int>(unicode_v1);
  }
  return id3_versions_;
}

int ControlInterpreter::AppendVariable(std::string_view name, std::string* out) {
  if (name.empty()) return Fail(kControlUnknownVariable, TokenOf(name));
  const char family = UpperName(name.substr(0, 1))[0];
  switch (family) {
    case 'F':
    case 'E':
    case 'D':
    case 'V': {
      if (name.size() != 1) return Fail(kControlBadVariable, TokenOf(name));
      if (checking()) return 0;
      const TargetContext& t = in().target;
      out->append(family == 'F' ? t.base : family == 'E' ? t.extension : family == 'D' ? t.parent_name : t.volume_label);
      return 0;
    }
    case 'J':
      return AppendExif(name, out);
    case 'M':
      return AppendId3(name, out);
    case 'T':
      return AppendTime(name, out);
    case 'C':
      return AppendSerial(name, out);
    default:
      return Fail(kControlUnknownVariable, TokenOf(name));
  }
}

int ControlInterpreter::AppendExif(std::string_view name, std::string* out) {
  const std::string upper = UpperName(name);
  for (const ExifName& e : kExifNames) {
    if (upper != e.name) continue;
    if (checking() || !ExifLoaded()) return 0;
    const ExifValues& values = in().exif.values();
    if (e.date_kind < 0) {
      if (const auto& value = values.*e.value) out->append(UpToZero(*value));
    } else if (const auto& date = ExifDate(values, e.date_kind == 0 ? in().app.opt_2 : e.date_kind)) {
      out->append(*date);
    }
    return 0;
  }
  return Fail(kControlBadVariable, TokenOf(name));
}

int ControlInterpreter::AppendId3(std::string_view name, std::string* out) {
  std::string upper = UpperName(name);
  // ",U": ID3v1 fields are read as Unicode, as the ID3 rule's option does.
  const bool unicode_v1 = upper.size() > 2 && upper.compare(upper.size() - 2, 2, ",U") == 0;
  if (unicode_v1) upper.resize(upper.size() - 2);
  for (const Id3Name& m : kId3Names) {
    if (upper != m.name) continue;
    if (checking()) return 0;
    const int versions = Id3Versions(unicode_v1);
    const Id3Reader& reader = in().id3;
    if (m.item == 0) {
      if ((versions & 2) && (reader.v2().*m.frame)) out->append(*(reader.v2().*m.frame));
      return 0;
    }
    std::string value;
    const int from = reader.GetItem(versions, m.item, in().app.sw_opt[AppSettings::kOptId3V1First], &value);
    if (from == 0) return 0;
    // An ID3v2 or container track may carry the count of tracks as "3/12".
    if (from >= 2 && m.item == kId3Track) value.resize(std::min(value.size(), value.find('/')));
    out->append(value);
    return 0;
  }
  return Fail(kControlBadVariable, TokenOf(name));
}

int ControlInterpreter::AppendTime(std::string_view name, std::string* out) {
  const std::string u = UpperName(name);
  std::size_t i = 1;
  char file_time = 0;  // 'W' or 'C': the file time read first, or when there is no Exif date
  int exif_kind = -1;  // -1: no Exif source; 0: OPT_2's
  if (i < u.size() && (u[i] == 'W' || u[i] == 'C')) {
    file_time = u[i++];
  } else if (i < u.size() && u[i] == 'E') {
    ++i;
    exif_kind = 0;
    if (i < u.size() && (u[i] == 'F' || u[i] == 'O' || u[i] == 'D')) {
      exif_kind = u[i] == 'F' ? kExifDateTime : u[i] == 'O' ? kExifDateTimeOriginal : kExifDateTimeDigitized;
      ++i;
    }
    if (i < u.size() && (u[i] == 'W' || u[i] == 'C')) file_time = u[i++];
  } else {
    return Fail(kControlBadVariable, TokenOf(name));
  }

  const TimeComponent* component = nullptr;
  int weekday_style = 0;
  if (i < u.size()) {
    if (u[i] != '-' && u[i] != '_') return Fail(kControlBadVariable, TokenOf(name));
    const std::string_view wanted = std::string_view(u).substr(i + 1);
    for (const TimeComponent& c : kTimeComponents) {
      if (wanted == c.name) component = &c;
    }
    if (component == nullptr) weekday_style = WeekdayStyle(wanted);
    if (component == nullptr && weekday_style == 0) return Fail(kControlBadVariable, TokenOf(name));
  }
  if (checking()) return 0;

  std::string digits;
  if (exif_kind >= 0 && ExifLoaded()) {
    const auto& date = ExifDate(in().exif.values(), exif_kind == 0 ? in().app.opt_2 : exif_kind);
    if (date) digits = *date;
  }
  if (digits.empty() && file_time != 0) {
    const FindData& data = in().target.find_data;
    digits = LocalDigits(file_time == 'W' ? data.last_write_time : data.creation_time);
  }
  if (digits.empty()) return 0;
  if (weekday_style != 0) {
    out->append(WeekdayName(weekday_style, WeekdayOf(digits)));
  } else if (component != nullptr) {
    if (digits.size() >= component->offset + component->length) {
      out->append(digits, component->offset, component->length);
    }
  } else {
    out->append(digits);
  }
  return 0;
}

int ControlInterpreter::AppendSerial(std::string_view name, std::string* out) {
  const std::string u = UpperName(name);
  const std::string token = TokenOf(name);
  bool keyed = false;         // "N": a counter per text built before it
  bool per_directory = false;  // "D"
  std::optional<ControlSort> order;
  std::size_t i = 1;
  for (; i < u.size() && u[i] != '-' && u[i] != '_'; ++i) {
    if (u[i] == 'N') {
      keyed = true;
    } else if (u[i] == 'D') {
      per_directory = true;
    } else if (u[i] == 'S' && i + 2 < u.size() && (u[i + 1] == 'U' || u[i + 1] == 'D') && SortKey(u[i + 2]) >= 0) {
      order = ControlSort{true, u[i + 1] == 'U', SortKey(u[i + 2])};
      i += 2;
    } else {
      return Fail(kControlBadVariable, token);
    }
  }
  // Sorted targets number in one sequence; a counter per prefix could not follow that order.
  if (keyed && order) return Fail(kControlBadVariable, token);

  int width = 2;
  int first = 1;
  int step = 1;
  if (i < u.size()) {
    ++i;  // '-' or '_'
    if (i >= u.size() || u[i] < '1' || u[i] > '8') return Fail(kControlBadVariable, token);
    width = u[i++] - '0';
    if (i < u.size() && u[i] == ',') {
      ++i;
      if (!ReadDigits(u, &i, 5, &first)) return Fail(kControlBadVariable, token);
    }
    if (i < u.size() && (u[i] == '+' || u[i] == '-')) {
      const bool down = u[i++] == '-';
      if (!ReadDigits(u, &i, 2, &step) || step < 1) return Fail(kControlBadVariable, token);
      if (down) step = -step;
    }
    if (i != u.size()) return Fail(kControlBadVariable, token);
  }

  if (serial_used_) return Fail(kControlSecondSerial, token);
  serial_used_ = true;
  if (checking()) {
    sort_ = order.value_or(ControlSort{});
    return 0;
  }
  const TargetContext& t = in().target;
  if (per_directory && t.directory != t.previous_directory) in().serials.ClearSerials();
  std::string number = std::to_string(in().serials.NextSerial(keyed ? std::string_view(*out) : "", first, step));
  if (number.size() < static_cast<std::size_t>(width)) number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
  out->append(number);
  return 0;
}

}  // namespace morva
