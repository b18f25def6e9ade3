#include "engine/conversion_run.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/engine_text.h"
#include "core/job_switches.h"
#include "engine/name_step.h"
#include "platform/path_utils.h"
#include "engine/preview_builder.h"
#include "engine/target_enumeration.h"
#include "engine/target_steps.h"
#include "core/target_work.h"
#include "core/user_interface.h"
#include "engine/validation.h"
#include "engine/work_roots.h"
#include "log/log_markers.h"
#include "media/id3_writer.h"

namespace morva {
namespace {

// The progress texts of the walk, converted once per walk instead of once per target.
struct ProgressTexts {
  explicit ProgressTexts(TextCodec& codec)
      : counts(Cp932Text(codec, "%d / %d 完了 （%d%%）")), title(Cp932Text(codec, "MORVA - 変換状況（%d%%）")) {}
  std::string counts;
  std::string title;
};

// Whether a failed Stat means the entry is gone: any other refusal (a directory on the way swapped for a
// symbolic link) is a failure of the target, not a reason to pass over it.
bool Vanished(const Status& s) { return s.code() == ENOENT || s.code() == ENOTDIR; }

// The number of ID3 writes that share one flush of their file systems. Their safety copies stay until
// then: a few dozen keep the open files and the copies left by a crash few.
constexpr std::size_t kId3BatchSize = 64;

void Classify(RunCounters* counters, const TargetWork& work) {
  if (work.change != 0) {
    ++(work.failure == 0 ? counters->full_success : counters->partial_success);
  } else {
    ++(work.failure == 0 ? counters->not_needed : counters->full_failure);
  }
}

// Flushes the ID3 writes of the batch, one flush per file system, and only then counts and logs its
// targets, in their order: the log never calls a file converted before its new tags are on the disk. A
// write whose file cannot be flushed gets its former contents back and fails. A process killed before
// this leaves the batch's safety copies beside their files and no log line for them; each file reads
// back whole with its new tags or has its former contents in its copy.
void FinishId3Batch(const Walk& walk, RunJournal& journal) {
  std::vector<Id3BatchEntry>& batch = walk.run.id3_batch;
  std::vector<Id3PendingWrite*> writes;
  for (Id3BatchEntry& entry : batch) {
    if (entry.write) writes.push_back(entry.write.get());
  }
  const std::vector<int> results = FinishId3Writes(writes);
  std::size_t next = 0;
  for (Id3BatchEntry& entry : batch) {
    if (entry.write && results[next++] != kId3Written) {
      entry.work.change &= ~kStepId3;
      entry.work.failure |= kStepId3;
      entry.work.id3_write_result = results[next - 1];
    }
    // The ID3 job runs alone and is never undone: the target is only counted and logged.
    Classify(&walk.run.counters, entry.work);
    if (!walk.job.app.sw_opt[AppSettings::kOptNoLog]) journal.WriteTarget(entry.path, entry.directory, entry.work);
  }
  batch.clear();
}

// The summary of a run: log lines, the end of the run's hold on the log, and the message box.
void ShowSummary(Session& session, RunJournal& journal) {
  TextCodec& codec = session.host.codec;
  const RunCounters& c = session.run.counters;
  const std::string counts = Format(Cp932Text(codec, log_markers::kRunCounts), c.full_success, c.partial_success,
                                    c.not_needed, c.full_failure, c.processed);
  if (session.run.cancelled) journal.WriteMessage(Cp932Text(codec, "ユーザによって途中キャンセルされています。"));

  const bool failed = c.partial_success + c.full_failure > 0;
  std::string sentence;
  if (failed) {
    sentence = Cp932Text(codec, "変換に失敗したファイルがありました。");
  } else if (c.full_success > 0) {
    sentence = Cp932Text(codec, session.run.cancelled ? "キャンセル時点までの変換は" : "変換が") +
               Cp932Text(codec, "全て正常に終了しました。");
  } else if (c.processed > 0) {
    sentence = (session.run.cancelled ? Cp932Text(codec, "キャンセル時点までに") : std::string()) +
               Cp932Text(codec, "変換する必要のあるファイルは存在しませんでした。");
  } else {
    sentence = Cp932Text(codec, "変換対象となるファイルが存在しませんでした。");
  }
  journal.WriteSummary(sentence, counts);
  // The log is trimmed and let go before the message box waits for the person, so that another process
  // never waits for a click.
  journal.Finish();

  std::string message = sentence;
  if (failed && session.log.usable) message += Cp932Text(codec, "ログを参照してください。");
  message += "\n\n" + counts + Cp932Text(codec, "　　");
  session.host.ui.ShowSummary(SummaryKind::kRun, message);
}

}  // namespace

void RunTargets(const Walk& walk, RunJournal& journal, UndoList* undo) {
  const JobSwitches jobs = ComputeJobSwitches(walk.job.settings);
  const bool preview = walk.run.mode == RunMode::kPreview;
  std::optional<PreviewBuilder> builder;
  if (preview) builder.emplace(walk.host, walk.job, walk.run);
  const ProgressTexts progress_texts(walk.host.codec);
  const DirectTimes direct_times = DirectTimesOf(walk.job.settings);
  UserInterface& ui = walk.host.ui;
  // Numbering starts afresh with every preview and run.
  walk.run.serials.ClearSerials();

  TargetWork work;
  ProgressState state;
  int title_percent = -1;
  walk.run.id3_batch.clear();
  for (std::size_t i = 0; i < walk.run.targets.size(); ++i) {
    const std::string& path = walk.run.targets[i];
    if (!preview && i < walk.run.selection.size() && walk.run.selection[i] < 0) continue;
    work = TargetWork();
    std::unique_ptr<Id3PendingWrite> id3_write;

    FindData data;
    if (path.size() > kMaxPath) {
      // Too long to reach: reported against its directory, nothing is attempted.
      const std::size_t slash = FindLastChar(path, '\\');
      data.name = slash == std::string::npos ? path : path.substr(slash + 1);
      RefreshTargetContext(walk.host.fs, path, data, &walk.run.target);
      work.new_name = walk.run.target.name;
      work.failure |= kFailPathTooLong;
    } else {
      // A file's listing is still true: no earlier target is the file or changes it. A directory's
      // times change as its contents are renamed, so it is asked again, as is a target never listed.
      const std::optional<FindData>* listed = i < walk.run.target_data.size() ? &walk.run.target_data[i] : nullptr;
      const bool have_listing = listed != nullptr && listed->has_value();
      if (have_listing && !((*listed)->attributes & kAttrDirectory)) {
        data = **listed;
      } else if (Status s = walk.host.fs.Stat(path, &data); !s.ok()) {
        if (Vanished(s) || !have_listing) continue;  // vanished since the enumeration
        data = **listed;  // there but out of reach (a link swapped in on the way): its steps fail
      }

      const int total = walk.run.progress_total;
      const int processed = walk.run.counters.processed;
      const int percent = total > 0 ? static_cast<int>(static_cast<long long>(processed) * 100 / total) : 0;
      state.path = path;
      state.position = processed;
      state.total = total;
      state.counts = Format(progress_texts.counts, processed, total, percent);
      // The title changes with the percentage only, a hundred times in a run of any size.
      if (percent != title_percent || state.title.empty()) {
        state.title = Format(progress_texts.title, percent);
        title_percent = percent;
      }
      ui.UpdateProgress(state);
      if (ui.PollCancel()) {
        walk.run.cancelled = true;
        break;
      }

      RefreshTargetContext(walk.host.fs, path, data, &walk.run.target);
      work.current_path = path;
      work.new_name = walk.run.target.name;
      work.new_attributes = data.attributes;

      // The enumeration passes the program's own entries over; one found here took a target's place
      // since, and fails whole before any step reaches it.
      const bool program_entry = walk.run.program_files.Protects(data.identity);
      if (program_entry) {
        if (jobs.name || walk.run.copy_conversion) work.failure |= kStepName;
      } else {
        if (jobs.name) RunNameStep(walk, &work, preview ? nullptr : &journal);
        if (!preview && walk.run.copy_conversion && !jobs.name) RunPlainCopyStep(walk, jobs, &work);
      }
      if (program_entry || (walk.run.copy_conversion && (work.failure & kStepName))) {
        // Without its copy no other job has anything to work on.
        if (jobs.attributes) work.failure |= kStepAttributes;
        if (jobs.times) work.failure |= kStepTimes;
        if (jobs.deletion) work.failure |= kStepDeletion;
        if (jobs.id3) work.failure |= kStepId3;
      } else if (!jobs.deletion) {
        if (jobs.id3) {
          RunId3Step(walk, &work, preview ? nullptr : &id3_write);
        } else {
          RunJournal* noting = preview ? nullptr : &journal;
          if (jobs.attributes && !(work.failure & kFailPathTooLong)) RunAttributeStep(walk, &work, noting);
          if (jobs.times && !(work.failure & (kStepTimes | kFailPathTooLong))) {
            RunTimestampStep(walk, direct_times, &work, noting);
          }
        }
      } else {
        RunDeletionStep(walk, &work);
      }
      // A target that failed because it vanished since the enumeration (a list naming a file after its
      // directory, someone else's change) is skipped like one found missing.
      FindData still;
      if (!preview && work.failure != 0 && Vanished(walk.host.fs.Stat(path, &still))) {
        if (work.change == 0) continue;
      }
    }

    ++walk.run.counters.processed;
    if (preview) {
      builder->Build(work);
      // The index is the target's position, by which the run applies the preview's exclusions.
      walk.run.preview.back().index = static_cast<int>(i);
    } else if (id3_write || !walk.run.id3_batch.empty()) {
      // Behind a write still to be flushed, a finished target waits too: the log keeps the target order.
      walk.run.id3_batch.push_back(Id3BatchEntry{walk.run.target.path, walk.run.target.directory, std::move(work),
                                                 std::move(id3_write)});
      if (walk.run.id3_batch.size() >= kId3BatchSize) FinishId3Batch(walk, journal);
    } else {
      Classify(&walk.run.counters, work);
      if (!walk.job.app.sw_opt[AppSettings::kOptNoLog]) journal.WriteTarget(work);
      if (work.change != 0 && !walk.run.copy_conversion && !jobs.deletion && !jobs.id3) RecordUndo(work, undo);
    }
  }
  // The end of the walk, a cancel included.
  FinishId3Batch(walk, journal);
  walk.run.pending_sort.clear();
  walk.run.serials.ClearSerials();
  // What the walk learnt of its directories is no use after it, and costs as much as the preview.
  walk.run.directory_names.clear();
}

ConversionResult StartConversion(Session& session, RunMode mode, bool copy_conversion) {
  ConversionResult result;
  TextCodec& codec = session.host.codec;
  UserInterface& ui = session.host.ui;
  session.run.mode = mode;
  session.run.copy_conversion = copy_conversion;
  result.verdict = ValidateJob(session, false);
  // The replacement patterns validation loaded serve this preview or run only.
  struct PatternsFreed {
    Session& session;
    ~PatternsFreed() { std::vector<CsvPattern>().swap(session.run.csv_patterns); }
  } patterns_freed{session};
  if (!result.verdict.accepted()) {
    const bool question = result.verdict.kind == ValidationVerdict::Kind::kQuestion;
    result.outcome = question ? ConversionOutcome::kQuestion : ConversionOutcome::kRefused;
    return result;
  }

  session.run.counters = RunCounters();
  RunJournal journal(session);
  if (mode == RunMode::kPreview) {
    // The deletion column tells whether the trash keeps what it is given; no other job reads it.
    session.run.recycle_bin_state =
        ComputeJobSwitches(session.job.settings).deletion ? session.host.fs.ProbeRecycleBin() : -1;
  } else {
    if (!ui.AskYesNo(Cp932Text(codec, "変換を開始します。よろしいですか？"))) {
      result.outcome = ConversionOutcome::kDeclined;
      return result;
    }
    // Nothing is touched when the run could not be undone from the log.
    if (!journal.WriteHeader()) {
      result.outcome = ConversionOutcome::kLogUnwritable;
      return result;
    }
    session.undo.Clear();
  }
  // A photograph may have been edited since the last question about it.
  session.exif.Clear();
  session.run.targets.clear();
  session.run.target_data.clear();
  session.run.pending_sort.clear();
  session.run.listed_names.clear();
  session.run.directory_names.clear();
  session.run.invisible_names = 0;
  session.run.program_entries = 0;
  session.run.program_files.Load(session.host.fs, session.host.program_directory);
  session.run.target = TargetContext();
  session.run.progress_total = 0;
  session.run.cancelled = false;
  ui.ClearCancel();

  // The walk reaches every target from these without following a link that turns up in the tree
  // meanwhile; the undo of this run keeps them.
  const std::vector<std::string> roots = RunRoots(session.host, session.job.app, copy_conversion);
  const ConfinedScope confined(session.host.fs, roots);
  if (mode == RunMode::kRun) session.undo.set_roots(roots);

  ui.OpenExtractionDialog();
  const bool listed = session.job.app.set_0 == 2
                          ? EnumerateFileList(session.walk())
                          : EnumerateDirectory(session.walk(), session.job.app.dirfil[0].value_or(std::string()), false);
  ui.CloseExtractionDialog();
  result.invisible_names = session.run.invisible_names;
  result.program_entries = session.run.program_entries;
  if (!listed) {
    if (session.run.cancelled) {
      session.run.targets.clear();
      session.run.target_data.clear();
      journal.WriteMessage(Cp932Text(codec, "ユーザによりキャンセルされました。"));
      result.outcome = ConversionOutcome::kCancelled;
    } else {
      const std::string message = Cp932Text(codec, "指定された変換対象は存在しません。");
      ui.ShowWarning(message);
      journal.WriteMessage(message);
      result.outcome = ConversionOutcome::kNoTargets;
    }
    return result;
  }

  // The lists stay for as long as the preview is shown: they give back what growing them left over.
  session.run.targets.shrink_to_fit();
  session.run.target_data.shrink_to_fit();
  const int count = static_cast<int>(session.run.targets.size());
  if (mode == RunMode::kPreview) {
    session.run.selection.assign(session.run.targets.size(), 1);
    session.run.preview.clear();
    session.run.preview.reserve(session.run.targets.size());
  } else if (!session.run.selection.empty()) {
    int selected = 0;
    for (std::size_t i = 0; i < session.run.targets.size() && i < session.run.selection.size(); ++i) {
      if (session.run.selection[i] > 0) ++selected;
    }
    session.run.progress_total = selected;
  }
  if (session.run.progress_total < 1) session.run.progress_total = count;

  ui.OpenProgressDialog(Cp932Text(codec, mode == RunMode::kPreview ? "プレビュー作成中です．．．" : "変換中です．．．"),
                        session.run.progress_total);
  ui.ClearCancel();
  session.run.cancelled = false;
  RunTargets(session.walk(), journal, &session.undo);
  session.run.listed_names.clear();
  ui.CloseProgressDialog();

  if (mode == RunMode::kPreview) {
    if (session.run.cancelled) {
      result.outcome = ConversionOutcome::kCancelled;
      return result;
    }
    for (const PreviewRecord& record : session.run.preview) {
      if (record.state == kPreviewError || record.state == -kPreviewError) ++result.preview_failures;
    }
    result.previewed = true;
    result.outcome = ConversionOutcome::kPreviewClosed;
    // The dialog hides excluded records itself when "対象外は非表示" is on, since the choice can change
    // while it is open.
    std::string copy_directory(session.job.app.cpdir.view());
    const PreviewChoice choice = ui.ShowPreview(session.run.preview, session.run.targets, &copy_directory);
    if (choice == PreviewChoice::kCancel) return result;
    if (choice == PreviewChoice::kCopyRun && !session.job.app.cpdir.Assign(copy_directory)) return result;
    session.run.selection.assign(session.run.targets.size(), 1);
    for (const PreviewRecord& record : session.run.preview) {
      if (record.index >= 0 && static_cast<std::size_t>(record.index) < session.run.selection.size()) {
        session.run.selection[static_cast<std::size_t>(record.index)] = record.state;
      }
    }
    ConversionResult run = StartConversion(session, RunMode::kRun, choice == PreviewChoice::kCopyRun);
    run.previewed = true;
    // The preview's validation put the path in its usable form; the run's found it so.
    run.verdict.target_path_changed = run.verdict.target_path_changed || result.verdict.target_path_changed;
    run.preview_failures = result.preview_failures;
    return run;
  }

  ShowSummary(session, journal);
  session.run_happened = true;
  ui.RefreshTargetList();
  result.outcome = ConversionOutcome::kRunFinished;
  result.cancelled = session.run.cancelled;
  result.counters = session.run.counters;
  result.log_complete = session.log.run_logged && session.log.usable;
  return result;
}

}  // namespace morva
