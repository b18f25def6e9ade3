#ifndef MORVA_ENGINE_TARGET_ENUMERATION_H_
#define MORVA_ENGINE_TARGET_ENUMERATION_H_

#include <string>
#include <string_view>

#include "engine/run_state.h"
#include "platform/file_system.h"

namespace morva {

// Turns the target settings into walk.run.targets, in conversion order: a directory always comes
// after everything below it, so renaming it never invalidates a path still to be processed. While
// walk.run.sort.on, the entries of each directory are sorted among themselves by their key.

// Directory mode: appends the targets of `path` (a directory, a single file, or a path whose last
// component holds '*' or '?') and, with SW_SET[2], of its subdirectories; `nested` is false for the top
// call. Symbolic links are entries of their own and never recursed into. The cancel request is polled
// before each pass over a directory. Returns false (with walk.run.cancelled set after a cancel) when the
// path does not exist, a network share cannot be connected, or the person cancelled.
bool EnumerateDirectory(const Walk& walk, std::string_view path, bool nested);

// File-list mode: appends the listed items (walk.job.app.list_items) in list order, each normalised
// (NormalizePath) as validation checked it. Missing items are skipped; a directory item becomes a
// target after the files listed below it. Returns false only after a cancel (walk.run.cancelled set).
bool EnumerateFileList(const Walk& walk);

// Appends one target: to walk.run.targets, or, while sorting is on, to the pending sort list with its
// key computed from `data` (asked of the file system when `data` is null).
void AddTarget(const Walk& walk, std::string_view path, const FindData* data);

// Moves the pending sort list into walk.run.targets, smallest key first when ascending, largest first
// otherwise; of equal keys the earlier entry comes first.
void FlushSorted(const Walk& walk);

// The sort key text of one entry for walk.run.sort.key (see SortParameters).
std::string SortKeyText(const Walk& walk, std::string_view path, const FindData& data);

// Orders two sort key texts: first the parts before their last '.', byte by byte as unsigned bytes,
// then the parts after it (empty without a '.'). Negative, zero or positive like strcmp.
int CompareSortKeys(std::string_view a, std::string_view b);

// Whether the network share of the UNC path `path` is usable. Paths shorter than 3 bytes, not starting
// with "\\", or without a share name give false. When the share is not mounted, `interactive` shows
// "ネットワークパスへの接続に失敗しました。" as a warning.
bool ConnectNetworkPath(Host& host, std::string_view path, bool interactive);

// The row of one entry in the target list window. Texts are code page 932; absent columns are empty.
struct EntryRow {
  std::string name;
  std::string attributes;  // the attribute letters
  std::string marker;      // "Exif", "ID3v2.x", "ID3v2.x/v1", "ID3v1" or empty
  std::string last_write;  // "YYYY/MM/DD hh:mm:ss", local time
  std::string creation;    // the same, only with SW_OPT[4]
  std::string exif_date;   // "YYYY/MM/DD hh:mm:ss", only with SW_OPT[5] and an Exif marker
};

// The row values of the entry `data` listed in the directory `dir`.
EntryRow DescribeEntry(const AppSettings& app, ExifReader& exif, Id3Reader& id3, std::string_view dir,
                       const FindData& data);

}  // namespace morva

#endif  // MORVA_ENGINE_TARGET_ENUMERATION_H_
