#include "engine/target_enumeration.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/engine_text.h"
#include "engine/media_probe.h"
#include "core/job_switches.h"
#include "platform/path_utils.h"
#include "core/user_interface.h"
#include "fileops/date_time_text.h"
#include "platform/cp932.h"
#include "platform/wildcard.h"
#include "rename/control_statement.h"

namespace morva {
namespace {

// The active bounds of the last-write range "対象ファイル更新日時".
struct DateRange {
  bool has_lower = false;
  bool has_upper = false;
  FileTime lower = 0;
  FileTime upper = 0;

  // Both bounds are inclusive. They are typed to the second, so a time is compared by its second: a file
  // written at 12:00:00.5 is inside a range ending at 12:00:00, as the list window shows it.
  bool Contains(FileTime t) const {
    const FileTime second = t - t % kTicksPerSecond;
    if (has_lower && second < lower) return false;
    if (has_upper && second > upper) return false;
    return true;
  }
};

// A bound "YYYY/MM/DD hh:mm:ss" in local time; false (bound not applied) when it does not read as one.
bool ReadBound(std::string_view text, FileTime* out) {
  if (text.size() != 19) return false;
  return local_text_to_file_time(text.substr(0, 10), text.substr(11, 8), out);
}

DateRange ActiveRange(const AppSettings& app) {
  DateRange range;
  if (app.set_dts & AppSettings::kRangeLower) range.has_lower = ReadBound(app.set_dt1.view(), &range.lower);
  if (app.set_dts & AppSettings::kRangeUpper) range.has_upper = ReadBound(app.set_dt2.view(), &range.upper);
  return range;
}

bool IsDirectory(const FindData& data) { return (data.attributes & kAttrDirectory) != 0; }
bool IsLink(const FindData& data) { return (data.attributes & kAttrReparsePoint) != 0; }

// Polls the cancel request between passes; a cancel is remembered in the walk.
bool Cancelled(const Walk& walk) {
  if (walk.run.cancelled) return true;
  if (walk.host.ui.PollCancel()) walk.run.cancelled = true;
  return walk.run.cancelled;
}

// Decides only how long file-list enumeration keeps a directory open, so letter case is ignored even
// though the host tells "D" from "d": a file of "d" taken for one of "D" keeps "D" open longer, and a
// directory converted later than needed breaks nothing, whereas one closed early (a list sorted
// ignoring case puts "d\f" between "D" and "D\x") would be renamed before "D\x" is reached.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  return cp932::CompareIgnoreCase(text.substr(0, prefix.size()), prefix) == 0;
}

// The first (or, with `last`, the last) run of ASCII digits of the base name, padded to 20 digits.
std::string NumberKey(std::string_view name, bool last) {
  std::string base, ext;
  SplitBaseExt(name, &base, &ext);
  std::size_t run_start = std::string::npos, run_length = 0;
  for (std::size_t i = 0; i < base.size();) {
    const std::size_t length = cp932::CharLengthAt(base, i);
    const char c = base[i];
    if (length == 1 && c >= '0' && c <= '9') {
      std::size_t end = i;
      while (end < base.size() && base[end] >= '0' && base[end] <= '9') ++end;
      run_start = i;
      run_length = end - i;
      if (!last) break;
      i = end;
      continue;
    }
    i += length;
  }
  if (run_start == std::string::npos) return "Z";
  if (run_length > 20) return std::string(20, '9');
  return std::string(20 - run_length, '0') + base.substr(run_start, run_length);
}

// True, counting it, for an entry the job must never touch: the program's directory or one of its files,
// or (`holder_too`) a directory holding the program directory, which a rename or deletion would take
// along.
bool PassOver(const Walk& walk, const FindData& data, bool holder_too) {
  const ProgramFiles& program = walk.run.program_files;
  if (!program.IsProgramEntry(data.identity) && !(holder_too && program.HoldsProgramDirectory(data.identity))) {
    return false;
  }
  ++walk.run.program_entries;
  return true;
}

// The filter of files carrying a tag. The ID3 conversion writes only ID3 tags, so for it the tag of
// another container (which the name rules read) does not count.
bool PassesId3Filter(const Walk& walk, std::string_view path) {
  Id3Presence presence;
  if (!HasId3Tag(walk.id3, walk.job.app, path, &presence)) return false;
  return presence.v1 || presence.v2 || !ComputeJobSwitches(walk.job.settings).id3;
}

// Appends a target and what its listing said about it.
void AppendTarget(const Walk& walk, std::string path, const FindData* data) {
  walk.run.target_data.resize(walk.run.targets.size());
  walk.run.targets.push_back(std::move(path));
  walk.run.target_data.emplace_back(data != nullptr ? std::optional<FindData>(*data) : std::nullopt);
}

// True when nothing in the job reads more of an entry than its name and kind, so the listing can spare a
// status call per entry (a third of a large rename's time). The rules that read times, attributes or
// the order of the entries (serial numbering, dates, ID3 tags, control statements with a time
// variable), the attribute, time, deletion and ID3 jobs, an update-time range and sorting all need the
// whole find data.
bool NamesSuffice(const Walk& walk) {
  const std::optional<NameRule> rule = NameRuleOf(walk.job.settings.sw_fnm);
  const bool statement_reads_names_only =
      rule == NameRule::kControl && !ControlStatementReadsTimes(walk.job.settings.fnm_usr1.view());
  const bool rule_reads_names_only = rule == NameRule::kNone || rule == NameRule::kGeneral ||
                                     rule == NameRule::kWidth || rule == NameRule::kReplace ||
                                     rule == NameRule::kCsv || statement_reads_names_only;
  const JobSwitches jobs = ComputeJobSwitches(walk.job.settings);
  const DateRange range = ActiveRange(walk.job.app);
  return rule_reads_names_only && !jobs.attributes && !jobs.times && !jobs.deletion && !jobs.id3 &&
         !walk.run.sort.on && !range.has_lower && !range.has_upper;
}

// The listing the enumeration needs: FindNames when the job reads names only, else FindFiles.
Status ListEntries(const Walk& walk, std::string_view directory, std::string_view pattern,
                   std::vector<FindData>* entries, std::size_t* invisible) {
  return NamesSuffice(walk) ? walk.host.fs.FindNames(directory, pattern, entries, invisible)
                               : walk.host.fs.FindFiles(directory, pattern, entries, invisible);
}

}  // namespace

