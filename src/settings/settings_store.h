#ifndef MORVA_SETTINGS_SETTINGS_STORE_H_
#define MORVA_SETTINGS_SETTINGS_STORE_H_

#include <string>
#include <string_view>

#include "core/app_settings.h"
#include "core/conversion_settings.h"
#include "platform/file_system.h"
#include "settings/settings_file.h"

// Loading and saving the settings file "morva.dat" in the program directory, around the text functions
// of settings_file.h. The front end names the program directory: the desktop program the directory of
// its executable, the console front end its --home directory (by default the executable's, too).
namespace morva {

// The engine path of the file `name` in `program_directory` (an engine path): the directory, a backslash
// and the name. A directory that already ends with a backslash (a drive root) gets none.
std::string ProgramFilePath(std::string_view program_directory, std::string_view name);

// The engine path of the settings file in `program_directory` (an engine path): the directory, a
// backslash and "morva.dat". A directory that already ends with a backslash (a drive root) gets none.
std::string SettingsFilePath(std::string_view program_directory);

// Gives *app its defaults (windows centred on `desktop`, or on `centre_on` when given) and *job the
// defaults of a new job, then reads the settings file at `file_path` (an engine path) into both; stored
// window positions are kept on `desktop`. A front end without windows passes a desktop large enough to
// keep every stored position and a real-sized one to centre on, so that it never moves the desktop
// program's windows when it saves the file. Returns false when the file is missing,
// cannot be read (or is larger than the file system reads) or does not start with this program's
// header; every default then stands. Lines the reader does not understand are skipped. Nothing is
// ever reported to the person: a broken settings file must never keep the program from starting.
bool LoadSettingsFile(FileSystem& fs, std::string_view file_path, const DesktopGeometry& desktop,
                      ConversionSettings* job, AppSettings* app, const DesktopGeometry* centre_on = nullptr);

// LoadSettingsFile on the settings file of `program_directory`.
bool LoadSettings(FileSystem& fs, std::string_view program_directory, const DesktopGeometry& desktop,
                  ConversionSettings* job, AppSettings* app, const DesktopGeometry* centre_on = nullptr);

// Writes the settings file of `program_directory` when `gate` is open; with the gate closed nothing is
// written and the result is true. The file is replaced atomically, so a failure leaves the old one
// whole. Returns false only when the file cannot be written; nothing is reported to the person.
bool SaveSettings(FileSystem& fs, std::string_view program_directory, const SettingsWriteGate& gate,
                  const ConversionSettings& job, const AppSettings& app);

}  // namespace morva

#endif  // MORVA_SETTINGS_SETTINGS_STORE_H_
