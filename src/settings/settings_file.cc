#include "settings/settings_file.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/cp932.h"
#include "platform/decimal_text.h"

namespace morva {
namespace {

// The product name, " Settings ", the version string cut to its first 9 bytes ("Version 6.1b" ->
// "Version 6") and a blank; the writer puts an empty line after it.
constexpr std::string_view kHeaderLine = "MORVA Settings Version 6 \n";
// Only the product name, " Settings " and "Version " are compared, so every 6.x file (and any other
// version) reads alike.
constexpr std::size_t kHeaderCompared = 23;
static_assert(kHeaderLine.substr(0, kHeaderCompared) == "MORVA Settings Version ");

// A key line counts its line break: one byte, as the file is read in text mode.
constexpr std::size_t kShortestLine = 9;
constexpr std::size_t kLongestLine = 1019;
constexpr std::size_t kLongestKey = 16;
constexpr std::string_view kSeparator = " = ";

constexpr std::size_t kHistorySlots = std::tuple_size_v<decltype(AppSettings::dirfil)>;

// ---------------------------------------------------------------------------------------------------
// Reading

struct Line {
  std::string_view text;  // without its break
  bool ended = false;     // there was a line feed after it
};

// Takes the next line from *rest; false at the end of the bytes. CR LF and LF end a line.
bool NextLine(std::string_view* rest, Line* line) {
  if (rest->empty()) return false;
  const std::size_t lf = rest->find('\n');
  if (lf == std::string_view::npos) {
    line->text = *rest;
    line->ended = false;
    rest->remove_prefix(rest->size());
    return true;
  }
  line->text = rest->substr(0, lf);
  line->ended = true;
  if (!line->text.empty() && line->text.back() == '\r') line->text.remove_suffix(1);
  rest->remove_prefix(lf + 1);
  return true;
}

// Upper-cases the single-byte letters of a key; the second byte of a double-byte character is left
// alone even when it looks like a letter.
std::string UpperKey(std::string_view key) {
  std::string upper(key);
  for (std::size_t i = 0; i < upper.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(upper[i]);
    if (cp932::IsLeadByte(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      upper[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return upper;
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AllFlagDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '1'; });
}

template <std::size_t N>
void StoreFlagDigits(std::string_view text, std::array<bool, N>* flags) {
  for (std::size_t i = 0; i < text.size() && i < N; ++i) (*flags)[i] = text[i] == '1';
}

// A window never starts beyond the right or bottom edge of the desktop: a position whose window would
// reach past `edge` is moved back so that the window ends there.
int Place(int position, int size, int edge) {
  const std::int64_t end = std::int64_t{position} + size;
  const std::int64_t placed = end > edge ? std::int64_t{edge} - size : position;
  return static_cast<int>(std::clamp<std::int64_t>(placed, INT_MIN, INT_MAX));
}

// Target options, stored in order so that each switch is checked against the ones before it: the
// directory itself and "directories only" need "directories too"; the wildcard does not apply to the
// directory itself; the Exif and ID3 filters are for files only, and only one of them can be on.
void StoreTargetOptions(std::string_view text, std::array<bool, 12>* flags) {
  using A = AppSettings;
  auto& f = *flags;
  for (std::size_t i = 0; i < f.size(); ++i) {
    f[i] = text[i] == '1';
    if ((i == A::kSetItself || i == A::kSetDirectoriesOnly) && !f[A::kSetDirectories]) f[i] = false;
    if (i == A::kSetWildcard && f[A::kSetItself]) f[i] = false;
    if ((i == A::kSetExifOnly || i == A::kSetId3Only) && f[A::kSetDirectories]) f[i] = false;
    if (i == A::kSetId3Only && f[A::kSetExifOnly]) f[i] = false;
  }
}

// Characters a wildcard can never hold (bytes below 0x20 included); '*' and '?' are its own.
bool IsForbiddenInWildcard(unsigned char b) {
  return b < 0x20 || b == '\\' || b == '/' || b == ':' || b == '"' || b == '<' || b == '>' || b == '|';
}

// The wildcard history: tab-separated wildcards of at most 80 bytes, each free of the characters a
// wildcard cannot hold. The second byte of a double-byte character is never taken for one of them.
bool IsWildcardHistory(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size();) {
    if (i == text.size() || text[i] == '\t') {
      if (i - start > 80) return false;
      start = ++i;
      continue;
    }
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (cp932::IsLeadByte(b)) {
      i += 2;
      continue;
    }
    if (IsForbiddenInWildcard(b)) return false;
    ++i;
  }
  return true;
}

// A stored directory: empty, or long enough to be a path ("C:\") and short enough to leave room for a
// name.
bool IsStoredDirectoryLength(std::size_t n) { return n == 0 || (n >= 3 && n <= 259); }

// The history slot a DIRFIL key names: "" is slot 0, "1"-"9" slots 1-9, "A"-"F" slots 10-15.
std::optional<std::size_t> HistorySlot(std::string_view suffix) {
  if (suffix.empty()) return 0;
  if (suffix.size() != 1) return std::nullopt;
  const char c = suffix[0];
  if (c >= '1' && c <= '9') return static_cast<std::size_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::size_t>(c - 'A' + 10);
  return std::nullopt;
}

bool HasPath(const std::optional<std::string>& slot) { return slot.has_value() && !slot->empty(); }

// The outcome of an application key: not one (or its length rule failed), or applied, or refused.
enum class AppKey { kNoMatch, kApplied, kRefused };

AppKey Stored(bool accepted) { return accepted ? AppKey::kApplied : AppKey::kRefused; }

template <typename T>
AppKey StoreIf(bool accepted, T* field, int value) {
  if (accepted) *field = static_cast<T>(value);
  return Stored(accepted);
}

// A window size: at least 3 bytes, within [min, 9999].
AppKey ApplySize(std::string_view text, int number, int min, int* field) {
  if (text.size() < 3) return AppKey::kNoMatch;
  return StoreIf(number >= min && number <= 9999, field, number);
}

// A window position: decimal digits only, then kept on the desktop.
AppKey ApplyPosition(std::string_view text, int number, int size, int edge, int* field) {
  if (!AllDigits(text)) return AppKey::kNoMatch;
  *field = Place(number, size, edge);
  return AppKey::kApplied;
}

// A list column width: shorter than `under` bytes, at least 1.
AppKey ApplyColumn(std::string_view text, int number, std::size_t under, int* field) {
  if (text.size() >= under) return AppKey::kNoMatch;
  return StoreIf(number >= 1, field, number);
}

// A check box written as "0" or "1".
AppKey ApplySwitch(std::string_view text, bool* field) {
  if (text.size() != 1) return AppKey::kNoMatch;
  return StoreIf(text[0] == '0' || text[0] == '1', field, text[0] == '1');
}

// A numbered key "PREFIXn" with n in 0..count-1; the index or nullopt.
std::optional<std::size_t> NumberedKey(std::string_view key, std::string_view prefix, std::size_t count) {
  if (key.size() != prefix.size() + 1 || key.substr(0, prefix.size()) != prefix) return std::nullopt;
  const char c = key.back();
  if (c < '0' || static_cast<std::size_t>(c - '0') >= count) return std::nullopt;
  return static_cast<std::size_t>(c - '0');
}

AppKey ApplyGeometryKey(std::string_view key, std::string_view text, int n, const DesktopGeometry& d,
                        AppSettings* a) {
  if (key == "WINX") return text.empty() ? AppKey::kNoMatch : ApplyPosition(text, n, d.main_width, d.right, &a->winx);
  if (key == "WINY") {
    return text.empty() ? AppKey::kNoMatch : ApplyPosition(text, n, d.main_height, d.bottom, &a->winy);
  }
  if (key == "PREW") return ApplySize(text, n, 600, &a->prew);
  if (key == "PREH") return ApplySize(text, n, 240, &a->preh);
  if (key == "PREX") return ApplyPosition(text, n, a->prew, d.right, &a->prex);
  if (key == "PREY") return ApplyPosition(text, n, a->preh, d.bottom, &a->prey);
  if (key == "PREM") return ApplySwitch(text, &a->prem);
  if (auto i = NumberedKey(key, "PREC", a->prec.size())) return ApplyColumn(text, n, 5, &a->prec[*i]);
  if (key == "LULW") return ApplySize(text, n, 480, &a->lulw);
  if (key == "LULH") return ApplySize(text, n, 360, &a->lulh);
  if (key == "LULX") return ApplyPosition(text, n, a->lulw, d.right, &a->lulx);
  if (key == "LULY") return ApplyPosition(text, n, a->lulh, d.bottom, &a->luly);
  if (key == "LULM") {
    // Any one character: its number decides, so a stray "2" still means maximised.
    if (text.size() != 1) return AppKey::kNoMatch;
    a->lulm = n != 0;
    return AppKey::kApplied;
  }
  if (auto i = NumberedKey(key, "LULC", a->lulc.size())) return ApplyColumn(text, n, 4, &a->lulc[*i]);
  if (key == "TREW") return ApplySize(text, n, 360, &a->trew);
  if (key == "TREH") return ApplySize(text, n, 240, &a->treh);
  if (key == "TREX") return ApplyPosition(text, n, a->trew, d.right, &a->trex);
  if (key == "TREY") return ApplyPosition(text, n, a->treh, d.bottom, &a->trey);
  if (auto i = NumberedKey(key, "TREC", a->trec.size())) return ApplyColumn(text, n, 4, &a->trec[*i]);
  return AppKey::kNoMatch;
}

AppKey ApplyOptionKey(std::string_view key, std::string_view text, int n, AppSettings* a) {
  if (key == "SW_OPT") {
    // A 12-flag value comes from an earlier version and leaves the newer flags alone.
    if (text.size() != 12 && text.size() != 16) return AppKey::kNoMatch;
    if (!AllFlagDigits(text)) return AppKey::kRefused;
    StoreFlagDigits(text, &a->sw_opt);
    return AppKey::kApplied;
  }
  if (key == "OPT_1") return text.size() < 3 ? StoreIf(n >= 1 && n <= 40, &a->opt_1, n) : AppKey::kNoMatch;
  if (key == "OPT_2") return text.size() == 1 ? StoreIf(n >= 1 && n <= 3, &a->opt_2, n) : AppKey::kNoMatch;
  if (key == "OPT_3") return StoreIf(n >= 0 && n <= 2048, &a->opt_3, n);
  return AppKey::kNoMatch;
}

AppKey ApplyTargetKey(std::string_view key, std::string_view text, int n, AppSettings* a) {
  if (key == "PREF") return ApplySwitch(text, &a->pref);
  if (key == "CPYF") return ApplySwitch(text, &a->cpyf);
  if (key == "SW_SET") {
    if (text.size() != 12) return AppKey::kNoMatch;
    if (!AllFlagDigits(text)) return AppKey::kRefused;
    StoreTargetOptions(text, &a->sw_set);
    return AppKey::kApplied;
  }
  if (key == "SET_0") return text.size() == 1 ? StoreIf(n == 1 || n == 2, &a->set_0, n) : AppKey::kNoMatch;
  if (key == "SET_11") return text.size() <= 80 ? Stored(a->set_11.Assign(text)) : AppKey::kNoMatch;
  if (key == "SET_12") {
    if (text.size() > 648) return AppKey::kNoMatch;
    return IsWildcardHistory(text) ? Stored(a->set_12.Assign(text)) : AppKey::kRefused;
  }
  if (key == "SET_DT1") return text.size() == 19 ? Stored(a->set_dt1.Assign(text)) : AppKey::kNoMatch;
  if (key == "SET_DT2") return text.size() == 19 ? Stored(a->set_dt2.Assign(text)) : AppKey::kNoMatch;
  if (key == "SET_DTS") return text.size() == 1 ? StoreIf(n >= 0 && n <= 3, &a->set_dts, n) : AppKey::kNoMatch;
  if (key == "CPDIR") {
    if (!IsStoredDirectoryLength(text.size())) return AppKey::kNoMatch;
    // The first line wins: a later one never replaces the directory.
    return a->cpdir.empty() ? Stored(a->cpdir.Assign(text)) : AppKey::kRefused;
  }
  if (key == "CPOVW") {
    if (text.size() != 1) return AppKey::kNoMatch;
    a->cpovw = n != 0;
    return AppKey::kApplied;
  }
  if (key == "SW_PRE") {
    if (text.size() != 4) return AppKey::kNoMatch;
    if (!AllFlagDigits(text)) return AppKey::kRefused;
    StoreFlagDigits(text, &a->sw_pre);
    return AppKey::kApplied;
  }
  return AppKey::kNoMatch;
}

// ---------------------------------------------------------------------------------------------------
// Writing

void AppendNumber(std::string* out, std::string_view key, int value) {
  out->append(key);
  out->append(kSeparator);
  out->append(std::to_string(value));
  out->push_back('\n');
}

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A text value, or nothing when it would break its line apart (and so could inject other keys).
void AppendText(std::string* out, std::string_view key, std::string_view value) {
  out->append(key);
  out->append(kSeparator);
  if (!HoldsLineBreak(value)) out->append(value);
  out->push_back('\n');
}

template <std::size_t N>
void AppendFlags(std::string* out, std::string_view key, const std::array<bool, N>& flags) {
  out->append(key);
  out->append(kSeparator);
  for (bool flag : flags) out->push_back(flag ? '1' : '0');
  out->push_back('\n');
}

void AppendHistory(std::string* out, const AppSettings& app) {
  std::size_t written = 0;
  for (const auto& slot : app.dirfil) {
    if (!HasPath(slot)) break;
    if (HoldsLineBreak(*slot)) continue;
    std::string key = "DIRFIL";
    if (written > 0) key.push_back(written < 10 ? static_cast<char>('0' + written) : static_cast<char>('A' + written - 10));
    AppendText(out, key, *slot);
    ++written;
  }
}

void AppendGeometry(std::string* out, const AppSettings& app) {
  AppendNumber(out, "WINX", app.winx);
  AppendNumber(out, "WINY", app.winy);
  out->push_back('\n');
  AppendNumber(out, "PREF", app.pref);
  AppendNumber(out, "CPYF", app.cpyf);
  AppendNumber(out, "PREW", app.prew);
  AppendNumber(out, "PREH", app.preh);
  AppendNumber(out, "PREX", app.prex);
  AppendNumber(out, "PREY", app.prey);
  AppendNumber(out, "PREM", app.prem);
  for (std::size_t i = 0; i < app.prec.size(); ++i) AppendNumber(out, "PREC" + std::to_string(i), app.prec[i]);
  out->push_back('\n');
  AppendNumber(out, "LULW", app.lulw);
  AppendNumber(out, "LULH", app.lulh);
  AppendNumber(out, "LULX", app.lulx);
  AppendNumber(out, "LULY", app.luly);
  AppendNumber(out, "LULM", app.lulm);
  for (std::size_t i = 0; i < app.lulc.size(); ++i) AppendNumber(out, "LULC" + std::to_string(i), app.lulc[i]);
  out->push_back('\n');
  AppendNumber(out, "TREW", app.trew);
  AppendNumber(out, "TREH", app.treh);
  AppendNumber(out, "TREX", app.trex);
  AppendNumber(out, "TREY", app.trey);
  for (std::size_t i = 0; i < app.trec.size(); ++i) AppendNumber(out, "TREC" + std::to_string(i), app.trec[i]);
  out->push_back('\n');
}

void AppendTargetSpecification(std::string* out, const AppSettings& app) {
  AppendFlags(out, "SW_SET", app.sw_set);
  AppendNumber(out, "SET_0", app.set_0);
  AppendText(out, "SET_11", app.set_11.view());
  AppendText(out, "SET_12", app.set_12.view());
  AppendText(out, "SET_DT1", app.set_dt1.view());
  AppendText(out, "SET_DT2", app.set_dt2.view());
  AppendNumber(out, "SET_DTS", app.set_dts);
  AppendText(out, "CPDIR", app.cpdir.view());
  AppendNumber(out, "CPOVW", app.cpovw);
  AppendFlags(out, "SW_PRE", app.sw_pre);
}

}  // namespace

JobKinds JobKindsOf(const ConversionSettings& job) { return ComputeJobSwitches(job); }

SettingsLineOutcome ApplySettingsLine(std::string_view key, std::string_view value, const DesktopGeometry& desktop,
                                      ConversionSettings* job, AppSettings* app) {
  const int number = LeadingInt(value);

  constexpr std::string_view kHistoryKey = "DIRFIL";
  if (key.substr(0, kHistoryKey.size()) == kHistoryKey) {
    const std::optional<std::size_t> slot = HistorySlot(key.substr(kHistoryKey.size()));
    if (!slot) return SettingsLineOutcome::kNotAKey;
    if (IsStoredDirectoryLength(value.size()) && value.find('\0') == std::string_view::npos) {
      // The first line for a slot wins. An empty value is accepted but is no path, so it leaves the
      // slot empty.
      if (HasPath(app->dirfil[*slot])) return SettingsLineOutcome::kRefused;
      if (!value.empty()) app->dirfil[*slot].emplace(value);
      return SettingsLineOutcome::kApplied;
    }
  } else {
    AppKey outcome = ApplyGeometryKey(key, value, number, desktop, app);
    if (outcome == AppKey::kNoMatch) outcome = ApplyOptionKey(key, value, number, app);
    if (outcome == AppKey::kNoMatch) outcome = ApplyTargetKey(key, value, number, app);
    if (outcome == AppKey::kApplied) return SettingsLineOutcome::kApplied;
    if (outcome == AppKey::kRefused) return SettingsLineOutcome::kRefused;
  }
  return ParseKey(job, key, value, number, value.size()) ? SettingsLineOutcome::kJobKey
                                                         : SettingsLineOutcome::kNotAKey;
}

void CloseHistoryGaps(AppSettings* app) {
  std::size_t filled = 0;
  for (std::size_t i = 0; i < kHistorySlots; ++i) {
    if (!HasPath(app->dirfil[i])) continue;
    if (i != filled) app->dirfil[filled] = std::move(app->dirfil[i]);
    ++filled;
  }
  for (std::size_t i = filled; i < kHistorySlots; ++i) app->dirfil[i].reset();
}

SettingsReadResult ParseSettingsText(std::string_view file_bytes, const DesktopGeometry& desktop,
                                     ConversionSettings* job, AppSettings* app) {
  SettingsReadResult result;
  std::string_view rest = file_bytes;
  Line line;
  if (!NextLine(&rest, &line)) {
    result.job_kinds = JobKindsOf(*job);
    return result;
  }
  // The header is compared as the line was read, its line feed included.
  const std::string header = std::string(line.text) + (line.ended ? "\n" : "");
  result.recognised = header.size() >= kHeaderCompared &&
                      std::string_view(header).substr(0, kHeaderCompared) == kHeaderLine.substr(0, kHeaderCompared);
  if (!result.recognised) {
    result.job_kinds = JobKindsOf(*job);
    return result;
  }

  while (NextLine(&rest, &line)) {
    if (line.text.empty()) continue;  // the writer separates groups with blank lines
    // A last line without its break is read as if it had one.
    const std::size_t length = line.text.size() + 1;
    const std::size_t separator = line.text.find(kSeparator);
    if (length < kShortestLine || length > kLongestLine || separator == std::string_view::npos ||
        separator > kLongestKey || line.text.find('\0') != std::string_view::npos) {
      ++result.lines_skipped;
      continue;
    }
    const std::string key = UpperKey(line.text.substr(0, separator));
    const std::string_view value = line.text.substr(separator + kSeparator.size());
    switch (ApplySettingsLine(key, value, desktop, job, app)) {
      case SettingsLineOutcome::kApplied:
      case SettingsLineOutcome::kJobKey:
        ++result.lines_applied;
        break;
      case SettingsLineOutcome::kRefused:
      case SettingsLineOutcome::kNotAKey:
        ++result.lines_skipped;
        break;
    }
  }
  CloseHistoryGaps(app);
  result.job_kinds = JobKindsOf(*job);
  return result;
}

std::string FormatSettingsText(const ConversionSettings& job, const AppSettings& app) {
  std::string out;
  out.append(kHeaderLine);
  out.push_back('\n');
  // Without "keep the job for the next start" only the program options survive a restart.
  const bool keep_job = app.sw_opt[AppSettings::kOptKeepJob];
  if (keep_job) {
    AppendHistory(&out, app);
    AppendGeometry(&out, app);
  }
  AppendFlags(&out, "SW_OPT", app.sw_opt);
  AppendNumber(&out, "OPT_1", app.opt_1);
  AppendNumber(&out, "OPT_2", app.opt_2);
  AppendNumber(&out, "OPT_3", app.opt_3);
  if (keep_job) {
    AppendTargetSpecification(&out, app);
    job.WriteKeys(&out);
  }
  return out;
}

}  // namespace morva