std::string SortKeyText(const Walk& walk, std::string_view path, const FindData& data) {
  std::string text;
  switch (walk.run.sort.key) {
    case 1:
      if (!format_file_time(data.last_write_time, true, &text)) text.clear();
      return text;
    case 2:
      if (!format_file_time(data.creation_time, true, &text)) text.clear();
      return text;
    case 3:
      if (!HasExifDate(walk.exif, walk.job.app, path, &text)) text = "Z";
      return text;
    case 4:
      return NumberKey(data.name, false);
    case 4 + 64:
      return NumberKey(data.name, true);
    default:
      return data.name;
  }
}

int CompareSortKeys(std::string_view a, std::string_view b) {
  const std::size_t a_dot = FindLastChar(a, '.');
  const std::size_t b_dot = FindLastChar(b, '.');
  const std::string_view a_head = a_dot == std::string_view::npos ? a : a.substr(0, a_dot);
  const std::string_view b_head = b_dot == std::string_view::npos ? b : b.substr(0, b_dot);
  // std::string_view compares as unsigned bytes (char_traits<char> uses memcmp).
  if (const int c = a_head.compare(b_head); c != 0) return c;
  const std::string_view a_tail = a_dot == std::string_view::npos ? std::string_view() : a.substr(a_dot + 1);
  const std::string_view b_tail = b_dot == std::string_view::npos ? std::string_view() : b.substr(b_dot + 1);
  return a_tail.compare(b_tail);
}

void AddTarget(const Walk& walk, std::string_view path, const FindData* data) {
  if (!walk.run.sort.on) {
    AppendTarget(walk, std::string(path), data);
    return;
  }
  std::optional<FindData> listed;
  if (data != nullptr) listed = *data;
  FindData queried;
  if (data == nullptr) {
    if (!walk.host.fs.Stat(path, &queried).ok()) {
      std::string dir;
      SplitPath(path, &dir, &queried.name);
    }
    data = &queried;
  }
  walk.run.pending_sort.push_back(PendingTarget{std::string(path), SortKeyText(walk, path, *data), std::move(listed)});
}

