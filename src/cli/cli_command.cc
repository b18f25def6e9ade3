#include "cli/cli_command.h"

#include <algorithm>
#include <sstream>
#include <utility>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/json_writer.h"
#include "cli/key_listing.h"
#include "cli/target_report.h"
#include "core/job_switches.h"
#include "cli/set_option.h"
#include "engine/conversion_run.h"
#include "platform/engine_text.h"
#include "engine/validation.h"
#include "log/log_scan.h"
#include "log/log_view.h"
#include "log/log_writer.h"
#include "undo/undo_from_log.h"
#include "platform/decimal_text.h"
#include "platform/path_utils.h"
#include "settings/preset_file.h"
#include "settings/settings_store.h"

namespace morva {
namespace {

// An engine path as a person gives it, or a message on `err`.
bool ToEnginePath(Session& session, const std::string& given, std::string* engine, std::ostream& err) {
  const Status s = PathAsGiven(session.host.codec, session.host.fs, given, engine);
  if (!s.ok()) {
    err << "morva-cli: " << given << ": cannot be used as a path (" << s.ToString() << ")\n";
    return false;
  }
  return true;
}

// A pattern file named in host form ("/home/me/p.csv", as --set FNM_CSV_PTH takes it) is taken like the
// targets; a settings file written on Windows holds the engine's form already.
bool ResolvePatternFile(Session& session, std::ostream& err) {
  const std::string_view stored = session.job.settings.fnm_csv_pth.view();
  std::string given;
  // A path without a UTF-8 form is left to validation, which refuses it with the program's message.
  if (stored.empty() || IsEnginePathForm(stored) || !session.host.codec.Cp932ToUtf8(stored, &given).ok()) return true;
  std::string engine;
  if (!ToEnginePath(session, given, &engine, err)) return false;
  if (!session.job.settings.fnm_csv_pth.Assign(engine)) {
    err << "morva-cli: " << given << ": the pattern file path is too long\n";
    return false;
  }
  return true;
}

// Makes the whole-job preset `given` (UTF-8, as typed) the job; false with a message when there is none.
bool ApplyJobPreset(Session& session, const std::string& given, std::ostream& err) {
  std::string name;
  const int slot = session.host.codec.Utf8ToCp932(given, &name).ok() ? session.job.presets.job.Find(name) : -1;
  if (slot < 0) {
    err << "morva-cli: no whole-job preset named '" << given << "' in " << PresetFileName(PresetKind::kJob)
        << " (morva-cli presets lists them)\n";
    return false;
  }
  session.job.settings = *session.job.presets.job.entries[static_cast<std::size_t>(slot)].job;
  session.job.presets.job.last_name = name;
  return true;
}

bool LoadJob(Session& session, const ConsoleText& text, const CliOptions& options,
             const std::string& program_directory, std::ostream& err) {
  // The presets come first, as at the desktop program's start; a missing or foreign file is an empty table.
  LoadAllPresets(session.host.fs, session.host.codec, program_directory, &session.job.presets);
  if (options.settings_file.empty()) {
    // A missing or foreign morva.dat is no error: the defaults stand, as at the desktop program's start.
    LoadSettings(session.host.fs, program_directory, kConsoleDesktop, &session.job.settings, &session.job.app,
                 &kConsoleCentreDesktop);
  } else {
    std::string file;
    if (!ToEnginePath(session, options.settings_file, &file, err)) return false;
    if (!LoadSettingsFile(session.host.fs, file, kConsoleDesktop, &session.job.settings, &session.job.app,
                          &kConsoleCentreDesktop)) {
      // Named on the command line, so a file that is not there or not a settings file is a mistake.
      err << "morva-cli: " << options.settings_file << ": not a readable MORVA settings file\n";
      return false;
    }
  }
  if (!options.preset.empty() && !ApplyJobPreset(session, options.preset, err)) return false;
  for (const std::string& set : options.sets) {
    std::string error;
    if (!ApplySetOption(session.host.codec, text, set, kConsoleDesktop, &session.job.settings, &session.job.app, &error)) {
      err << "morva-cli: " << error << '\n';
      return false;
    }
  }
  return ResolvePatternFile(session, err);
}

bool TakeTargets(Session& session, const CliOptions& options, std::ostream& err) {
  std::vector<std::string> targets;
  for (const std::string& given : options.targets) {
    std::string engine;
    if (!ToEnginePath(session, given, &engine, err)) return false;
    targets.push_back(std::move(engine));
  }
  if (targets.size() == 1) {
    session.job.app.set_0 = 1;
    session.job.app.PushTargetPath(targets[0]);
  } else if (targets.size() > 1) {
    session.job.app.set_0 = 2;
    session.job.app.list_items = std::move(targets);
  }

  if (!options.copy_to.empty()) {
    std::string directory;
    if (!ToEnginePath(session, options.copy_to, &directory, err)) return false;
    if (!session.job.app.cpdir.Assign(directory)) {
      err << "morva-cli: " << options.copy_to << ": the output directory path is too long\n";
      return false;
    }
    session.job.app.cpovw = options.overwrite;
  }
  return true;
}

// The value of the setting a refusal names ("DIRFIL", "SW_SET[3]") as people read it: a path in host
// form, one flag's digit alone; empty when the job writes none.
std::string ShownSettingValue(Session& session, ConsoleUi& ui, std::string_view key) {
  const std::string_view name = key.substr(0, key.find('['));
  std::string value = JobKeyValue(session, name);
  if (value.empty()) return {};
  if (name.size() < key.size()) {
    const int flag = LeadingInt(key.substr(name.size() + 1));
    if (flag < 0 || static_cast<std::size_t>(flag) >= value.size()) return {};
    value = value.substr(static_cast<std::size_t>(flag), 1);
  }
  return IsEnginePathForm(value) ? ui.ShownPath(value) : DisplayText(session.host.codec, value);
}

// Puts a verdict of validation before the person: a refusal is printed with the setting to change, a
// question is asked (answered by the terminal or by --yes). True when the answer was Yes and the job
// now has the change the question proposed, to be validated again.
bool TakeVerdict(Session& session, ConsoleUi& ui, const ValidationVerdict& verdict) {
  switch (verdict.kind) {
    case ValidationVerdict::Kind::kAccepted:
      return false;
    case ValidationVerdict::Kind::kRefused:
      ui.ShowWarning(verdict.message);
      ui.FocusSetting(verdict.page, verdict.key, ShownSettingValue(session, ui, verdict.key));
      return false;
    case ValidationVerdict::Kind::kQuestion:
      if (!ui.AskYesNo(verdict.message)) return false;
      ApplyProposedChange(session.job, verdict.change);
      return true;
  }
  return false;
}

// Validates the job alone, as `check` does before anything else.
ValidationVerdict Validate(Session& session, ConsoleUi& ui) {
  ValidationVerdict verdict = ValidateJob(session, false);
  while (TakeVerdict(session, ui, verdict)) verdict = ValidateJob(session, false);
  return verdict;
}

// Runs `work` on a thread of its own and waits for it. The desktop program runs the engine beside its
// window; the console does the same, so that nothing in the engine can come to depend on running on a
// program's main thread (its signal handling, its stack size).
template <typename Work>
auto OnEngineThread(Work work) {
  decltype(work()) result{};
  std::thread engine([&result, &work] { result = work(); });
  engine.join();
  return result;
}

// A run, or a preview printed as the interface's settings ask, with its verdict put before the person;
// a change agreed to starts it again. A console preview never leads to a run: its plan is dropped.
ConversionResult Start(Session& session, ConsoleUi& ui, RunMode mode, bool copy) {
  const auto start = [&] {
    Plan plan;
    ConversionResult result = OnEngineThread([&] {
      return mode == RunMode::kRun ? Run(session, nullptr, copy) : Preview(session, &plan, copy);
    });
    if (result.outcome == ConversionOutcome::kPreviewClosed) ui.PrintPreview(plan.records, plan.paths);
    return result;
  };
  ConversionResult result = start();
  while (TakeVerdict(session, ui, result.verdict)) result = start();
  return result;
}

// The exit status of a preview or run that did not go through: declined (a question answered No, the
// run not confirmed) or cancelled, else refused.
int NotStarted(const ConversionResult& result, const ConsoleUi& ui) {
  if (result.outcome == ConversionOutcome::kCancelled || result.outcome == ConversionOutcome::kDeclined ||
      ui.declined()) {
    return kExitDeclined;
  }
  return kExitRefused;
}

// The last line of --json: what the preview or run amounts to; `counts` holds the type, the command and
// its counts.
void WriteJsonSummary(ConsoleUi& ui, const ConversionResult& result, JsonObject counts) {
  counts.AddNumber("passed_over_names", static_cast<std::int64_t>(result.invisible_names))
      .AddNumber("program_entries", static_cast<std::int64_t>(result.program_entries));
  ui.PrintText(counts.Text() + "\n");
}

JsonObject SummaryObject(std::string_view command) {
  JsonObject object;
  object.AddString("type", "summary").AddString("command", command);
  return object;
}

// Names a Windows file system could not hold are never touched; say how many were passed over so that
// nobody wonders why a file was left alone.
void ReportInvisibleNames(const ConversionResult& result, std::ostream& err) {
  if (result.invisible_names == 0) return;
  err << "morva-cli: " << result.invisible_names
      << " name(s) passed over: they contain \\ / : * ? \" < > | or a control character, are not UTF-8,"
         " or hold a character for which no user-defined code is left (see mvchars.txt)\n";
}

// Nor are the program's own files, nor a directory holding them: say so too.
void ReportProgramEntries(const ConversionResult& result, std::ostream& err) {
  if (result.program_entries == 0) return;
  err << "morva-cli: " << result.program_entries
      << " program file(s) passed over: the program directory, its settings, presets, log and journal, and"
         " the directories holding them are never converted\n";
}

// `runs`: one row per run of the log: identifier, whether it can be undone ("不可" cannot, "済み"
// undone already, "未" not yet), target (a directory in host form), function. A log that is not there
// or holds no run is no error: there is nothing to list.
int ListRuns(Session& session, ConsoleUi& ui, OutputForm form, bool aligned) {
  TextCodec& codec = session.host.codec;
  std::vector<LoggedRun> runs;
  const int found = ScanRuns(session.host.fs, codec, LogPath(session.host), &runs);
  if (found < 0) {
    ui.ShowWarning(Cp932Text(codec, "ログが見つかりませんでした。"));
    return kExitDone;
  }
  if (found == 0) {
    ui.ShowWarning(Cp932Text(codec, "ログには変換実行結果がありませんでした。"));
    return kExitDone;
  }
  const std::string states[3] = {ui.text().Label("不可"), ui.text().Label("済み"), ui.text().Label("未")};
  std::ostringstream out;
  std::vector<std::vector<std::string>> lines;
  for (const LoggedRun& run : runs) {
    const std::string& state = !run.undoable ? states[0] : run.undone ? states[1] : states[2];
    std::vector<std::string> fields = {DisplayText(codec, run.id), state, ui.ShownPath(run.target),
                                       DisplayText(codec, run.function)};
    if (form != OutputForm::kJson) {
      lines.push_back(std::move(fields));
      continue;
    }
    JsonObject object;
    object.AddString("type", "run")
        .AddString("id", fields[0])
        .AddBool("undoable", run.undoable)
        .AddBool("undone", run.undone)
        .AddString("target", fields[2])
        .AddString("function", fields[3]);
    out << object.Text() << '\n';
  }
  WriteFieldLines(form, aligned, {"ID", "UNDO", "TARGET", "FUNCTION"}, lines, out);
  ui.PrintText(out.str());
  return kExitDone;
}

// `presets`: one line per saved preset, tab-separated: its kind as the window names it, its name and,
// for statements and replacements, the payload (a replacement's target and replacement in two columns).
int ListPresets(Session& session, ConsoleUi& ui) {
  TextCodec& codec = session.host.codec;
  const std::pair<PresetKind, const char*> kinds[] = {{PresetKind::kJob, "変換設定"},
                                                      {PresetKind::kStatement, "変換制御文"},
                                                      {PresetKind::kReplacement, "文字列置換設定"}};
  for (const auto& [kind, label] : kinds) {
    const std::string kind_text = ui.text().Label(label);
    for (const PresetSlot& slot : session.job.presets.of(kind).entries) {
      if (slot.free()) continue;
      std::string line = kind_text + "\t" + DisplayText(codec, slot.name);
      if (kind != PresetKind::kJob) line += "\t" + DisplayText(codec, slot.text);
      ui.PrintResultUtf8(line);
    }
  }
  return kExitDone;
}

// The run identifier given after undo or log, in code page 932, in *run_id (empty when none was given);
// false with a message when the argument cannot be one.
bool TakeRunId(Session& session, const CliOptions& options, std::string* run_id, std::ostream& err) {
  run_id->clear();
  if (options.targets.empty()) return true;
  if (!session.host.codec.Utf8ToCp932(options.targets[0], run_id).ok() || run_id->size() != kLogStampSize) {
    err << "morva-cli: " << options.targets[0] << ": a run identifier is YYYY/MM/DD hh:mm:ss\n";
    return false;
  }
  return true;
}

// `log [RUN-ID]`: the whole log, or the block of the run named, in UTF-8 with host paths. The text is
// read whole before it is printed, so that a reader slow to take it (a pager) never keeps the log held
// from a run.
int PrintLog(Session& session, ConsoleUi& ui, const CliOptions& options, std::ostream& err) {
  std::string run_id;
  if (!TakeRunId(session, options, &run_id, err)) return kExitRefused;
  std::string text;
  switch (ReadLogForPeople(session.log_context(), run_id, &text)) {
    case LogReading::kRead:
      ui.PrintText(text);
      return kExitDone;
    case LogReading::kNoLog:
      ui.ShowWarning(Cp932Text(session.host.codec, "ログが見つかりませんでした。"));
      return kExitRefused;
    case LogReading::kUnknownRun:
      err << "morva-cli: the log holds no run " << options.targets[0] << " (see runs)\n";
      return kExitRefused;
    case LogReading::kReadFailed:
      ui.ShowWarning(Cp932Text(session.host.codec, "ログの読み込みに失敗しました。"));
      return kExitRefused;
  }
  return kExitRefused;
}

// `undo [RUN-ID]`: the run named, or the newest one that can be undone and has not been.
int UndoLoggedRun(Session& session, const CliOptions& options, std::ostream& err) {
  std::string run_id;
  if (!TakeRunId(session, options, &run_id, err)) return kExitRefused;
  LogUndoResult result;
  const LogUndoOutcome outcome = OnEngineThread(
      [&] { return UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), run_id, &result); });
  switch (outcome) {
    case LogUndoOutcome::kUndone:
      if (result.undo.cancelled) return kExitDeclined;
      return result.undo.ok ? kExitDone : kExitFailures;
    case LogUndoOutcome::kDeclined:
      return kExitDeclined;
    case LogUndoOutcome::kUnknownRun:
      err << "morva-cli: the log holds no run " << options.targets[0] << " (see runs)\n";
      return kExitRefused;
    case LogUndoOutcome::kAllUndone:
      err << "morva-cli: every run in the log that can be undone has been undone (name one with undo RUN-ID)\n";
      return kExitRefused;
    case LogUndoOutcome::kNoUndoableRun:
      err << "morva-cli: the log holds no run that can be undone\n";
      return kExitRefused;
    default:
      return kExitRefused;
  }
}

