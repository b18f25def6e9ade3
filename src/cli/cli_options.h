#ifndef MORVA_CLI_CLI_OPTIONS_H_
#define MORVA_CLI_CLI_OPTIONS_H_

#include <string>
#include <string_view>
#include <vector>

#include "cli/console_text.h"
#include "cli/target_report.h"

namespace morva {

// The commands morva-cli carries out.
enum class CliCommand { kNone, kCheck, kPreview, kRun, kUndo, kRuns, kLog, kEval, kPresets, kKeys, kShow, kHelp };

// The command line of morva-cli, as typed: paths are still host (or engine) paths in UTF-8.
struct CliOptions {
  bool help = false;                 // --help, -h or help: print help and do nothing else
  CliCommand help_topic = CliCommand::kNone;  // with help: the command asked about; kNone: the usage
  bool version = false;              // --version: print the version and do nothing else
  std::string home;                  // --home DIR; empty: the program directory (ProgramDirectory)
  std::string settings_file;         // --settings FILE; empty: morva.dat in the home directory
  std::string preset;                // --preset NAME; empty: none
  std::vector<std::string> sets;     // every --set KEY=VALUE, in order
  bool yes = false;                  // --yes: answer every question with Yes
  bool save = false;                 // --save: keep the job and the target in the settings file
  OutputForm output = OutputForm::kText;  // --json, --null (-0)
  std::string copy_to;               // --copy-to DIR; empty: no copy conversion
  bool overwrite = false;            // --overwrite: copies replace existing files
  CliCommand command = CliCommand::kNone;
  std::vector<std::string> targets;  // the arguments after the command (undo, log: the run identifier;
                                    // eval: the statement, then the path)
};

// Parses the arguments after the program name. Options may stand before or after the command; both
// "--opt VALUE" and "--opt=VALUE" are accepted, and short options without a value combine ("-y0");
// "--" ends the options, so a target may start with "-". "help [COMMAND]" and "COMMAND --help" ask for
// help. Returns false with a one-line reason in *error for anything it cannot take: an unknown option
// or command, a missing or empty value, a repeated single-valued option, --overwrite without
// --copy-to, --json and --null together or with a command that prints no rows, --save with a command
// that converts nothing, no command, arguments after runs or more than one run identifier after undo
// or log (its date and time may come as one argument or two), eval without exactly a statement and a
// path, arguments after presets, keys or show. *options then still names the command when one was
// read, for the hint to its help.
bool ParseCommandLine(const std::vector<std::string>& args, CliOptions* options, std::string* error);

// The usage text (UTF-8, ends with a line break): every command and option, the output forms and the
// exit statuses. The words it quotes from the listings (the states of `runs`, the kinds of `presets`)
// are in the language of `text`.
std::string UsageText(const ConsoleText& text);

// The help of one command: its synopsis, what it does and the options that concern it.
std::string CommandHelpText(CliCommand command, const ConsoleText& text);

// The command's name as typed ("preview"); empty for kNone.
std::string_view CommandName(CliCommand command);

// The lines a usage error ends with: the help to read.
std::string UsageHint(CliCommand command);

// The sections of the usage text the manual page and the README repeat: the output forms and the exit
// statuses, each ending with a line break.
std::string OutputFormsText(const ConsoleText& text);
std::string ExitStatusText();

// "morva-cli VERSION" and a line break.
std::string VersionText();

}  // namespace morva

#endif  // MORVA_CLI_CLI_OPTIONS_H_