void FlushSorted(const Walk& walk) {
  std::vector<PendingTarget>& pending = walk.run.pending_sort;
  if (walk.run.sort.ascending) {
    std::stable_sort(pending.begin(), pending.end(), [](const PendingTarget& a, const PendingTarget& b) {
      return CompareSortKeys(a.key, b.key) < 0;
    });
  } else {
    std::stable_sort(pending.begin(), pending.end(), [](const PendingTarget& a, const PendingTarget& b) {
      return CompareSortKeys(a.key, b.key) > 0;
    });
  }
  for (PendingTarget& p : pending) AppendTarget(walk, std::move(p.path), p.data ? &*p.data : nullptr);
  pending.clear();
}

bool EnumerateDirectory(const Walk& walk, std::string_view path, bool nested) {
  const AppSettings& app = walk.job.app;
  std::string pattern = "*.*";
  if (app.sw_set[AppSettings::kSetWildcard] && !app.set_11.empty()) pattern.assign(app.set_11.view());

  if (!nested && path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    if (!ConnectNetworkPath(walk.host, path, true)) return false;
  }

  // A directory lists (even when empty); anything else is a single file or a wildcard in the last
  // component, whose entries belong to the directory above.
  std::vector<FindData> full;
  std::string list_dir(path);
  bool single = false;
  std::size_t invisible = 0;
  if (ListEntries(walk, path, "*.*", &full, &invisible).ok()) {
    walk.run.invisible_names += invisible;
  } else {
    std::string dir, last;
    if (!SplitPath(path, &dir, &last) || last.empty()) return false;
    std::vector<FindData> found;
    if (!ListEntries(walk, dir, last, &found, nullptr).ok() || found.empty()) return false;
    single = true;
    list_dir = std::move(dir);
    pattern = std::move(last);
    full.clear();
  }
  const DateRange range = ActiveRange(app);
  if (!single) {
    std::vector<std::string>& names = walk.run.listed_names[std::string(path)];
    names.clear();
    names.reserve(full.size());
    for (const FindData& entry : full) names.push_back(entry.name);
  }

  // Pass 1: the entries matching the pattern. The full listing serves when the pattern takes everything.
  if (Cancelled(walk)) return false;
  std::vector<FindData> matched;
  const bool reuse_full = !single && WildcardPattern(pattern).MatchesEverything();
  if (!reuse_full && !ListEntries(walk, list_dir, pattern, &matched, nullptr).ok()) matched.clear();
  const std::vector<FindData>& pass1 = reuse_full ? full : matched;
  std::unordered_set<std::string> remembered;
  for (const FindData& entry : pass1) {
    if (IsDirectory(entry)) {
      if (app.sw_set[AppSettings::kSetDirectories]) remembered.insert(entry.name);
      continue;
    }
    if (app.sw_set[AppSettings::kSetDirectoriesOnly]) continue;
    if (PassOver(walk, entry, false)) continue;
    const std::string entry_path = JoinPath(list_dir, entry.name);
    if (!range.Contains(entry.last_write_time)) continue;
    if (app.sw_set[AppSettings::kSetExifOnly] && !HasExifDate(walk.exif, walk.job.app, entry_path, nullptr)) continue;
    if (app.sw_set[AppSettings::kSetId3Only] && !PassesId3Filter(walk, entry_path)) continue;
    AddTarget(walk, entry_path, &entry);
  }

  // Pass 2: every subdirectory, whatever the pattern; each becomes a target after its whole subtree.
  if (Cancelled(walk)) return false;
  for (const FindData& entry : full) {
    if (!IsDirectory(entry)) continue;
    const bool target = app.sw_set[AppSettings::kSetDirectories] && remembered.count(entry.name) != 0;
    // The program directory is neither entered nor a target; a directory holding it is entered (its
    // other entries are targets like any) but is no target itself.
    if (walk.run.program_files.IsProgramEntry(entry.identity)) {
      if (target || app.sw_set[AppSettings::kSetRecurse]) ++walk.run.program_entries;
      continue;
    }
    const std::string entry_path = JoinPath(path, entry.name);
    if (app.sw_set[AppSettings::kSetRecurse] && !IsLink(entry)) {
      // Each directory's entries are sorted among themselves only.
      if (walk.run.sort.on) FlushSorted(walk);
      if (!EnumerateDirectory(walk, entry_path, true) && walk.run.cancelled) return false;
    }
    if (target && !PassOver(walk, entry, true)) AddTarget(walk, entry_path, &entry);
  }

  if (walk.run.sort.on) FlushSorted(walk);
  if (!nested && !single && app.sw_set[AppSettings::kSetDirectories] && app.sw_set[AppSettings::kSetItself]) {
    FindData itself;
    if (!walk.host.fs.Stat(path, &itself).ok() || !PassOver(walk, itself, true)) {
      AppendTarget(walk, std::string(path), nullptr);
    }
  }
  return true;
}