// `eval STATEMENT PATH`: the job with the control statement as its only conversion, previewed for PATH
// alone. The statement arrives in UTF-8 and must have a code page 932 form, as the window's box would.
int EvaluateStatement(Session& session, ConsoleUi& ui, const CliOptions& options, std::ostream& err) {
  const std::string& given_statement = options.targets[0];
  const std::string& given_path = options.targets[1];
  std::string statement;
  if (!session.host.codec.Utf8ToCp932(given_statement, &statement).ok()) {
    err << "morva-cli: the statement is not UTF-8 text, or holds a character for which no code page 932 code is left\n";
    return kExitRefused;
  }
  ConversionSettings& job = session.job.settings;
  if (!job.fnm_usr1.Assign(statement)) {
    err << "morva-cli: the statement is longer than 200 bytes\n";
    return kExitRefused;
  }
  job.sw_fnm = static_cast<std::int16_t>(NameRule::kControl);
  job.sw_atr.fill(false);
  std::fill(job.sw_dtt.begin(), job.sw_dtt.begin() + 3, 0);
  job.sw_del.fill(false);
  job.sw_id3.fill(0);

  std::string path;
  if (!ToEnginePath(session, given_path, &path, err)) return kExitRefused;
  FindData data;
  if (!session.host.fs.Stat(path, &data).ok()) {
    err << "morva-cli: " << given_path << ": no such file or directory\n";
    return kExitRefused;
  }
  // A list of one: a directory is the target itself, not its contents.
  session.job.app.set_0 = 2;
  session.job.app.list_items = {path};
  ui.set_job(&job);
  ui.set_preview_names_only(true);
  const ConversionResult result = Start(session, ui, RunMode::kPreview, false);
  if (!result.previewed) return NotStarted(result, ui);
  return result.preview_failures > 0 ? kExitFailures : kExitDone;
}

}  // namespace

