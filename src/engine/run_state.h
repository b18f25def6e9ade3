#ifndef MORVA_ENGINE_RUN_STATE_H_
#define MORVA_ENGINE_RUN_STATE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/host.h"
#include "core/job.h"
#include "core/preview_record.h"
#include "core/run_counters.h"
#include "core/target_context.h"
#include "core/target_work.h"
#include "engine/directory_cache.h"
#include "engine/program_files.h"
#include "media/exif_reader.h"
#include "media/id3_reader.h"
#include "media/id3_writer.h"
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

// A target of an ID3 run whose result waits for the flush of the batch it belongs to, with its write
// when that is not finished yet.
struct Id3BatchEntry {
  std::string path;       // the target's path and directory, for its log line
  std::string directory;
  TargetWork work;
  std::unique_ptr<Id3PendingWrite> write;
};

// The state of one preview or run while it works: its targets in conversion order, what the walk learnt
// about them, its counters and the records it shows. The walk's parts receive it through a Walk. Each
// preview and run starts from a fresh one; a preview hands what the run needs of it to the front end as
// a Plan and leaves nothing here.
struct RunState {
  RunMode mode = RunMode::kPreview;
  bool copy_conversion = false;
  bool cancelled = false;         // the person cancelled the enumeration or walk
  RunCounters counters;
  int progress_total = 0;
  int recycle_bin_state = -1;     // -1 unknown, 1 deletions go to the recycle bin, 0 they do not

  // Targets in conversion order, and in a run of a plan each target's preview state (negative: the
  // person left it out; empty = convert everything).
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
  // The program's directory and files, looked up afresh for each preview and run; the entries among
  // them (and the directories holding the program directory) that the enumeration passed over.
  ProgramFiles program_files;
  std::size_t program_entries = 0;

  // The records of the preview.
  std::vector<PreviewRecord> preview;
  // A run after a preview: the targets that were no longer what the preview saw.
  std::vector<std::string> changed_since_preview;

  // The targets of an ID3 run since the last flush of their writes, in target order: the run counts and
  // logs them once their new tags are on the disk (see RunTargets).
  std::vector<Id3BatchEntry> id3_batch;
};

// What one preview or run works with: the services, the job, the media readers (each holding the last
// file it read) and the run's state. A view over parts that the front end owns; the enumeration and the
// steps of the walk take it instead of the front end's whole context.
struct Walk {
  Host& host;
  const Job& job;
  RunState& run;
  ExifReader& exif;
  Id3Reader& id3;
};

}  // namespace morva

#endif  // MORVA_ENGINE_RUN_STATE_H_
