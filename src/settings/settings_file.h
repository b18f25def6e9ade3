#ifndef MORVA_SETTINGS_SETTINGS_FILE_H_
#define MORVA_SETTINGS_SETTINGS_FILE_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/app_settings.h"
#include "core/conversion_settings.h"
#include "core/job_switches.h"
#include "core/key_place.h"

// The text of the settings file "morva.dat": the current job, the target settings, the program
// options and the window geometry, kept between sessions as code page 932 key lines ("KEY = value").
//
// These functions work on the file's bytes only; the loader and the saver around them do the I/O:
//
//   Loading (once, while the main window is initialised, after it exists and before the option pages):
//   set the application defaults (AppSettings::CentreWindows with the desktop and the main window's
//   size), construct the current job record, load the presets, then read the file and pass its bytes to
//   ParseSettingsText. A missing or unreadable file leaves every default standing and makes the load
//   report false, as a wrong header does (SettingsReadResult::recognised). Nothing is ever reported to
//   the user.
//
//   Saving (once, while the main window is destroyed, after the interface has been collected into the
//   records): only when the SettingsWriteGate is open, replace the file with FormatSettingsText's bytes.
//   The save fails (false) only when the file cannot be created; that too is never reported.
namespace morva {

// The file's name; it lives in the program directory.
inline constexpr std::string_view kSettingsFileName = "morva.dat";

// What the placement of the stored window positions depends on: the desktop's right and bottom edges
// and the main window's own size.
struct DesktopGeometry {
  int right = 0;
  int bottom = 0;
  int main_width = 0;
  int main_height = 0;
};

// What reading the file's bytes found.
struct SettingsReadResult {
  // The first line is this program's settings header (any version). When false nothing was read and
  // both records are exactly as they were passed in; the loader returns this value.
  bool recognised = false;
  // Lines whose key matched an application key or a job key and whose value was stored. A job key
  // whose value ParseKey refused is counted too, since ParseKey cannot tell it apart.
  int lines_applied = 0;
  // Every other non-blank line after the header: malformed, unknown or refused. Never reported to
  // the user; it lets a caller or a test see that something was passed over.
  int lines_skipped = 0;
  // The job kinds the main window shows as on, of the job record after reading (also when the header
  // was not recognised): the switches validation and the run read.
  JobSwitches job_kinds;
};

// Reads the bytes of a settings file into *job and *app, which hold their defaults (or whatever should
// stand for a missing key) on entry.
//
// The first line must carry the header "MORVA Settings Version "; the version digits after it are not
// compared. Every further line (ended by LF or CR LF; a last line may lack its break) is one key line:
// at least 8 bytes before its break, holding " = " with at most 16 bytes before it. The key before it
// is upper-cased, the value is the rest of the line. Application keys follow their own rules (see
// ApplySettingsLine); any other key goes to ParseKey with the job record. Lines not understood are
// skipped silently, and so is a line longer than 1018 bytes or one holding a NUL byte. After the last
// line the target-path history is closed up so that its paths stand from slot 0 without gaps.
SettingsReadResult ParseSettingsText(std::string_view file_bytes, const DesktopGeometry& desktop,
                                     ConversionSettings* job, AppSettings* app);

// How one key line was taken.
enum class SettingsLineOutcome {
  kApplied,   // an application key whose value was stored
  kRefused,   // an application key whose value was not accepted; the setting is unchanged
  kJobKey,    // ParseKey took it as a job key (its value may still have been refused)
  kNotAKey,   // neither: skipped
};

// Applies one key line. `key` is already upper-cased; `value` is the value text without its break.
// Application keys are checked first: when the key is one of them and the value's length rule holds,
// the value is stored if it passes the value rule (kApplied) and refused otherwise (kRefused). A key
// that is none of them, or whose length rule failed, is handed to ParseKey (kJobKey or kNotAKey); a
// DIRFIL key with a suffix other than one of "1"-"9", "A"-"F" is kNotAKey without being handed on.
// The first accepted line wins for a DIRFIL slot and for CPDIR; for every other key the last one does.
// Window positions are kept on the desktop by `desktop` and the window sizes already in *app, so sizes
// must be applied before positions (the writer puts them in that order).
SettingsLineOutcome ApplySettingsLine(std::string_view key, std::string_view value, const DesktopGeometry& desktop,
                                      ConversionSettings* job, AppSettings* app);

// Moves the target paths of the history up so that every path stands before every empty slot, keeping
// their order.
void CloseHistoryGaps(AppSettings* app);

// The bytes of the settings file for these records: the header and a blank line, then (only when
// SW_OPT[2], "keep the job for the next start", is on) the target-path history and the window
// geometry, then always SW_OPT and OPT_1 to OPT_3, then (again only with SW_OPT[2]) the target
// settings, the copy conversion and preview options and the job key block. Code page 932, LF line
// ends. An application text holding a CR or LF could not be read back as one line: such a history path
// is left out and such another text is written empty.
std::string FormatSettingsText(const ConversionSettings& job, const AppSettings& app);

// The job in force as key lines the reader takes back, in the file's order: the application keys that
// shape a run (target options and range, copy overwrite, preview exclusions, program options), then the
// job key block. Window geometry, the path and wildcard histories and the copy output directory are
// left out: they are a window's state or are given on their own (a target, --copy-to). A line the
// reader would not take back (an empty time bound) is left out too. Code page 932, LF line ends.
std::string FormatJobLines(const ConversionSettings& job, const AppSettings& app);

// Every key the reader takes, each with its place in the window: the application keys in the order the
// file holds them (a numbered key once per slot: DIRFIL, DIRFIL1, ..., PREC0, ...), then the job keys
// of JobKeyDescriptions, the keys of earlier versions last. The reader and this list come from the
// same tables.
std::vector<KeyDescription> SettingsKeyDescriptions();

// Whether the settings file is written at exit. Closed at start-up; opened by the settings dialog's OK,
// by the end of every conversion run, and at exit when the main window or the target list window has
// moved or changed size since start-up. Exiting with the gate closed writes nothing, even when options
// on the pages were changed. Owned by the session state, not a global.
class SettingsWriteGate {
 public:
  void Open() { open_ = true; }
  bool is_open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace morva

#endif  // MORVA_SETTINGS_SETTINGS_FILE_H_
