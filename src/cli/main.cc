// morva-cli: the console front end. Parses the command line, builds the services and the session, and
// hands over to RunCliCommand.
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/console_text.h"
#include "cli/console_ui.h"
#include "cli/target_report.h"
#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/interface_language.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "platform/user_area_table.h"
#include "settings/program_directory.h"

int main(int argc, char** argv) {
  using namespace morva;
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Japanese under a Japanese locale, English under any other; the files it writes stay Japanese.
  const ConsoleText text(UiLanguageOfEnvironment());
  CliOptions options;
  std::string usage_error;
  if (!ParseCommandLine(args, &options, &usage_error)) {
    // One line, whatever the arguments it quotes hold.
    std::cerr << "morva-cli: " << CellText(usage_error) << "\n" << UsageHint(options.command);
    return kExitRefused;
  }
  if (options.help) {
    std::cout << (options.help_topic == CliCommand::kNone ? UsageText(text) : CommandHelpText(options.help_topic, text));
    return kExitDone;
  }
  if (options.version) {
    std::cout << VersionText();
    return kExitDone;
  }

  std::string error;
  const std::string home = options.home.empty() ? ProgramDirectory(&error) : RealDirectory(options.home);
  if (home.empty()) {
    std::cerr << "morva-cli: cannot find the program directory (" << error << "); name it with --home DIR\n";
    return kExitRefused;
  }
  // Without its table the program still works, but names holding a character outside code page 932
  // stay hidden.
  std::unique_ptr<UserAreaTable> table;
  if (Status s = UserAreaTable::Open(home + "/" + std::string(UserAreaTable::kFileName), &table); !s.ok()) {
    std::cerr << "morva-cli: names with characters outside code page 932 stay hidden (" << s.ToString() << ")\n";
  }
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec(table.get());
  if (codec == nullptr) {
    std::cerr << "morva-cli: the C library has no CP932 converter\n";
    return kExitRefused;
  }
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());

  InstallInterruptHandler();
  ConsoleUi ui(*codec, *fs, text, std::cout, std::cerr, std::cin, isatty(STDIN_FILENO) == 1, options.yes);
  ui.set_output(options.output, isatty(STDOUT_FILENO) == 1);
  Session session(*codec, *fs, ui);
  std::unique_ptr<RegexService> regex = NewPcre2RegexService(codec.get());
  session.host.regex = regex.get();
  const int status = RunCliCommand(session, ui, options, home, std::cerr);
  // A command a signal stopped says so as shells expect, whatever it had done by then.
  return StopSignal() != 0 ? kExitSignalBase + StopSignal() : status;
}
