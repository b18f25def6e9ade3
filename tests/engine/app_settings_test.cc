#include "engine/app_settings.h"

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

}  // namespace
}  // namespace morva
