#include "cli/cli_options.h"

#include <optional>

namespace morva {
namespace {

// One command: its name, its arguments, what it does (lines of the usage text, the later ones
// indented), and the options that concern it.
struct CommandInfo {
  CliCommand command;
  std::string_view name;
  std::string_view arguments;
  std::string_view summary;
  std::string_view options;
};

constexpr CommandInfo kCommands[] = {
    {CliCommand::kCheck, "check", "[TARGET...]", "validate the job; the refusal message goes to stderr",
     "--home, --settings, --preset, --set, --copy-to, --overwrite, --yes"},
    {CliCommand::kPreview, "preview", "[TARGET...]",
     "print a row per target: what a run would do (state, new name, reason);\n"
     "changes nothing",
     "--home, --settings, --preset, --set, --copy-to, --overwrite, --yes, --json, --null"},
    {CliCommand::kRun, "run", "[TARGET...]",
     "convert (asks first unless --yes) and print a row per target: what was done",
     "--home, --settings, --preset, --set, --copy-to, --overwrite, --yes, --save, --json, --null"},
    {CliCommand::kUndo, "undo", "[RUN-ID]", "undo a run from the log (default: the newest one not undone yet)",
     "--home, --yes"},
    {CliCommand::kRuns, "runs", "",
     "list the runs in the log: identifier, 不可/済み/未 (cannot be undone,\n"
     "undone, can be undone), target, function",
     "--home, --json, --null"},
    {CliCommand::kLog, "log", "[RUN-ID]", "print the log (or the block of one run) in UTF-8 with host paths",
     "--home"},
    {CliCommand::kEval, "eval", "STATEMENT PATH",
     "print the name the control statement gives the file or directory PATH\n"
     "(the job's extension handling applies; nothing changes on disk)",
     "--home, --settings, --preset, --set"},
    {CliCommand::kPresets, "presets", "",
     "list the saved presets: kind (変換設定, 変換制御文 or 文字列置換設定),\n"
     "name and, for statements and replacements, what they hold",
     "--home"},
    {CliCommand::kKeys, "keys", "",
     "list every settings key: key, page and label in the window, values,\n"
     "value in the job (tab-separated)",
     "--home, --settings, --preset, --set"},
    {CliCommand::kShow, "show", "", "print the job as settings lines; each one can be given to --set",
     "--home, --settings, --preset, --set"},
    {CliCommand::kHelp, "help", "[COMMAND]", "print this text, or the help of COMMAND", ""},
};

const CommandInfo* FindCommand(std::string_view name) {
  for (const CommandInfo& info : kCommands) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

const CommandInfo* InfoOf(CliCommand command) {
  for (const CommandInfo& info : kCommands) {
    if (info.command == command) return &info;
  }
  return nullptr;
}

std::string CommandList() {
  std::string list;
  for (const CommandInfo& info : kCommands) list += (list.empty() ? "" : ", ") + std::string(info.name);
  return list;
}

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

// The long form of a short option without a value, or empty for a letter that is none.
std::string_view LongFlag(char letter) {
  switch (letter) {
    case 'h':
      return "--help";
    case 'y':
      return "--yes";
    case '0':
      return "--null";
    default:
      return {};
  }
}

// "-y0h" as "--yes" "--null" "--help"; any other argument as it is. False with a message for a letter
// that is no option.
bool ExpandShortOptions(const std::vector<std::string>& args, std::vector<std::string>* expanded, std::string* error) {
  bool options_ended = false;
  for (const std::string& arg : args) {
    if (options_ended || arg.size() < 2 || arg[0] != '-' || arg[1] == '-') {
      options_ended = options_ended || arg == "--";
      expanded->push_back(arg);
      continue;
    }
    for (std::size_t i = 1; i < arg.size(); ++i) {
      const std::string_view flag = LongFlag(arg[i]);
      if (flag.empty()) {
        *error = "unknown option -" + std::string(1, arg[i]) + (arg.size() > 2 ? " (in " + arg + ")" : "");
        return false;
      }
      expanded->emplace_back(flag);
    }
  }
  return true;
}

// Checks what the command takes, once the whole line is read.
bool CheckArguments(CliOptions* options, std::string* error) {
  const CliCommand command = options->command;
  const std::string name(CommandName(command));
  const std::size_t count = options->targets.size();
  if (command == CliCommand::kRuns || command == CliCommand::kPresets || command == CliCommand::kKeys ||
      command == CliCommand::kShow) {
    if (count > 0) {
      *error = name + " takes no arguments (got '" + options->targets[0] + "')";
      return false;
    }
  }
  if (command == CliCommand::kEval && count != 2) {
    *error = "eval takes a control statement and one path (got " + std::to_string(count) + " arguments)";
    return false;
  }
  if (command == CliCommand::kUndo || command == CliCommand::kLog) {
    // "2024/01/02 03:04:05" typed without quotes arrives as two arguments.
    if (count == 2) {
      options->targets = {options->targets[0] + " " + options->targets[1]};
    } else if (count > 2) {
      *error = name + " takes at most one run identifier (YYYY/MM/DD hh:mm:ss)";
      return false;
    }
  }
  const bool prints_rows = command == CliCommand::kPreview || command == CliCommand::kRun || command == CliCommand::kRuns;
  if (options->output != OutputForm::kText && !prints_rows) {
    *error = std::string(options->output == OutputForm::kJson ? "--json" : "--null") +
             " applies to preview, run and runs, not to " + name;
    return false;
  }
  if (options->save && command != CliCommand::kRun) {
    *error = "--save applies to run, not to " + name + " (a run keeps the job only when it is given)";
    return false;
  }
  return true;
}

}  // namespace

std::string_view CommandName(CliCommand command) {
  const CommandInfo* info = InfoOf(command);
  return info == nullptr ? std::string_view() : info->name;
}

std::string UsageHint(CliCommand command) {
  if (command == CliCommand::kNone || command == CliCommand::kHelp) return "try morva-cli --help\n";
  return "try morva-cli " + std::string(CommandName(command)) + " --help, or morva-cli --help\n";
}

bool ParseCommandLine(const std::vector<std::string>& given, CliOptions* options, std::string* error) {
  *options = CliOptions();
  std::vector<std::string> args;
  if (!ExpandShortOptions(given, &args, error)) return false;
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
      const CommandInfo* info = FindCommand(arg);
      if (info == nullptr) {
        *error = "unknown command '" + arg + "' (expected " + CommandList() + ")";
        return false;
      }
      options->command = info->command;
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
    if (name == "--help" || name == "--version" || name == "--yes" || name == "--overwrite" || name == "--save" ||
        name == "--json" || name == "--null") {
      if (inline_value) {
        *error = "option " + std::string(name) + " takes no value";
        return false;
      }
      if (name == "--help") options->help = true;
      if (name == "--version") options->version = true;
      if (name == "--yes") options->yes = true;
      if (name == "--overwrite") options->overwrite = true;
      if (name == "--save") options->save = true;
      if (name == "--json" || name == "--null") {
        const OutputForm form = name == "--json" ? OutputForm::kJson : OutputForm::kNull;
        if (options->output != OutputForm::kText && options->output != form) {
          *error = "--json and --null exclude each other";
          return false;
        }
        options->output = form;
      }
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
      *error = "option " + std::string(name) + " given twice ('" + *single + "', then '" + value + "')";
      return false;
    }
    *seen = true;
    *single = std::move(value);
  }

