#include "engine/name_step.h"

#include "platform/path_utils.h"
#include "engine/run_journal.h"
#include "platform/cp932.h"
#include "platform/host_paths.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

void FailStep(std::uint32_t bits, TargetWork* work) { work->failure |= bits; }

// The new name from the rule's result and the parts the rule did not see.
std::string Recombine(const ConversionSettings& s, const TargetContext& t, std::string result) {
  if (!s.fnm_01) return result;
  const bool extension_only = s.fnm_02 == 2;
  if (t.is_directory) return extension_only ? t.name : result;
  // A name with a separating dot, even one with an empty extension ("a."), keeps its dot.
  const bool has_dot = t.base.size() < t.name.size();
  if (!has_dot) return extension_only ? t.base : result;
  return extension_only ? t.base + "." + result : result + "." + t.extension;
}

// Copies the target to `to`. A destination that names the source itself is refused here already when
// the paths say so, and by the file system whatever path leads to it: a copy onto its own source
// would leave one file, which a deletion of the source then takes. Nor does a copy ever replace one of
// the program's own files (an output directory that is the program directory, a target named like the
// log).
bool CopyTarget(const Walk& walk, const std::string& from, const std::string& to, bool overwrite) {
  if (from == to) return false;
  FindData existing;
  if (overwrite && walk.host.fs.Stat(to, &existing).ok() && walk.run.program_files.Protects(existing.identity)) {
    return false;
  }
  return walk.host.fs.Copy(from, to, overwrite).ok();
}

}  // namespace

NameRuleInputs NameRuleInputsOf(const Walk& walk) {
  return NameRuleInputs{walk.job.settings, walk.job.app, walk.run.target, walk.run.serials,
                        walk.exif,         walk.id3,     walk.host.regex, walk.run.csv_patterns};
}

DirectoryCache& DirectoryNames(FileSystem& fs, RunState& run, const std::string& directory) {
  DirectoryCache& cache = run.directory_names[directory];
  const auto listed = run.listed_names.find(directory);
  cache.Load(fs, directory, listed != run.listed_names.end() ? &listed->second : nullptr);
  return cache;
}

std::string DestinationDirectory(const Job& job, const RunState& run, std::string_view path) {
  std::string dir;
  if (run.copy_conversion) {
    dir.assign(job.app.cpdir.view());
    if (dir.empty() || FindLastChar(dir, '\\') != dir.size() - 1) dir.push_back('\\');
    return dir;
  }
  const std::size_t slash = FindLastChar(path, '\\');
  if (slash != std::string_view::npos) dir.assign(path.substr(0, slash + 1));
  return dir;
}

namespace {

// The new name the job's rule gives the target, or false (with the rule's failure bits in *failure) when
// it gives none.
bool ComputeNewName(const Walk& walk, std::uint32_t* failure, std::string* new_name) {
  const ConversionSettings& s = walk.job.settings;
  const TargetContext& t = walk.run.target;
  std::string text = !s.fnm_01 ? t.name : (s.fnm_02 == 2 ? t.extension : t.base);
  const bool had_text = !text.empty();
  if (!ApplyNameRule(NameRuleInputsOf(walk), &text, failure)) return false;
  // A rule that leaves nothing of a base name would make "a.mp3" the hidden ".mp3", a name that is all
  // extension: the new name counts as empty, which the preview reports and the run refuses. An emptied
  // extension still joins the base name with its dot ("a."), as the recombination always does.
  const bool base_emptied = had_text && text.empty() && s.fnm_02 != 2;
  *new_name = base_emptied ? std::string() : Recombine(s, t, std::move(text));
  return true;
}

}  // namespace

