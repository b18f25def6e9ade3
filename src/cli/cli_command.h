#ifndef MORVA_CLI_CLI_COMMAND_H_
#define MORVA_CLI_CLI_COMMAND_H_

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/console_ui.h"
#include "engine/session.h"
#include "settings/settings_file.h"

namespace morva {

// Exit statuses of morva-cli.
inline constexpr int kExitDone = 0;       // done, nothing failed
inline constexpr int kExitFailures = 1;   // done, some target failed (or, for preview, would fail)
inline constexpr int kExitRefused = 2;    // usage, settings, validation
inline constexpr int kExitDeclined = 3;   // a question answered No, or cancelled without a signal (main
                                          // gives a signal's status)
inline constexpr int kExitSignalBase = 128;  // + the number of the signal that stopped the command

// The desktop the console assumes when it reads and writes window positions it never uses: wide
// enough that no stored position is pulled in, so a run from the console keeps the desktop program's
// window placement as it was. Positions the file does not hold are centred on a common screen instead.
inline constexpr DesktopGeometry kConsoleDesktop{16384, 16384, 640, 480};
inline constexpr DesktopGeometry kConsoleCentreDesktop{1920, 1080, 640, 480};

// Carries out one parsed command line on `session`, whose interface is `ui`:
//   1. the job: the defaults, then the settings file (--settings FILE, or morva.dat in the program
//      directory `program_directory`, a host path), then every --set in order;
//   2. the targets: none keeps the settings' target, one is directory mode with that path (it moves to
//      the front of the path history of this job), two or more are list mode;
//   3. --copy-to turns on copy conversion into that directory;
//   4. check validates, preview prints a row per target, run converts (after the question, answered by
//      --yes) and prints a row per target it finished; the counts go to `err`'s side (the interface's
//      messages). The settings file is written only by a run with --save, as the desktop program saves
//      it when a run has happened: without it a later call never repeats this one's job or target.
// Problems of the command line itself (an unreadable --settings file, a refused --set, a path without
// a code page 932 form) are reported on `err`. Returns the exit status.
int RunCliCommand(Session& session, ConsoleUi& ui, const CliOptions& options, const std::string& program_directory,
                  std::ostream& err);

}  // namespace morva

#endif  // MORVA_CLI_CLI_COMMAND_H_
