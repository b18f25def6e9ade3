#include "cli/set_option.h"

#include <string>
#include <utility>

#include "cli/key_listing.h"
#include "platform/decimal_text.h"

namespace morva {
namespace {

// Longest key the reader takes (" = " must begin by byte 16), and longest line.
constexpr std::size_t kMaxKeyLength = 16;
constexpr std::size_t kMaxLineLength = 1018;
// The reader skips lines shorter than this ("KEY = V" needs at least one byte of key and value more).
constexpr std::size_t kMinLineLength = 8;

// What the job record looks like to the settings file: its key block, once as it stands and once with
// the three timestamps in direct mode, so that the direct date and time lines are seen too.
std::string JobSnapshot(const ConversionSettings& job) {
  std::string out;
  job.WriteKeys(&out);
  ConversionSettings direct = job;
  for (int i = 0; i < 3; ++i) direct.sw_dtt[i] = 1;
  direct.WriteKeys(&out);
  return out;
}

// The value the key block writes for `key` ("KEY = value" line), or false when it writes none.
bool WrittenValue(const ConversionSettings& job, std::string_view key, std::string* value) {
  const std::string block = JobSnapshot(job);
  const std::string prefix = std::string(key) + " = ";
  for (std::size_t pos = 0; pos < block.size();) {
    std::size_t end = block.find('\n', pos);
    if (end == std::string::npos) end = block.size();
    const std::string_view line(block.data() + pos, end - pos);
    if (line.substr(0, prefix.size()) == prefix) {
      *value = std::string(line.substr(prefix.size()));
      return true;
    }
    pos = end + 1;
  }
  return false;
}

// Whether ParseKey took the value of a job key. ParseKey cannot tell a refused value from an accepted
// one, so the value must show: it changes the current record or a default one, or it is written
// exactly as the key block writes the value already there.
bool JobValueTaken(const ConversionSettings& before, std::string_view key, std::string_view value,
                   int number, const ConversionSettings& after) {
  if (JobSnapshot(after) != JobSnapshot(before)) return true;
  const ConversionSettings defaults;
  ConversionSettings changed_defaults = defaults;
  ParseKey(&changed_defaults, key, value, number, value.size());
  if (JobSnapshot(changed_defaults) != JobSnapshot(defaults)) return true;
  std::string written;
  return WrittenValue(after, key, &written) && written == value;
}

// Whether the settings file knows `key` at all: a key whose length rule failed comes back as "not a
// key" from the reader, which would be a misleading thing to tell.
bool IsSettingsKey(std::string_view key) {
  AppSettings app;
  app.sw_opt[AppSettings::kOptKeepJob] = true;  // so that every application key is written
  const ConversionSettings job;
  const std::string text = FormatSettingsText(job, app) + JobSnapshot(job);
  const std::string line_start = "\n" + std::string(key) + " = ";
  return text.find(line_start) != std::string::npos;
}

// "value refused for KEY", and what the key takes when the key table says.
std::string Refused(std::string_view key, const ConsoleText& text) {
  std::string refusal = "value refused for " + std::string(key);
  const std::string_view values = KeyValuesText(key);
  if (!values.empty()) refusal += " (it takes: " + text.Label(values) + ")";
  return refusal;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

bool ApplySetOption(TextCodec& codec, const ConsoleText& text, std::string_view argument,
                    const DesktopGeometry& desktop, ConversionSettings* job, AppSettings* app, std::string* error) {
  const std::string shown = "--set " + std::string(argument) + ": ";
  std::string line;
  if (!codec.Utf8ToCp932(argument, &line).ok()) {
    *error = shown + "the text is not UTF-8, or holds a character for which no code page 932 code is left";
    return false;
  }
  if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
    *error = shown + "line breaks and NUL bytes cannot be part of a settings line";
    return false;
  }
  // "KEY = VALUE" as the file writes it, else "KEY=VALUE". The key is pure ASCII, so the first "="
  // found in the code page 932 bytes is the separator.
  std::size_t key_end, value_begin;
  if (const std::size_t spaced = line.find(" = "); spaced != std::string::npos && line.find('=') == spaced + 1) {
    key_end = spaced;
    value_begin = spaced + 3;
  } else if (const std::size_t eq = line.find('='); eq != std::string::npos) {
    key_end = eq;
    value_begin = eq + 1;
  } else {
    *error = shown + "expected KEY=VALUE";
    return false;
  }
  const std::string key = AsciiUpper(std::string_view(line).substr(0, key_end));
  const std::string value = line.substr(value_begin);
  if (key.empty() || key.size() > kMaxKeyLength || key.find(' ') != std::string::npos) {
    *error = shown + "the key must be 1 to 16 characters without blanks";
    return false;
  }
  const std::size_t file_line_length = key.size() + 3 + value.size();
  if (file_line_length < kMinLineLength || file_line_length > kMaxLineLength) {
    *error = shown + (IsSettingsKey(key) ? "the settings file would not read this line (too short or too long)"
                                         : "unknown key " + key + " (morva-cli keys lists them)");
    return false;
  }

  // Work on copies, so that a refused value leaves nothing behind.
  ConversionSettings new_job = *job;
  AppSettings new_app = *app;
  const int number = LeadingInt(value);  // as the settings reader reads the value
  switch (ApplySettingsLine(key, value, desktop, &new_job, &new_app)) {
    case SettingsLineOutcome::kApplied:
      break;
    case SettingsLineOutcome::kRefused:
      *error = shown + Refused(key, text);
      if (key.rfind("DIRFIL", 0) == 0 || key == "CPDIR") {
        *error += " (the slot is filled already: name the target on the command line, or use --copy-to)";
      }
      return false;
    case SettingsLineOutcome::kJobKey:
      if (!JobValueTaken(*job, key, value, number, new_job)) {
        *error = shown + Refused(key, text);
        return false;
      }
      break;
    case SettingsLineOutcome::kNotAKey:
      *error = shown + (IsSettingsKey(key) ? Refused(key, text) : "unknown key " + key + " (morva-cli keys lists them)");
      return false;
  }
  *job = std::move(new_job);
  *app = std::move(new_app);
  return true;
}

}  // namespace morva