void RunNameStep(const Walk& walk, TargetWork* work, RunJournal* journal, PlannedName* planned) {
  const TargetContext& t = walk.run.target;
  work->new_name = t.name;

  std::string new_name;
  if (planned != nullptr && walk.run.mode == RunMode::kRun) {
    // What the preview showed, serial numbers and all, whatever the rule would give now.
    work->failure |= planned->rule_failure;
    if (!planned->named) return;
    new_name = planned->new_name;
  } else {
    std::uint32_t rule_failure = 0;
    const bool named = ComputeNewName(walk, &rule_failure, &new_name);
    work->failure |= rule_failure;
    if (planned != nullptr) *planned = PlannedName{named, new_name, rule_failure};
    if (!named) return;  // the name stays as it was
  }
  work->new_name = new_name;

  // Both limits are checked before preview mode ends, so the preview predicts what the run meets: the
  // engine's 260 bytes of path, and the host's limit on one name, which is counted in UTF-8.
  const std::string dir = DestinationDirectory(walk.job, walk.run, t.path);
  if (dir.size() + new_name.size() > kMaxPath || !HostNameFits(&walk.host.codec, new_name)) {
    FailStep(kFailPathTooLong, work);
    return;
  }
  if (walk.run.mode == RunMode::kPreview) return;

  // "." and ".." would name the directory itself or its parent, never a new entry; a separator or another
  // character a name cannot hold (a tag's "AC/DC") would reach into another directory or be refused by
  // a Windows file system, and a name without a host form cannot be made at all, so the run refuses
  // them as the preview does.
  if (new_name.empty() || new_name == "." || new_name == ".." || HasForbiddenNameChar(new_name) ||
      !HostCanHoldName(&walk.host.codec, new_name)) {
    FailStep(kStepName, work);
    return;
  }
  const std::string new_path = dir + new_name;
  if (walk.run.copy_conversion) {
    if (CopyTarget(walk, work->current_path, new_path, walk.job.app.cpovw)) {
      work->change |= kStepName;
      work->previous_path = std::move(work->current_path);
      work->current_path = new_path;
    } else {
      FailStep(kStepName, work);
      work->current_path.clear();
      work->previous_path.clear();
    }
    return;
  }
  if (new_path == work->current_path) return;
  // A name equal to another entry ignoring case is taken on a Windows file system, and the preview says
  // so; the run refuses it too, so it does what the preview predicted and the directory stays usable
  // from Windows (over Samba) on a case-sensitive host. A change of letter case alone cannot meet
  // another entry that way (the move itself refuses an exact name that is taken) and leaves the
  // case-folded names as they are, so only other renames need the directory's names.
  DirectoryCache* names = nullptr;
  if (cp932::CompareIgnoreCase(t.name, new_name) != 0) {
    names = &DirectoryNames(walk.host.fs, walk.run, t.directory);
    if (names->Collides(t.name, new_name)) {
      FailStep(kStepName, work);
      return;
    }
  }
  if (journal != nullptr) journal->NoteMove(work->current_path, new_path, new_name);
  if (walk.host.fs.Move(work->current_path, new_path).ok()) {
    if (names != nullptr) names->Rename(t.name, new_name);
    work->change |= kStepName;
    work->previous_path = std::move(work->current_path);
    work->current_path = new_path;
  } else {
    FailStep(kStepName, work);
  }
}

void RunPlainCopyStep(const Walk& walk, const JobSwitches& jobs, TargetWork* work) {
  const AppSettings& app = walk.job.app;
  const TargetContext& t = walk.run.target;
  std::string dest_dir(app.cpdir.view());

  // Below the target directory, the copy keeps the target's place in the tree: a flat output directory
  // would make equal names of different directories overwrite each other's copies. The target's
  // directory is compared with DIRFIL exactly, as the host tells directories apart by letter case too.
  const std::string dirfil = app.dirfil[0].value_or(std::string());
  if (app.set_0 == 1 && app.sw_set[AppSettings::kSetRecurse] && !dirfil.empty() && t.directory.size() > dirfil.size() &&
      t.directory.compare(0, dirfil.size(), dirfil) == 0) {
    std::string_view below = std::string_view(t.directory).substr(dirfil.size());
    while (!below.empty() && below.front() == '\\') below.remove_prefix(1);
    dest_dir = JoinPath(dest_dir, below);
    if (!MakeDirectories(walk.host.fs, dest_dir)) {
      if (jobs.id3) work->failure |= kStepId3;
      if (jobs.attributes) work->failure |= kStepAttributes;
      if (jobs.times) work->failure |= kStepTimes;
      if (jobs.deletion) work->failure |= kStepDeletion;
    }
  }

  const std::string dest = JoinPath(dest_dir, t.name);
  if (!CopyTarget(walk, work->current_path, dest, app.cpovw)) {
    FailStep(kStepName, work);
    work->current_path.clear();
    work->previous_path.clear();
    return;
  }
  if (!jobs.deletion) {
    work->previous_path = std::move(work->current_path);
    work->current_path = dest;
  }
}

}  // namespace morva
