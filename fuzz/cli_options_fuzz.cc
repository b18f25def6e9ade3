// Feeds arbitrary command lines (arguments separated by NUL bytes) to morva-cli's option parser, and
// every argument to the JSON writer. Besides the sanitizers' checks: a line the parser takes is one
// whose options it can stand behind (no value-less option holds a value, no output form without rows),
// a refusal always says why, and what the JSON writer makes of any bytes is valid UTF-8 without a raw
// control character and that Python's or any other parser takes as one string.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "cli/target_report.h"

namespace {

// Whether `json` is one JSON string as AppendJsonString writes it: quoted, escapes only of the forms it
// uses, well-formed UTF-8 between them and no byte below 0x20.
bool IsJsonString(std::string_view json) {
  if (json.size() < 2 || json.front() != '"' || json.back() != '"') return false;
  const std::string_view body = json.substr(1, json.size() - 2);
  for (std::size_t i = 0; i < body.size();) {
    const unsigned char c = static_cast<unsigned char>(body[i]);
    if (c < 0x20 || c == 0x7F || c == '"') return false;
    if (c == '\\') {
      if (i + 1 >= body.size()) return false;
      const char e = body[i + 1];
      if (e == 'u') {
        if (i + 6 > body.size()) return false;
        i += 6;
      } else if (e == '"' || e == '\\' || e == 'n' || e == 't' || e == 'r') {
        i += 2;
      } else {
        return false;
      }
      continue;
    }
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > body.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(body[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  for (std::size_t pos = 0; pos <= input.size();) {
    std::size_t end = input.find('\0', pos);
    if (end == std::string_view::npos) end = input.size();
    args.emplace_back(input.substr(pos, end - pos));
    pos = end + 1;
  }

  morva::CliOptions options;
  std::string error;
  if (morva::ParseCommandLine(args, &options, &error)) {
    if (!error.empty()) std::abort();
    if (!options.help && !options.version && options.command == morva::CliCommand::kNone) std::abort();
    if (options.overwrite && options.copy_to.empty() && !options.help && !options.version) std::abort();
  } else if (error.empty()) {
    std::abort();
  }
  (void)morva::UsageHint(options.command);

  for (const std::string& arg : args) {
    std::string json;
    morva::AppendJsonString(arg, &json);
    if (!IsJsonString(json)) std::abort();
    const std::string cell = morva::CellText(arg);
    for (const char c : cell) {
      if (c == '\n' || c == '\t') std::abort();
    }
    (void)morva::DisplayWidth(arg);
  }
  return 0;
}