  // "help COMMAND" and "COMMAND --help" alike.
  if (options->command == CliCommand::kHelp) {
    options->help = true;
    if (options->targets.size() > 1) {
      *error = "help takes one command at most";
      return false;
    }
    if (options->targets.size() == 1) {
      const CommandInfo* info = FindCommand(options->targets[0]);
      if (info == nullptr) {
        *error = "unknown command '" + options->targets[0] + "' (expected " + CommandList() + ")";
        return false;
      }
      options->help_topic = info->command;
    }
    return true;
  }
  if (options->help) {
    options->help_topic = options->command;
    return true;
  }
  if (options->version) return true;
  if (options->overwrite && options->copy_to.empty()) {
    *error = "--overwrite needs --copy-to DIR";
    return false;
  }
  if (options->command == CliCommand::kNone) {
    *error = "no command given (expected " + CommandList() + ")";
    return false;
  }
  return CheckArguments(options, error);
}

std::string OutputFormsText(const ConsoleText& text) {
  return text.Label(
      "output (preview, run, runs):\n"
      "  (default)   for people: on a terminal aligned columns under a header, else one line per row,\n"
      "              tab-separated; a control character in a name is written as \\t, \\n or \\xNN;\n"
      "              messages, questions and the counts go to stderr\n"
      "              preview and run: state, source path, new name, reason, the job's other columns\n"
      "              runs: identifier, 未/済み/不可, target, function\n"
      "  --json      one JSON object per line, UTF-8. preview and run: per target {\"type\":\"target\",\n"
      "              \"source\", \"target\", \"state\", \"reason\", \"directory\", \"excluded\" (preview) or\n"
      "              \"changes\" (run), \"failures\", the job's other columns}, then {\"type\":\"summary\",\n"
      "              \"command\", the counts}; runs: per run {\"type\":\"run\", \"id\", \"undoable\",\n"
      "              \"undone\", \"target\", \"function\"}\n"
      "  --null, -0  NUL-terminated fields. preview and run: source, then target, per target;\n"
      "              runs: identifier, state, target, function, per run\n"
      "  paths are host paths; target is where the target is (or would be) afterwards: its new path, its\n"
      "  copy, the source when its name stays, empty when it is deleted\n"
      "  state: preview change, unchanged, fail; run changed, partial, unchanged, failed\n");
}

std::string ExitStatusText() {
  return "exit status:\n"
         "  0    done, nothing failed (runs: also an empty or missing log)\n"
         "  1    done, some target failed (preview, check: would fail)\n"
         "  2    refused: usage, settings, validation, a log that cannot be written\n"
         "  3    declined: a question answered No (without a terminal and --yes), or cancelled\n"
         "  130  stopped by Ctrl-C (SIGINT); 143 by SIGTERM, 129 by SIGHUP\n";
}

std::string UsageText(const ConsoleText& words) {
  std::string text =
      "usage: morva-cli [--home DIR] [--settings FILE] [--preset NAME] [--set KEY=VALUE]... [--yes]\n"
      "                 [--copy-to DIR [--overwrite]] [--save] [--json | --null] COMMAND [TARGET...]\n"
      "\n"
      "commands:\n";
  for (const CommandInfo& info : kCommands) {
    std::string head = "  " + std::string(info.name);
    head.resize(10, ' ');
    head += info.arguments;
    head.resize(24, ' ');
    const std::string summary_text = words.Label(info.summary);
    std::string_view summary = summary_text;
    for (bool first = true; !summary.empty(); first = false) {
      const std::size_t end = summary.find('\n');
      text += (first ? head : std::string(24, ' ')) + std::string(summary.substr(0, end)) + "\n";
      summary = end == std::string_view::npos ? std::string_view() : summary.substr(end + 1);
    }
  }
  text +=
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
      "  --save            run: after the run, keep the job (with the --set values) and the target in\n"
      "                    DIR/morva.dat and its path history, as the desktop program does; without it\n"
      "                    morva-cli never writes the settings file\n"
      "  --json            rows as JSON objects, one per line (see output)\n"
      "  --null, -0        rows as NUL-terminated fields (see output)\n"
      "  --version         print the version\n"
      "  --help, -h        this text; after a command, the help of that command\n"
      "Short options combine: -y0 is --yes --null.\n"
      "\n";
  return text + OutputFormsText(words) + "\n" + ExitStatusText();
}

std::string CommandHelpText(CliCommand command, const ConsoleText& words) {
  const CommandInfo* info = InfoOf(command);
  if (info == nullptr || command == CliCommand::kHelp) return UsageText(words);
  std::string text = "usage: morva-cli [OPTIONS] " + std::string(info->name);
  if (!info->arguments.empty()) text += " " + std::string(info->arguments);
  text += "\n\n" + words.Label(info->summary) + "\n";
  if (command == CliCommand::kCheck || command == CliCommand::kPreview || command == CliCommand::kRun) {
    text +=
        "\nTARGET: none = the target of the settings; one = that directory (or file or wildcard);\n"
        "two or more = exactly these files and directories. The job is the settings file, then --preset,\n"
        "then every --set; it is not kept afterwards unless --save is given to run.\n";
  }
  if (!info->options.empty()) text += "\noptions: " + std::string(info->options) + " (see morva-cli --help)\n";
  if (command == CliCommand::kPreview || command == CliCommand::kRun || command == CliCommand::kRuns) {
    text += "\n" + OutputFormsText(words);
  }
  return text + "\n" + ExitStatusText();
}

std::string VersionText() { return std::string("morva-cli ") + MORVA_VERSION + "\n"; }

}  // namespace morva
