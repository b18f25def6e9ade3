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
#include "engine/progress_text.h"
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
    walk.host.ui.TargetFinished(entry.path, entry.work);
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
  // Targets a preview showed that were gone or replaced by the time the run reached them failed
  // untouched: say why, since nothing on disk tells.
  if (const std::size_t changed = session.run.changed_since_preview.size(); changed > 0) {
    message += "\n\n" + Format(Cp932Text(codec, "プレビュー後に変更されました（%zu件）。"), changed);
  }
  session.host.ui.ShowSummary(SummaryKind::kRun, message);
}

}  // namespace

void RunTargets(const Walk& walk, RunJournal& journal, UndoList* undo, Plan* plan) {
  const JobSwitches jobs = ComputeJobSwitches(walk.job.settings);
  const bool preview = walk.run.mode == RunMode::kPreview;
  std::optional<PreviewBuilder> builder;
  if (preview) builder.emplace(walk.host, walk.job, walk.run);
  ProgressText progress_text(walk.host.codec);
  const DirectTimes direct_times = DirectTimesOf(walk.job.settings);
  UserInterface& ui = walk.host.ui;
  // Numbering starts afresh with every preview and run.
  walk.run.serials.ClearSerials();

  TargetWork work;
  ProgressState state;
  walk.run.id3_batch.clear();
  const bool planned_run = !preview && plan != nullptr;
  if (preview && plan != nullptr) plan->targets.assign(walk.run.targets.size(), PlannedTarget());
  for (std::size_t i = 0; i < walk.run.targets.size(); ++i) {
    const std::string& path = walk.run.targets[i];
    if (!preview && i < walk.run.selection.size() && walk.run.selection[i] < 0) continue;
    PlannedTarget* planned = plan != nullptr && i < plan->targets.size() ? &plan->targets[i] : nullptr;
    // A target the preview did not show was never approved.
    if (planned_run && (planned == nullptr || !planned->walked)) continue;
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
      if (preview && planned != nullptr) planned->walked = true;
    } else {
      // After a preview the target must still be the entry the preview saw: gone, or another file in
      // its place (a rename, a replacement by another program), it fails untouched.
      bool changed = false;
      if (planned_run) {
        if (!walk.host.fs.Stat(path, &data).ok() || data.identity != planned->identity) {
          changed = true;
          data = FindData();
          data.attributes = planned->attributes;
        }
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
      }

      state.path = path;
      progress_text.Fill(walk.run.counters.processed, walk.run.progress_total, &state);
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
      if (changed) walk.run.changed_since_preview.push_back(path);
      if (program_entry || changed) {
        if (jobs.name || walk.run.copy_conversion) work.failure |= kStepName;
      } else {
        if (jobs.name) RunNameStep(walk, &work, preview ? nullptr : &journal, planned ? &planned->name : nullptr);
        if (!preview && walk.run.copy_conversion && !jobs.name) RunPlainCopyStep(walk, jobs, &work);
      }
      if (program_entry || changed || (walk.run.copy_conversion && (work.failure & kStepName))) {
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
      if (!preview && !changed && work.failure != 0 && Vanished(walk.host.fs.Stat(path, &still))) {
        if (work.change == 0) continue;
      }
      if (preview && planned != nullptr) {
        planned->walked = true;
        planned->identity = data.identity;
        planned->attributes = data.attributes;
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
      ui.TargetFinished(walk.run.target.path, work);
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

namespace {

// A fresh run state for a preview or run: nothing of an earlier one is carried over.
void StartRunState(Session& session, RunMode mode, bool copy_conversion) {
  session.run = RunState();
  session.run.mode = mode;
  session.run.copy_conversion = copy_conversion;
}

// Validates the job; false (with the verdict and outcome in *result) when it may not start as it stands.
bool Validate(Session& session, ConversionResult* result) {
  result->verdict = ValidateJob(session, false);
  if (result->verdict.accepted()) return true;
  const bool question = result->verdict.kind == ValidationVerdict::Kind::kQuestion;
  result->outcome = question ? ConversionOutcome::kQuestion : ConversionOutcome::kRefused;
  return false;
}

// Lists the targets (both modes without a plan): the extraction dialog, the enumeration, and the
// message when the target is missing. False when there is nothing to walk; *result says why.
bool ListTargets(Session& session, RunJournal& journal, ConversionResult* result) {
  TextCodec& codec = session.host.codec;
  UserInterface& ui = session.host.ui;
  ui.OpenExtractionDialog();
  const bool listed = session.job.app.set_0 == 2
                          ? EnumerateFileList(session.walk())
                          : EnumerateDirectory(session.walk(), session.job.app.dirfil[0].value_or(std::string()), false);
  ui.CloseExtractionDialog();
  result->invisible_names = session.run.invisible_names;
  result->program_entries = session.run.program_entries;
  if (listed) {
    // The lists stay for as long as the preview is shown: they give back what growing them left over.
    session.run.targets.shrink_to_fit();
    session.run.target_data.shrink_to_fit();
    return true;
  }
  if (session.run.cancelled) {
    journal.WriteMessage(Cp932Text(codec, "ユーザによりキャンセルされました。"));
    result->outcome = ConversionOutcome::kCancelled;
  } else {
    const std::string message = Cp932Text(codec, "指定された変換対象は存在しません。");
    ui.ShowWarning(message);
    journal.WriteMessage(message);
    result->outcome = ConversionOutcome::kNoTargets;
  }
  return false;
}

// Walks the listed targets under the progress dialog.
void WalkTargets(Session& session, RunJournal& journal, Plan* plan) {
  UserInterface& ui = session.host.ui;
  if (session.run.progress_total < 1) session.run.progress_total = static_cast<int>(session.run.targets.size());
  ui.OpenProgressDialog(Cp932Text(session.host.codec, session.run.mode == RunMode::kPreview
                                                          ? "プレビュー作成中です．．．"
                                                          : "変換中です．．．"),
                        session.run.progress_total);
  ui.ClearCancel();
  session.run.cancelled = false;
  RunTargets(session.walk(), journal, &session.undo, plan);
  ui.CloseProgressDialog();
}

}  // namespace

ConversionResult Preview(Session& session, Plan* plan, bool copy_conversion) {
  ConversionResult result;
  StartRunState(session, RunMode::kPreview, copy_conversion);
  if (!Validate(session, &result)) return result;
  RunJournal journal(session);
  // The deletion column tells whether the trash keeps what it is given; no other job reads it.
  session.run.recycle_bin_state =
      ComputeJobSwitches(session.job.settings).deletion ? session.host.fs.ProbeRecycleBin() : -1;
  // A photograph may have been edited since the last question about it.
  session.exif.Clear();
  session.run.program_files.Load(session.host.fs, session.host.program_directory);
  session.host.ui.ClearCancel();
  const ConfinedScope confined(session.host.fs, RunRoots(session.host, session.job.app, copy_conversion));
  if (!ListTargets(session, journal, &result)) {
    session.run = RunState();
    return result;
  }
  session.run.preview.reserve(session.run.targets.size());
  WalkTargets(session, journal, plan);
  if (session.run.cancelled) {
    session.run = RunState();
    result.outcome = ConversionOutcome::kCancelled;
    return result;
  }
  for (const PreviewRecord& record : session.run.preview) {
    if (record.state == kPreviewError || record.state == -kPreviewError) ++result.preview_failures;
  }
  result.counters = session.run.counters;
  plan->paths = std::move(session.run.targets);
  plan->records = std::move(session.run.preview);
  // Nothing of the preview stays with the session: the plan holds what the run needs of it.
  session.run = RunState();
  result.previewed = true;
  result.outcome = ConversionOutcome::kPreviewClosed;
  return result;
}

ConversionResult Run(Session& session, Plan* plan, bool copy_conversion) {
  ConversionResult result;
  TextCodec& codec = session.host.codec;
  UserInterface& ui = session.host.ui;
  StartRunState(session, RunMode::kRun, copy_conversion);
  const bool valid = Validate(session, &result);
  // The replacement patterns validation loaded serve this run only.
  struct PatternsFreed {
    Session& session;
    ~PatternsFreed() { std::vector<CsvPattern>().swap(session.run.csv_patterns); }
  } patterns_freed{session};
  if (!valid) return result;

  RunJournal journal(session);
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
  session.exif.Clear();
  session.run.program_files.Load(session.host.fs, session.host.program_directory);
  ui.ClearCancel();

  // The walk reaches every target from these without following a link that turns up in the tree
  // meanwhile; the undo of this run keeps them.
  const std::vector<std::string> roots = RunRoots(session.host, session.job.app, copy_conversion);
  const ConfinedScope confined(session.host.fs, roots);
  session.undo.set_roots(roots);

  if (plan != nullptr) {
    // The targets are the preview's, in its order; those the person excluded are passed over.
    session.run.targets = std::move(plan->paths);
    session.run.selection.assign(session.run.targets.size(), 0);
    int selected = 0;
    for (const PreviewRecord& record : plan->records) {
      const auto i = static_cast<std::size_t>(record.index);
      if (i >= session.run.selection.size()) continue;
      session.run.selection[i] = record.state;
      if (record.state > 0) ++selected;
    }
    session.run.progress_total = selected;
  } else if (!ListTargets(session, journal, &result)) {
    return result;
  }
  WalkTargets(session, journal, plan);
  ShowSummary(session, journal);
  session.run_happened = true;
  result.outcome = ConversionOutcome::kRunFinished;
  result.cancelled = session.run.cancelled;
  result.counters = session.run.counters;
  result.log_complete = session.log.run_logged && session.log.usable;
  result.changed_since_preview = std::move(session.run.changed_since_preview);
  return result;
}

}  // namespace morva
