#include "cli/cli_options.h"

#include <optional>

namespace morva {
namespace {

constexpr std::string_view kCommandList = "check, preview, run, undo, runs, log, eval, presets, keys or show";

// Splits "--name=value"; `value` is empty (not absent) for "--name=".
void SplitOption(std::string_view arg, std::string_view* name, std::optional<std::string_view>* value) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string_view::npos) {
    *name = arg;
    value->reset();
  } else {
    *name = arg.substr(0, eq);
    *value = arg.substr(eq + 1);
  }
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CliOptions* options, std::string* error) {
  *options = CliOptions();
  bool options_ended = false;
  bool have_preset = false;
  bool have_home = false, have_settings = false, have_copy_to = false;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      if (options->command != CliCommand::kNone) {
        options->targets.push_back(arg);
        continue;
      }
      if (arg == "check") {
        options->command = CliCommand::kCheck;
      } else if (arg == "preview") {
        options->command = CliCommand::kPreview;
      } else if (arg == "run") {
        options->command = CliCommand::kRun;
      } else if (arg == "undo") {
        options->command = CliCommand::kUndo;
      } else if (arg == "runs") {
        options->command = CliCommand::kRuns;
      } else if (arg == "log") {
        options->command = CliCommand::kLog;
      } else if (arg == "eval") {
        options->command = CliCommand::kEval;
      } else if (arg == "presets") {
        options->command = CliCommand::kPresets;
      } else if (arg == "keys") {
        options->command = CliCommand::kKeys;
      } else if (arg == "show") {
        options->command = CliCommand::kShow;
      } else {
        *error = "unknown command '" + arg + "' (expected " + std::string(kCommandList) + ")";
        return false;
      }
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }

    std::string_view name;
    std::optional<std::string_view> inline_value;
    SplitOption(arg, &name, &inline_value);

    // Options without a value.
    if (name == "--help" || name == "-h" || name == "--version" || name == "--yes" || name == "-y" ||
        name == "--overwrite") {
      if (inline_value) {
        *error = "option " + std::string(name) + " takes no value";
        return false;
      }
      if (name == "--help" || name == "-h") options->help = true;
      if (name == "--version") options->version = true;
      if (name == "--yes" || name == "-y") options->yes = true;
      if (name == "--overwrite") options->overwrite = true;
      continue;
    }
    bool* seen = nullptr;
    std::string* single = nullptr;
    if (name == "--home") {
      seen = &have_home;
      single = &options->home;
    } else if (name == "--settings") {
      seen = &have_settings;
      single = &options->settings_file;
    } else if (name == "--preset") {
      seen = &have_preset;
      single = &options->preset;
    } else if (name == "--copy-to") {
      seen = &have_copy_to;
      single = &options->copy_to;
    } else if (name != "--set") {
      *error = "unknown option " + std::string(name);
      return false;
    }

    std::string value;
    if (inline_value) {
      value = std::string(*inline_value);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      *error = "option " + std::string(name) + " needs a value";
      return false;
    }
    if (value.empty()) {
      *error = "option " + std::string(name) + " needs a non-empty value";
      return false;
    }
    if (single == nullptr) {
      options->sets.push_back(std::move(value));
      continue;
    }
    if (*seen) {
      *error = "option " + std::string(name) + " given twice";
      return false;
    }
    *seen = true;
    *single = std::move(value);
  }

  if (options->help || options->version) return true;
  if (options->overwrite && options->copy_to.empty()) {
    *error = "--overwrite needs --copy-to DIR";
    return false;
  }
  if (options->command == CliCommand::kNone) {
    *error = "no command given (expected " + std::string(kCommandList) + ")";
    return false;
  }
  if (options->command == CliCommand::kRuns && !options->targets.empty()) {
    *error = "runs takes no arguments";
    return false;
  }
  if (options->command == CliCommand::kPresets && !options->targets.empty()) {
    *error = "presets takes no arguments";
    return false;
  }
  if (options->command == CliCommand::kKeys && !options->targets.empty()) {
    *error = "keys takes no arguments";
    return false;
  }
  if (options->command == CliCommand::kShow && !options->targets.empty()) {
    *error = "show takes no arguments";
    return false;
  }
  if (options->command == CliCommand::kEval && options->targets.size() != 2) {
    *error = "eval takes a control statement and one path";
    return false;
  }
  if (options->command == CliCommand::kUndo || options->command == CliCommand::kLog) {
    // "2024/01/02 03:04:05" typed without quotes arrives as two arguments.
    if (options->targets.size() == 2) {
      options->targets = {options->targets[0] + " " + options->targets[1]};
    } else if (options->targets.size() > 2) {
      *error = std::string(options->command == CliCommand::kUndo ? "undo" : "log") +
               " takes at most one run identifier (YYYY/MM/DD hh:mm:ss)";
      return false;
    }
  }
  return true;
}

std::string UsageText() {
  return "usage: morva-cli [--home DIR] [--settings FILE] [--preset NAME] [--set KEY=VALUE]... [--yes]\n"
         "                 [--copy-to DIR [--overwrite]] COMMAND [TARGET...]\n"
         "\n"
         "commands:\n"
         "  check   [TARGET...]   validate the job; the refusal message goes to stderr\n"
         "  preview [TARGET...]   print one line per target and the counts line; changes nothing\n"
         "  run     [TARGET...]   convert (asks first unless --yes) and print the summary\n"
         "  undo    [RUN-ID]      undo a run from the log (default: the newest one not undone yet)\n"
         "  runs                  list the runs in the log: identifier, 不可/済み/未, target, function\n"
         "  log     [RUN-ID]      print the log (or the block of one run) in UTF-8 with host paths\n"
         "  eval STATEMENT PATH   print the name the control statement gives the file or directory PATH\n"
         "                        (the job's extension handling applies; nothing changes on disk)\n"
         "  presets               list the saved presets: kind (変換設定, 変換制御文 or 文字列置換設定),\n"
         "                        name and, for statements and replacements, what they hold\n"
         "  keys                  list every settings key: key, page and label in the window, values,\n"
         "                        value in the job (tab-separated)\n"
         "  show                  print the job as settings lines; each one can be given to --set\n"
         "\n"
         "TARGET: none = the target of the settings; one = that directory (or file or wildcard);\n"
         "two or more = exactly these files and directories. Host paths (/home/me/x) and engine\n"
         "paths (Z:\\home\\me\\x) are both accepted.\n"
         "\n"
         "options:\n"
         "  --home DIR        program directory holding morva.dat, the presets and the log (default:\n"
         "                    the executable's directory in a build tree, else $XDG_CONFIG_HOME/morva\n"
         "                    or ~/.config/morva)\n"
         "  --settings FILE   read the job from FILE instead of DIR/morva.dat\n"
         "  --preset NAME     then load the whole-job preset NAME from DIR/morvaset.dat\n"
         "  --set KEY=VALUE   one settings line on top of the file (repeatable, applied in order)\n"
         "  --yes, -y         answer Yes to every question\n"
         "  --copy-to DIR     convert copies made in DIR (copy conversion)\n"
         "  --overwrite       let the copies replace existing files in DIR\n"
         "  --version         print the version\n"
         "  --help, -h        this text\n"
         "\n"
         "exit status: 0 done, nothing failed; 1 done, some target failed; 2 refused; 130 stopped by\n"
         "Ctrl-C, 143 by SIGTERM\n";
}

std::string VersionText() { return std::string("morva-cli ") + MORVA_VERSION + "\n"; }

}  // namespace morva
