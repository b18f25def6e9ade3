#include "core/app_settings.h"

#include <algorithm>
#include <utility>

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

void AppSettings::PushTargetPath(std::string path) {
  std::size_t from = dirfil.size() - 1;  // without an equal entry the oldest one makes room
  for (std::size_t i = 0; i < dirfil.size(); ++i) {
    if (dirfil[i] == path) {
      from = i;
      break;
    }
  }
  for (std::size_t i = from; i > 0; --i) dirfil[i] = std::move(dirfil[i - 1]);
  dirfil[0] = std::move(path);
}

void AppSettings::ReplaceNewestTargetPath(std::string path) {
  for (std::size_t i = 0; i + 1 < dirfil.size(); ++i) dirfil[i] = std::move(dirfil[i + 1]);
  dirfil.back().reset();
  PushTargetPath(std::move(path));
}

}  // namespace morva
