#ifndef MORVA_ENGINE_SESSION_H_
#define MORVA_ENGINE_SESSION_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/host.h"
#include "core/job.h"
#include "engine/directory_cache.h"
#include "core/preview_record.h"
#include "core/target_context.h"
#include "log/log_state.h"
#include "core/undo_list.h"
#include "media/exif_reader.h"
#include "media/id3_reader.h"
#include "rename/csv_patterns.h"
#include "rename/serial_rule.h"

namespace morva {

enum class RunMode { kPreview, kRun };

// The order in which the entries of one directory enter the target list (serial numbering and date
// naming sort them). Set by validation just before enumeration.
struct SortParameters {
  bool on = false;
  bool ascending = true;
  int key = 0;  // 0 name, 1 last write, 2 creation, 3 Exif date, 4 number in the name; +64 last number
};

// A target waiting in the pending sort list with its sort key text.
struct PendingTarget {
  std::string path;
  std::string key;
  std::optional<FindData> data;
};

// The five counters of a run.
struct RunCounters {
  std::int32_t full_success = 0;     // "完全成功"
  std::int32_t partial_success = 0;  // "一部成功"
  std::int32_t not_needed = 0;       // "変換不要"
  std::int32_t full_failure = 0;     // "完全失敗"
  std::int32_t processed = 0;        // "総数"
};

// The state of one preview or run: its targets in conversion order, what the walk learnt about them,
// its counters and the records it shows. The walk's parts receive it; the last one stays in the Session
// for the front end to show.
struct RunState {
  RunMode mode = RunMode::kPreview;
  bool copy_conversion = false;
  bool cancelled = false;         // the person cancelled the enumeration or walk
  RunCounters counters;
  int progress_total = 0;
  int recycle_bin_state = -1;     // -1 unknown, 1 deletions go to the recycle bin, 0 they do not

  // Targets in conversion order, and the preview's exclusions by position (a negative flag excludes the
  // target from the next run; empty = convert everything).
  std::vector<std::string> targets;
  // The find data of each target as its directory listed it, by position; absent for a target added
  // without a listing. The walk trusts it for files, whose entries no earlier target changes.
  std::vector<std::optional<FindData>> target_data;
  std::vector<std::int16_t> selection;
  SortParameters sort;
  // The entries of the directory being enumerated while sorting is on, until FlushSorted moves them
  // into `targets` in key order.
  std::vector<PendingTarget> pending_sort;

  // The serial counters of the numbering rules; emptied at the start and end of each preview or run.
  SerialCounters serials;

  // The replacement patterns of name rule 8, loaded by validation for one preview or run and freed when
  // it ends.
  std::vector<CsvPattern> csv_patterns;

  // The target being converted.
  TargetContext target;

  // The entry names of each directory the enumeration listed in full, so that the walk does not list
  // them a second time. Emptied after the walk.
  std::unordered_map<std::string, std::vector<std::string>> listed_names;
  // The names of every directory the walk renames in, as the preview's accepted renames or the run's
  // renames leave them (see DirectoryNames in name_step.h). Emptied at the start and end of each walk.
  std::unordered_map<std::string, DirectoryCache> directory_names;
  // Host names the enumeration passed over because Windows could not hold them.
  std::size_t invisible_names = 0;

  // The records of the preview.
  std::vector<PreviewRecord> preview;
};

// Everything one running program shares between its parts: the services it stands on, the job, the log,
// the undo of the last run and the state of the last preview or run. One instance lives as long as the
// front end; it is passed to the code that needs it instead of living in global variables. Code that
// needs one part takes that part only.
struct Session {
  Session(TextCodec& codec, FileSystem& fs, UserInterface& ui) : host(codec, fs, ui), exif(fs), id3(fs, codec) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  LogContext log_context() { return LogContext{host, job.app, log}; }

  Host host;
  Job job;
  LogState log;
  // The media readers, each holding the values of the last file it read.
  ExifReader exif;
  Id3Reader id3;
  RunState run;
  bool run_happened = false;  // a run (not a preview) has finished since start-up
  // What the last run (or the run read back from the log) changed, for its undo.
  UndoList undo;
};

}  // namespace morva

#endif  // MORVA_ENGINE_SESSION_H_
