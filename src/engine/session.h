#ifndef MORVA_ENGINE_SESSION_H_
#define MORVA_ENGINE_SESSION_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/app_settings.h"
#include "engine/directory_cache.h"
#include "core/conversion_settings.h"
#include "core/preview_record.h"
#include "core/target_context.h"
#include "log/log_journal.h"
#include "core/undo_list.h"
#include "media/exif_reader.h"
#include "media/id3_reader.h"
#include "rename/csv_patterns.h"
#include "rename/serial_rule.h"

namespace morva {

class DocumentOpener;
class FileSystem;
class RegexService;
class TextCodec;
class UserInterface;

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

// Everything one running program shares between its parts: the services it stands on, the current job,
// the application settings, and the state of the preview or run in progress. One instance lives as long
// as the front end; it is passed to the code that needs it instead of living in global variables.
struct Session {
  Session(TextCodec& codec_in, FileSystem& fs_in, UserInterface& ui_in)
      : codec(codec_in), fs(fs_in), ui(ui_in), exif(fs_in), id3(fs_in, codec_in) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  TextCodec& codec;
  FileSystem& fs;
  UserInterface& ui;
  // The media readers, each holding the values of the last file it read.
  ExifReader exif;
  Id3Reader id3;

  // The regular expressions of the name rules; null when the front end has none, which fails every
  // replacement that needs one.
  RegexService* regex = nullptr;

  // Opens documents (the log) for viewing; null when the front end has none.
  DocumentOpener* document_opener = nullptr;
  // The program's own directory, an engine path: the settings file and the log live there.
  std::string program_directory;

  ConversionSettings settings;
  AppSettings app;

  // The run in progress (or the last one).
  RunMode mode = RunMode::kPreview;
  bool copy_conversion = false;
  bool cancelled = false;         // the person cancelled the last enumeration or walk
  RunCounters counters;
  int progress_total = 0;
  int recycle_bin_state = -1;     // -1 unknown, 1 deletions go to the recycle bin, 0 they do not
  bool log_usable = true;         // false once a write to the log failed
  std::string log_run_id;         // time stamp of the last run header written: the run's identifier
  bool run_logged = false;        // the last run's header reached the log
  // The log while a run, undo or extraction holds it (LogHold); null otherwise.
  std::unique_ptr<LogJournal> log_journal;
  int log_holds = 0;
  bool run_happened = false;      // a run (not a preview) has finished since start-up

  // Targets of the current preview or run, in conversion order, and the preview's exclusions by
  // position (a negative flag excludes the target from the next run; empty = convert everything).
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

  // The target being converted, and whether any step (or the name rule) failed it.
  TargetContext target;
  bool target_failed = false;

  // The entry names of each directory the enumeration listed in full, so that the walk does not list
  // them a second time. Emptied after the walk.
  std::unordered_map<std::string, std::vector<std::string>> listed_names;
  // The names of every directory the walk renames in, as the preview's accepted renames or the run's
  // renames leave them (see DirectoryNames in name_step.h). Emptied at the start of each walk.
  std::unordered_map<std::string, DirectoryCache> directory_names;
  // Host names the last enumeration passed over because Windows could not hold them.
  std::size_t invisible_names = 0;

  // The records of the last preview.
  std::vector<PreviewRecord> preview;

  // What the last run (or the run read back from the log) changed, for its undo.
  UndoList undo;
};

}  // namespace morva

#endif  // MORVA_ENGINE_SESSION_H_
