#include "cli/key_listing.h"

#include <map>
#include <string_view>

#include "cli/cli_command.h"
#include "platform/engine_text.h"
#include "settings/settings_file.h"

namespace morva {
namespace {

// Calls `line` with every "KEY = value" line of `text`.
template <typename F>
void ForEachLine(std::string_view text, F line) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    line(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
}

// The value every key has in the job in force, as the settings file writes it. Every application key is
// written when the job is kept; the direct dates and times only when their timestamp is direct, so they
// are taken from a copy that has all three direct.
std::map<std::string, std::string, std::less<>> CurrentValues(const Session& session) {
  AppSettings app = session.job.app;
  app.sw_opt[AppSettings::kOptKeepJob] = true;
  std::string text = FormatSettingsText(session.job.settings, app);
  ConversionSettings direct = session.job.settings;
  for (int i = 0; i < 3; ++i) direct.sw_dtt[i] = 1;
  direct.WriteKeys(&text);
  std::map<std::string, std::string, std::less<>> values;
  ForEachLine(text, [&](std::string_view line) {
    const std::size_t separator = line.find(" = ");
    if (separator == std::string_view::npos) return;
    // The first line of a key is the one in force (the direct copy's lines come after the real ones).
    values.emplace(std::string(line.substr(0, separator)), std::string(line.substr(separator + 3)));
  });
  return values;
}

}  // namespace

int ListSettingsKeys(Session& session, ConsoleUi& ui) {
  TextCodec& codec = session.host.codec;
  const auto values = CurrentValues(session);
  const std::string geometry = Cp932Text(codec, "（ウィンドウの配置）");
  const std::string legacy = Cp932Text(codec, "（旧版）");
  for (const KeyDescription& key : SettingsKeyDescriptions()) {
    std::string page = key.legacy ? legacy : key.place.page.empty() ? geometry : Cp932Text(codec, key.place.page);
    const auto value = values.find(key.key);
    ui.PrintResult(key.key + "\t" + page + "\t" + Cp932Text(codec, key.place.label) + "\t" +
                   Cp932Text(codec, key.place.values) + "\t" + (value == values.end() ? std::string() : value->second));
  }
  return kExitDone;
}

int ShowJobLines(Session& session, ConsoleUi& ui) {
  ForEachLine(FormatJobLines(session.job.settings, session.job.app),
              [&](std::string_view line) { ui.PrintResult(line); });
  return kExitDone;
}

}  // namespace morva