int RunCliCommand(Session& session, ConsoleUi& ui, const CliOptions& options, const std::string& program_directory,
                  std::ostream& err) {
  std::string home;
  if (!ToEnginePath(session, program_directory, &home, err)) return kExitRefused;
  session.host.program_directory = home;
  if (!LoadJob(session, ui.text(), options, home, err)) return kExitRefused;
  // The log's commands take no targets: their argument is a run identifier.
  if (options.command == CliCommand::kRuns) return ListRuns(session, ui, options.output, ui.aligned());
  if (options.command == CliCommand::kLog) return PrintLog(session, ui, options, err);
  if (options.command == CliCommand::kPresets) return ListPresets(session, ui);
  if (options.command == CliCommand::kKeys) return ListSettingsKeys(session, ui);
  if (options.command == CliCommand::kShow) return ShowJobLines(session, ui);
  if (options.command == CliCommand::kUndo) return UndoLoggedRun(session, options, err);
  if (options.command == CliCommand::kEval) return EvaluateStatement(session, ui, options, err);
  if (!TakeTargets(session, options, err)) return kExitRefused;
  ui.set_job(&session.job.settings);
  const bool copy = !options.copy_to.empty();
  if (copy) ui.set_copy_directory(std::string(session.job.app.cpdir.view()));

  switch (options.command) {
    case CliCommand::kCheck:
      session.run.mode = RunMode::kPreview;
      session.run.copy_conversion = copy;
      if (!Validate(session, ui).accepted()) return ui.declined() ? kExitDeclined : kExitRefused;
      // A song a run would not tag is worth knowing before the run: above all one whose last write was
      // killed and whose former contents wait in its safety copy.
      if (ComputeJobSwitches(session.job.settings).id3) {
        ui.set_preview_id3_failures_only(true);
        const ConversionResult result = Start(session, ui, RunMode::kPreview, copy);
        if (!result.previewed) return NotStarted(result, ui);
        if (ui.failures() > 0) return kExitFailures;
      }
      return kExitDone;

    case CliCommand::kPreview: {
      const ConversionResult result = Start(session, ui, RunMode::kPreview, copy);
      ReportInvisibleNames(result, err);
      ReportProgramEntries(result, err);
      if (!result.previewed) return NotStarted(result, ui);
      const PreviewCounts& counts = ui.preview_counts();
      err << PreviewCountsLine(counts, ui.text()) << '\n';
      if (options.output == OutputForm::kJson) {
        WriteJsonSummary(ui, result,
                         SummaryObject("preview")
                             .AddNumber("total", counts.total)
                             .AddNumber("change", counts.to_convert)
                             .AddNumber("succeeded", counts.succeeded)
                             .AddNumber("failed", counts.failed));
      }
      return result.preview_failures > 0 ? kExitFailures : kExitDone;
    }

    case CliCommand::kRun: {
      const ConversionResult result = Start(session, ui, RunMode::kRun, copy);
      ui.FinishRunRows();
      ReportInvisibleNames(result, err);
      ReportProgramEntries(result, err);
      if (result.outcome == ConversionOutcome::kLogUnwritable) {
        // Refused like a job validation refuses (exit 2): nothing was changed, and the person can mend the
        // program directory (or switch the log off with --set SW_OPT) and run again.
        err << "morva-cli: the log in " << program_directory
            << " cannot be written (a missing, read-only or full directory?): nothing was changed\n";
        return kExitRefused;
      }
      if (result.outcome != ConversionOutcome::kRunFinished) return NotStarted(result, ui);
      const RunCounters& c = result.counters;
      const bool log_on = !session.job.app.sw_opt[AppSettings::kOptNoLog];
      if (options.output == OutputForm::kJson) {
        WriteJsonSummary(ui, result,
                         SummaryObject("run")
                             .AddString("run_id", log_on ? DisplayText(session.host.codec, session.log.run_id) : "")
                             .AddNumber("total", c.processed)
                             .AddNumber("changed", c.full_success)
                             .AddNumber("partial", c.partial_success)
                             .AddNumber("unchanged", c.not_needed)
                             .AddNumber("failed", c.full_failure)
                             .AddBool("cancelled", result.cancelled)
                             .AddBool("log_complete", !log_on || result.log_complete));
      }
      // The job is kept for the next start only when asked: a console call never leaves a job behind
      // for a later one to repeat.
      bool saved = true;
      if (options.save) {
        SettingsWriteGate gate;
        gate.Open();
        saved = SaveSettings(session.host.fs, home, gate, session.job.settings, session.job.app);
        if (!saved) {
          err << "morva-cli: the settings could not be saved to " << program_directory << "/" << kSettingsFileName
              << " (disk full or not writable): the next start uses what it finds there\n";
        }
      }
      if (result.cancelled) return kExitDeclined;
      if (log_on && !result.log_complete) {
        err << "morva-cli: the log could not be written to the end of the run: what it misses cannot be undone"
               " from it\n";
        return kExitFailures;
      }
      return c.partial_success + c.full_failure > 0 || !saved ? kExitFailures : kExitDone;
    }

    case CliCommand::kNone:
    case CliCommand::kUndo:
    case CliCommand::kRuns:
    case CliCommand::kLog:
    case CliCommand::kEval:
    case CliCommand::kPresets:
    case CliCommand::kKeys:
    case CliCommand::kShow:
    case CliCommand::kHelp:
      break;
  }
  return kExitRefused;
}

}  // namespace morva
