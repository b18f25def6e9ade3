#ifndef MORVA_CLI_CLI_OPTIONS_H_
#define MORVA_CLI_CLI_OPTIONS_H_

#include <string>
#include <string_view>
#include <vector>

namespace morva {

// The commands morva-cli carries out.
enum class CliCommand { kNone, kCheck, kPreview, kRun, kUndo, kRuns, kLog, kEval, kPresets, kKeys, kShow };

// The command line of morva-cli, as typed: paths are still host (or engine) paths in UTF-8.
struct CliOptions {
  bool help = false;                 // --help: print the usage and do nothing else
  bool version = false;              // --version: print the version and do nothing else
  std::string home;                  // --home DIR; empty: the program directory (ProgramDirectory)
  std::string settings_file;         // --settings FILE; empty: morva.dat in the home directory
  std::string preset;                // --preset NAME; empty: none
  std::vector<std::string> sets;     // every --set KEY=VALUE, in order
  bool yes = false;                  // --yes: answer every question with Yes
  std::string copy_to;               // --copy-to DIR; empty: no copy conversion
  bool overwrite = false;            // --overwrite: copies replace existing files
  CliCommand command = CliCommand::kNone;
  std::vector<std::string> targets;  // the arguments after the command (undo, log: the run identifier;
                                    // eval: the statement, then the path)
};

// Parses the arguments after the program name. Options may stand before or after the command; both
// "--opt VALUE" and "--opt=VALUE" are accepted; "--" ends the options, so a target may start with "-".
// Returns false with a one-line reason in *error for anything it cannot take: an unknown option or
// command, a missing or empty value, a repeated single-valued option, --overwrite without --copy-to,
// no command, arguments after runs or more than one run identifier after undo or log (its date and
// time may come as one argument or two), eval without exactly a statement and a path, arguments after presets, keys or show.
bool ParseCommandLine(const std::vector<std::string>& args, CliOptions* options, std::string* error);

// The usage text (UTF-8, ends with a line break).
std::string UsageText();

// "morva-cli VERSION" and a line break.
std::string VersionText();

}  // namespace morva

#endif  // MORVA_CLI_CLI_OPTIONS_H_