bool EnumerateFileList(const Walk& walk) {
  std::vector<std::string> open_directories;
  for (const std::string& listed : walk.job.app.list_items) {
    if (Cancelled(walk)) return false;
    // As validation checked it: one spelling per entry.
    const std::string item = NormalizePath(listed);
    FindData data;
    if (!walk.host.fs.Stat(item, &data).ok()) continue;
    if (PassOver(walk, data, true)) continue;
    if (IsDirectory(data)) {
      open_directories.push_back(item);
      continue;
    }
    // A file outside the current directory finishes it: its listed contents are all in by now.
    if (!open_directories.empty() && !StartsWithIgnoreCase(item, open_directories.back())) {
      if (walk.run.sort.on) FlushSorted(walk);
      AddTarget(walk, open_directories.back(), nullptr);
      open_directories.pop_back();
    }
    AddTarget(walk, item, &data);
  }
  if (walk.run.sort.on) FlushSorted(walk);
  // Straight into the list, innermost first: sorting them could put a directory before one inside it.
  while (!open_directories.empty()) {
    AppendTarget(walk, std::move(open_directories.back()), nullptr);
    open_directories.pop_back();
  }
  return true;
}

bool ConnectNetworkPath(Host& host_services, std::string_view path, bool interactive) {
  if (path.size() < 3 || path[0] != '\\' || path[1] != '\\') return false;
  const std::size_t server_end = FindFirstChar(path.substr(2), '\\');
  if (server_end == std::string_view::npos) return false;
  const std::size_t share_start = 2 + server_end + 1;
  const std::size_t share_end = FindFirstChar(path.substr(share_start), '\\');
  const std::string_view root =
      share_end == std::string_view::npos ? path : path.substr(0, share_start + share_end);
  if (root.size() == share_start) return false;  // no share name
  std::string host;
  if (host_services.fs.ToHostPath(root, &host).ok()) return true;
  if (interactive) host_services.ui.ShowWarning(Cp932Text(host_services.codec, "ネットワークパスへの接続に失敗しました。"));
  return false;
}

EntryRow DescribeEntry(const AppSettings& app, ExifReader& exif, Id3Reader& id3_reader, std::string_view dir,
                       const FindData& data) {
  EntryRow row;
  row.name = data.name;
  row.attributes = format_attributes(data.attributes);
  const std::string path = JoinPath(dir, data.name);
  std::string exif_date;
  Id3Presence id3;
  if (HasExifDate(exif, app, path, app.sw_opt[AppSettings::kOptColumnExif] ? &exif_date : nullptr)) {
    row.marker = "Exif";
    if (app.sw_opt[AppSettings::kOptColumnExif]) {
      row.exif_date = exif_date;
      for (std::size_t at : {4, 7}) {
        if (row.exif_date.size() > at && row.exif_date[at] == ':') row.exif_date[at] = '/';
      }
    }
  } else if (HasId3Tag(id3_reader, app, path, &id3)) {
    if (id3.v2) {
      row.marker = "ID3v2.";
      row.marker.push_back(static_cast<char>('0' + id3.v2_minor % 10));
      if (id3.v1) row.marker += "/v1";
    } else if (id3.v1) {
      row.marker = "ID3v1";
    } else {
      row.marker = TagFormatName(id3.container);
    }
  }
  // The list shows seconds: the stored text's milliseconds are cut off.
  if (format_file_time(data.last_write_time, true, &row.last_write)) row.last_write.resize(19);
  if (app.sw_opt[AppSettings::kOptColumnCreation] && format_file_time(data.creation_time, true, &row.creation))
    row.creation.resize(19);
  return row;
}

}  // namespace morva
