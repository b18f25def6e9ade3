#include "settings/settings_store.h"

#include <string>

#include "platform/cp932.h"

namespace morva {

std::string ProgramFilePath(std::string_view program_directory, std::string_view name) {
  std::string path(program_directory);
  // A final 0x5C byte may be the second half of a double-byte character ("表" is 0x95 0x5C), not a
  // separator.
  const bool ends_with_separator = !path.empty() && path.back() == '\\' && !cp932::IsTrailAt(path, path.size() - 1);
  if (!ends_with_separator) path.push_back('\\');
  path.append(name);
  return path;
}

std::string SettingsFilePath(std::string_view program_directory) {
  return ProgramFilePath(program_directory, kSettingsFileName);
}

bool LoadSettingsFile(FileSystem& fs, std::string_view file_path, const DesktopGeometry& desktop,
                      ConversionSettings* job, AppSettings* app, const DesktopGeometry* centre_on) {
  const DesktopGeometry& centre = centre_on != nullptr ? *centre_on : desktop;
  *app = AppSettings();
  app->CentreWindows(centre.right, centre.bottom, centre.main_width, centre.main_height);
  *job = ConversionSettings();

  std::string bytes;
  if (!fs.ReadFile(file_path, FileSystem::kMaxReadFileSize, &bytes).ok()) return false;
  return ParseSettingsText(bytes, desktop, job, app).recognised;
}

bool LoadSettings(FileSystem& fs, std::string_view program_directory, const DesktopGeometry& desktop,
                  ConversionSettings* job, AppSettings* app, const DesktopGeometry* centre_on) {
  return LoadSettingsFile(fs, SettingsFilePath(program_directory), desktop, job, app, centre_on);
}

bool SaveSettings(FileSystem& fs, std::string_view program_directory, const SettingsWriteGate& gate,
                  const ConversionSettings& job, const AppSettings& app) {
  if (!gate.is_open()) return true;
  return fs.WriteFile(SettingsFilePath(program_directory), FormatSettingsText(job, app)).ok();
}

}  // namespace morva
