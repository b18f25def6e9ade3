#include "cli/key_listing.h"

#include <map>
#include <string_view>

#include "cli/cli_command.h"
#include "platform/display_text.h"
#include "settings/key_lines.h"
#include "settings/settings_file.h"

namespace morva {
namespace {

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
  std::string_view rest = text;
  for (TextLine line; NextLine(&rest, &line);) {
    const std::size_t separator = line.text.find(" = ");
    if (separator == std::string_view::npos) continue;
    // The first line of a key is the one in force (the direct copy's lines come after the real ones).
    values.emplace(std::string(line.text.substr(0, separator)), std::string(line.text.substr(separator + 3)));
  }
  return values;
}

}  // namespace

std::string JobKeyValue(const Session& session, std::string_view key) {
  const auto values = CurrentValues(session);
  const auto value = values.find(key);
  return value == values.end() ? std::string() : value->second;
}

std::string_view KeyPageName(const KeyDescription& key) {
  if (key.legacy) return "（旧版）";
  return key.place.page.empty() ? "（ウィンドウの配置）" : key.place.page;
}

std::string_view KeyValuesText(std::string_view key) {
  // The descriptions are built on each call; the values they point to are the table's constants.
  for (const KeyDescription& description : SettingsKeyDescriptions()) {
    if (description.key == key) return description.place.values;
  }
  return {};
}

int ListSettingsKeys(Session& session, ConsoleUi& ui) {
  const ConsoleText& text = ui.text();
  const auto values = CurrentValues(session);
  for (const KeyDescription& key : SettingsKeyDescriptions()) {
    const auto value = values.find(key.key);
    ui.PrintResultUtf8(key.key + "\t" + text.Label(KeyPageName(key)) + "\t" + text.Label(key.place.label) + "\t" +
                       text.Label(key.place.values) + "\t" +
                       (value == values.end() ? std::string() : DisplayText(session.host.codec, value->second)));
  }
  return kExitDone;
}

int ShowJobLines(Session& session, ConsoleUi& ui) {
  const std::string lines = FormatJobLines(session.job.settings, session.job.app);
  std::string_view rest = lines;
  for (TextLine line; NextLine(&rest, &line);) ui.PrintResult(line.text);
  return kExitDone;
}

}  // namespace morva
