// The key list `morva-cli keys` prints and the settings reader come from the same tables: every listed
// key is one the reader takes, and no key the reader acts on is missing from the list.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings_file.h"

namespace morva {
namespace {

constexpr CalendarTime kNow{2024, 3, 5, 7, 8, 9, 0};
constexpr DesktopGeometry kDesktop{1920, 1080, 700, 500};

// Values of every form a key takes: digits of each width, flag strings of each length, texts, dates,
// times, paths.
const std::vector<std::string> kProbeValues = {
    "0",          "1",          "2",          "3",          "4",          "5",       "7",
    "8",          "9",          "10",         "15",         "64",         "65",      "100",
    "255",        "1000",       "1111",       "0000",       "111",        "11",      "01234",
    "12345",      "0a00000",    "1111111",    "111111111111",           "1111111111111111",
    "2024/01/02", "12:34:56",   "12:34:56.789", "2024/01/02 03:04:05",  "abc",     "*.jpg",
    "C:\\dir",    "-5",         "1200"};

// The records as the settings file would hold them: every application key and every job key, the
// direct dates and times included.
std::string Snapshot(const ConversionSettings& job, const AppSettings& app) {
  AppSettings kept = app;
  kept.sw_opt[AppSettings::kOptKeepJob] = true;
  std::string text = FormatSettingsText(job, kept);
  ConversionSettings direct = job;
  for (int i = 0; i < 3; ++i) direct.sw_dtt[i] = 1;
  direct.WriteKeys(&text);
  return text;
}

struct Probe {
  bool taken = false;    // some value was taken as the key's (stored or refused)
  bool changes = false;  // some value changed what the file would hold
};

Probe ProbeKey(const std::string& key) {
  Probe probe;
  const ConversionSettings default_job(kNow);
  AppSettings default_app;
  default_app.CentreWindows(kDesktop.right, kDesktop.bottom, kDesktop.main_width, kDesktop.main_height);
  const std::string before = Snapshot(default_job, default_app);
  for (const std::string& value : kProbeValues) {
    ConversionSettings job = default_job;
    AppSettings app = default_app;
    // A line that is no key line leaves the records alone; only the others need the slow comparison.
    if (ApplySettingsLine(key, value, kDesktop, &job, &app) == SettingsLineOutcome::kNotAKey) continue;
    probe.taken = true;
    CloseHistoryGaps(&app);  // as the reader does after its last line
    if (Snapshot(job, app) != before) probe.changes = true;
  }
  return probe;
}

std::set<std::string> ListedKeys() {
  std::set<std::string> keys;
  for (const KeyDescription& key : SettingsKeyDescriptions()) keys.insert(key.key);
  return keys;
}

TEST(KeyDescriptionsTest, EveryListedKeyIsReadAndDescribedOnce) {
  const std::vector<KeyDescription> keys = SettingsKeyDescriptions();
  std::set<std::string> seen;
  for (const KeyDescription& key : keys) {
    SCOPED_TRACE(key.key);
    EXPECT_TRUE(seen.insert(key.key).second) << "listed twice";
    EXPECT_TRUE(ProbeKey(key.key).taken) << "the reader does not take it";
    EXPECT_FALSE(key.place.label.empty());
    EXPECT_FALSE(key.place.values.empty());
    // A key of earlier versions shows nowhere; the ones a page shows name it.
    if (key.legacy) {
      EXPECT_TRUE(key.place.page.empty());
    }
  }
  // The application keys, the sixteen history slots, the job keys and the old ones: all of them.
  EXPECT_TRUE(seen.contains("DIRFIL") && seen.contains("DIRFILF") && seen.contains("PREC7") && seen.contains("TREC5"));
  EXPECT_TRUE(seen.contains("FNM_IPN_SEL") && seen.contains("ID3_STR6") && seen.contains("FNM_IPN1") &&
              seen.contains("FNM_HDK8"));
}

TEST(KeyDescriptionsTest, EveryKeyTheFileHoldsIsListed) {
  ConversionSettings job(kNow);
  AppSettings app;
  for (std::size_t i = 0; i < app.dirfil.size(); ++i) app.dirfil[i] = "C:\\d" + std::to_string(i);
  const std::set<std::string> listed = ListedKeys();
  const std::string file = Snapshot(job, app);
  std::string_view text = file;
  std::size_t lines = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    const std::size_t separator = line.find(" = ");
    if (separator == std::string_view::npos) continue;  // the header and the blank lines
    ++lines;
    EXPECT_TRUE(listed.contains(std::string(line.substr(0, separator)))) << line;
  }
  EXPECT_GT(lines, 100u);
}

// Every key one character away from a listed one (one more, one less, the last one another): when the
// reader acts on it, it is listed. This is where an unlisted key would hide: the numbered keys, the
// keys of earlier versions beside the current ones.
TEST(KeyDescriptionsTest, NoKeyTheReaderActsOnIsMissing) {
  const std::set<std::string> listed = ListedKeys();
  const std::string_view alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";
  std::set<std::string> neighbours;
  for (const std::string& key : listed) {
    neighbours.insert(key.substr(0, key.size() - 1));
    for (char c : alphabet) {
      neighbours.insert(key + c);
      neighbours.insert(key.substr(0, key.size() - 1) + c);
    }
  }
  // The probe sees a key of each kind act: an old switch, a column width, a history slot.
  EXPECT_TRUE(ProbeKey("FNM_IPN1").changes && ProbeKey("PREC0").changes && ProbeKey("DIRFIL5").changes);
  int probed = 0;
  for (const std::string& key : neighbours) {
    if (listed.contains(key) || key.empty() || key.size() > 16) continue;
    ++probed;
    EXPECT_FALSE(ProbeKey(key).changes) << key << " changes the settings but is not listed";
  }
  EXPECT_GT(probed, 1000);
}

}  // namespace
}  // namespace morva
