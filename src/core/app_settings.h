#ifndef MORVA_CORE_APP_SETTINGS_H_
#define MORVA_CORE_APP_SETTINGS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/fixed_text.h"

namespace morva {

// The program-wide options outside the job: how targets are given, copy conversion, the preview
// switch, the program options and the window geometry. One instance lives from start-up to exit; the
// settings file stores it under the keys the fields are named after, all but the file list. Text fields
// hold code page 932 bytes; their capacity includes the terminating NUL.
struct AppSettings {
  // Places the main, preview and log-run windows in the middle of a desktop whose right and bottom
  // edges are `desktop_right` and `desktop_bottom`, the main window having the given size. The main
  // window may start left of or above the desktop; the two dialogs are kept at 0 or beyond.
  void CentreWindows(int desktop_right, int desktop_bottom, int main_width, int main_height);

  // Makes `path` the newest target path (DIRFIL), as collecting the path panel does: an entry equal to
  // it moves to the front and the entries before it move back one; otherwise every entry moves back one
  // and the oldest drops out. Entries are compared byte for byte: on a case-sensitive host "Photos" and
  // "photos" are two directories, and taking one for the other would convert the wrong one.
  void PushTargetPath(std::string path);

  // Puts `path`, the newest target path in the form enumeration uses (trimmed and normalised by
  // validation), in place of the newest entry as it was typed. An older entry equal to it moves to the
  // front instead, so that the history holds the path once.
  void ReplaceNewestTargetPath(std::string path);

  std::int16_t set_0 = 1;  // how targets are given: 1 a directory path, 2 a list of files
  // Target paths, most recent first, each at most 259 bytes (DIRFIL, DIRFIL1-9, DIRFILA-F).
  std::array<std::optional<std::string>, 16> dirfil;
  // The files and directories of file-list mode (engine paths, in list order), as the front end's list
  // holds them: it puts them here with the rest of the target settings before a preview, run or
  // validation. Not a setting: the settings file has no key for it and never holds it.
  std::vector<std::string> list_items;
  // [0] show the target list, [1] a shortcut stands for its target, [2] recurse, [3] directories too,
  // [4] the given directory itself, [5] wildcard, [6] directories only, [7] Exif files only, [8] ID3
  // files only, [9]-[11] reserved (0).
  std::array<bool, 12> sw_set = {true, true, false, false, false, false, false, false, false, false, false, false};
  static constexpr std::size_t kSetShowList = 0;         // the target list window is shown
  static constexpr std::size_t kSetShortcutTarget = 1;   // a shortcut stands for its target
  static constexpr std::size_t kSetRecurse = 2;          // subdirectories are walked too
  static constexpr std::size_t kSetDirectories = 3;      // directories are targets too
  static constexpr std::size_t kSetItself = 4;           // with kSetDirectories: the given directory too
  static constexpr std::size_t kSetWildcard = 5;         // only files that match set_11
  static constexpr std::size_t kSetDirectoriesOnly = 6;  // with kSetDirectories: no files
  static constexpr std::size_t kSetExifOnly = 7;         // only files with an Exif date
  static constexpr std::size_t kSetId3Only = 8;          // only files with an ID3 tag
  FixedText<84> set_11;      // current wildcard, at most 80 bytes
  FixedText<649> set_12;     // up to 8 earlier wildcards, tab-separated, most recent first
  FixedText<20> set_dt1;     // last-write time range, lower bound "YYYY/MM/DD hh:mm:ss"
  FixedText<20> set_dt2;     // upper bound
  std::uint8_t set_dts = 0;  // bounds in force: 1 lower, 2 upper
  static constexpr std::uint8_t kRangeLower = 1;  // set_dt1 is in force
  static constexpr std::uint8_t kRangeUpper = 2;  // set_dt2 is in force
  bool pref = true;          // preview before running
  bool cpyf = false;         // convert copies in an output directory
  FixedText<260> cpdir;      // output directory of copy conversion
  bool cpovw = false;        // copy over an existing file of the same name
  // Preview window options: [1] failures are excluded from the run, [2] so are targets that need no
  // change; [0] and [3] are options of the desktop window's own.
  std::array<bool, 4> sw_pre = {false, false, false, false};
  static constexpr std::size_t kPreExcludeFailures = 1;
  static constexpr std::size_t kPreExcludeNoChange = 2;
  // [0] log successes and no-ops, [1] no log, [2] keep the job for the next start, [3]-[5] list columns
  // (last write, creation, Exif), [6] detect Exif/ID3 by content, [7] no password prompt when listing,
  // [8] log undo too, [9] read ID3v1 before ID3v2, [10] confirm list changes, [11] no padding when
  // converting, [12] first comment frame wins, [13]-[15] reserved (0).
  std::array<bool, 16> sw_opt = {true,  false, true,  false, false, false, false, false,
                                 false, false, false, false, false, false, false, false};
  static constexpr std::size_t kOptLogAll = 0;               // successes and no-ops are logged too
  static constexpr std::size_t kOptNoLog = 1;                // nothing is logged
  static constexpr std::size_t kOptKeepJob = 2;              // the job is kept for the next start
  static constexpr std::size_t kOptColumnLastWrite = 3;      // the target list shows last-write times
  static constexpr std::size_t kOptColumnCreation = 4;       // ... creation times
  static constexpr std::size_t kOptColumnExif = 5;           // ... Exif dates
  static constexpr std::size_t kOptDetectByContent = 6;      // Exif and ID3 files are told by content
  static constexpr std::size_t kOptNoPasswordPrompt = 7;     // no password prompt when listing
  static constexpr std::size_t kOptLogUndo = 8;              // undo is logged too
  static constexpr std::size_t kOptId3V1First = 9;           // ID3v1 is read before ID3v2
  static constexpr std::size_t kOptConfirmListChanges = 10;  // changes of the list are confirmed
  static constexpr std::size_t kOptNoPadding = 11;           // no padding when converting
  static constexpr std::size_t kOptFirstCommentWins = 12;    // the first comment frame wins
  std::int16_t opt_1 = 10;   // runs kept in the log, 1-40
  std::int16_t opt_2 = 2;    // Exif date item: 1 file change, 2 original, 3 digitised
  std::int16_t opt_3 = 256;  // padding of a new ID3v2 tag, 0-2048 bytes

  // Window geometry. Positions are set by CentreWindows (or read from the file) before use.
  int winx = 0, winy = 0;                                           // main window left, top
  int prew = 600, preh = 400, prex = 0, prey = 0;                   // preview window
  bool prem = false;                                                // preview window maximised
  std::array<int, 8> prec = {50, 320, 60, 180, 80, 200, 200, 320};  // preview list column widths
  int lulw = 640, lulh = 480, lulx = 0, luly = 0;                   // log-run selection window
  bool lulm = false;                                                // log-run selection window maximised
  std::array<int, 4> lulc = {120, 70, 120, 100};                    // its column widths
  int trew = 480, treh = 320, trex = 0, trey = 0;                   // target list window
  std::array<int, 6> trec = {160, 50, 60, 120, 120, 120};           // its column widths
};

}  // namespace morva

#endif  // MORVA_CORE_APP_SETTINGS_H_
