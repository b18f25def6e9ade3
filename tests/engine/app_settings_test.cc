#include "core/app_settings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace morva {
namespace {

TEST(AppSettingsTest, CentreWindowsOnTheDesktop) {
  AppSettings app;
  app.CentreWindows(1920, 1080, 700, 500);
  EXPECT_EQ(app.winx, 610);
  EXPECT_EQ(app.winy, 290);
  EXPECT_EQ(app.prex, 660);
  EXPECT_EQ(app.prey, 340);
  EXPECT_EQ(app.lulx, 640);
  EXPECT_EQ(app.luly, 300);

  // On a desktop smaller than the windows the main window may start off screen, the dialogs may not;
  // halves truncate toward zero.
  app.CentreWindows(500, 299, 700, 300);
  EXPECT_EQ(app.winx, -100);
  EXPECT_EQ(app.winy, 0);
  EXPECT_EQ(app.prex, 0);
  EXPECT_EQ(app.prey, 0);
  EXPECT_EQ(app.lulx, 0);
  EXPECT_EQ(app.luly, 0);
}

TEST(AppSettingsTest, PushTargetPathKeepsOneEntryPerPath) {
  // Each case pushes `path` onto `history` (newest first; the other entries stay empty).
  struct Case {
    const char* name;
    std::vector<std::string> history;
    std::string path;
    std::vector<std::string> expected;
  };
  std::vector<std::string> full;  // 16 entries: p0 (newest) to p15
  for (int i = 0; i < 16; ++i) full.push_back("Z:\\p" + std::to_string(i));
  std::vector<std::string> full_pushed = {"Z:\\new"};
  full_pushed.insert(full_pushed.end(), full.begin(), full.end() - 1);
  std::vector<std::string> full_moved = {"Z:\\p9"};
  for (int i = 0; i < 16; ++i) {
    if (i != 9) full_moved.push_back(full[i]);
  }
  for (const Case& c : std::vector<Case>{
           {"into an empty history", {}, "Z:\\a", {"Z:\\a"}},
           {"an entry of the history moves to the front", {"Z:\\a", "Z:\\b", "Z:\\c"}, "Z:\\b",
            {"Z:\\b", "Z:\\a", "Z:\\c"}},
           {"the newest entry stays where it is", {"Z:\\a", "Z:\\b"}, "Z:\\a", {"Z:\\a", "Z:\\b"}},
           // Another directory on this host: added with its own spelling, the entry stays.
           {"another letter case is another path", {"Z:\\t\\Photos", "Z:\\b"}, "Z:\\t\\photos",
            {"Z:\\t\\photos", "Z:\\t\\Photos", "Z:\\b"}},
           {"the 17th path pushes the oldest out", full, "Z:\\new", full_pushed},
           {"an old entry of a full history moves without a duplicate", full, "Z:\\p9", full_moved},
       }) {
    SCOPED_TRACE(c.name);
    AppSettings app;
    for (std::size_t i = 0; i < c.history.size(); ++i) app.dirfil[i] = c.history[i];
    app.PushTargetPath(c.path);
    std::vector<std::string> got;
    for (const auto& entry : app.dirfil) {
      if (entry) got.push_back(*entry);
    }
    EXPECT_EQ(got, c.expected);
  }
}

}  // namespace
}  // namespace morva
