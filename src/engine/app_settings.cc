#include "engine/app_settings.h"

#include <algorithm>

namespace morva {

void AppSettings::CentreWindows(int desktop_right, int desktop_bottom, int main_width, int main_height) {
  // Integer division truncates toward zero, as the stored positions always have.
  winx = (desktop_right - main_width) / 2;
  winy = (desktop_bottom - main_height) / 2;
  prex = std::max(0, (desktop_right - 600) / 2);
  prey = std::max(0, (desktop_bottom - 400) / 2);
  lulx = std::max(0, (desktop_right - 640) / 2);
  luly = std::max(0, (desktop_bottom - 480) / 2);
}

}  // namespace morva
