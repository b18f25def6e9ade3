#ifndef MORVA_LOG_LOG_JOURNAL_H_
#define MORVA_LOG_LOG_JOURNAL_H_

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace morva {

struct Host;
struct LogContext;
struct LogState;

// The journal's file name in the program directory, beside the log.
inline constexpr std::string_view kLogJournalFileName = "mvlogs.jnl";

// What a run or an undo is about to change on one target, noted in the journal before each change and
// dropped once the target's line is in the journal (TargetLogged), so that a process killed in between
// leaves enough for the next holder to find the target and make it undoable or put it back.
struct TargetInFlight {
  // A run's target is logged by the next holder as its changes stand; an undo's target is repaired
  // instead (the undo that goes on after it finds it where it was, read-only as it was), never logged.
  bool undo = false;
  std::string directory;  // the run's directory line for the target
  std::string path;       // the target's path before the change
  std::string new_path;   // its path after the rename; empty without a rename
  std::string new_name;   // the last component of new_path
  // The entry the rename passes through on its way (a case-only rename on a case-insensitive file
  // system; see MoveTemporaryName); empty without a rename.
  std::string temporary;
  // A run: the attributes before and after its attribute change (or, around a change of times that
  // lifts read-only for the moment, both the attributes to keep). An undo: the attributes to put back
  // when it lifted read-only to restore the times.
  bool attributes_noted = false;
  std::uint32_t old_attributes = 0;
  std::uint32_t new_attributes = 0;
  // A run: the old and new creation, last-write and last-access times changed, as the target line
  // writes them; empty for a time not changed.
  std::array<std::string, 3> old_times;
  std::array<std::string, 3> new_times;
};

// The conversion log as one run, undo or extraction holds it, and the journal file beside it that makes
// the log survive a process killed at any moment.
//
// The journal file is held under an exclusive lock for as long as the log is held, so two processes on
// one program directory never write the log, read positions in it or replace it at the same time. Its
// bytes are mapped into memory and hold:
//  - the lines not yet written to the log: lines collect there and reach the log in one write when the
//    space is full or the holder flushes, so a run costs one system call per many targets, and a killed
//    process loses none of them;
//  - the target in flight (TargetInFlight): what is about to change on the target being converted or
//    undone, noted before each rename, attribute change or change of times.
// The next holder settles what a killed holder left (Settle) before anything else touches the log: it
// writes the lines that did not reach the log; it moves a target left under its temporary name back to
// its old name; it logs a run's target in flight with the changes that were made or begun (the old
// attributes and times, which an undo from the log puts back whether or not they had changed yet); it
// puts back the attributes an undo lifted for the moment.
//
// A run that is to be logged never starts without the journal (RunJournal::WriteHeader): a run the log
// may miss is a run nobody can undo.
class LogJournal {
 public:
  // Made by LogHold: `file` is the locked journal file, or null to hold the log without one.
  LogJournal(Host& host, std::unique_ptr<LockedFile> file);
  ~LogJournal();
  LogJournal(const LogJournal&) = delete;
  LogJournal& operator=(const LogJournal&) = delete;

  // True when the journal file is there: the lines and the targets in flight survive a kill.
  bool durable() const { return !state_.empty(); }

  // Adds one whole line (time stamp, text and line feed) to the log; false when the log cannot be opened
  // or a write failed (the line and every unwritten line before it are then lost).
  bool Append(std::string_view line);

  // Writes the lines collected so far to the log; false when that failed (they are lost).
  bool Flush();

  // Flushes and closes the log, which is about to be replaced; the next Append opens it again.
  bool CloseLog();

  // The target in flight as it stands before its next change; every call replaces the one before, and
  // a process killed at any moment leaves either. TargetLogged says the target's line has been
  // appended (or needs none): the target is no longer in flight.
  void NoteTarget(const TargetInFlight& target);
  void TargetLogged();

 private:
  friend class LogHold;

  // Settles what a killed holder left: the part of its collected lines that did not reach the log, and
  // its target in flight.
  void Settle();
  // Gives up settling: this holder goes on without the journal, which keeps what is to be settled.
  void LeaveForLaterHolder();
  // The run's target in flight as the lines that log it (empty when nothing of it needs logging); an
  // undo's target is put back instead.
  std::string SettleTarget(const TargetInFlight& target);
  bool OpenLog();
  bool WriteOut(std::string_view bytes);
  std::string_view Pending() const;
  void ResetPending();

  Host& host_;
  std::unique_ptr<LockedFile> file_;
  std::span<char> state_;  // the mapped journal; empty without one
  std::unique_ptr<AppendFile> log_;
  std::uint64_t log_size_ = 0;
  FileIdentity log_identity_;
};

// Holds the log of `log` (program directory, settings) for the lifetime of the object: takes the
// journal's lock, waiting while another process holds it (telling the person once that it waits), and
// settles what a killed holder left. Holds nest: an inner hold in the same program shares the outer one,
// and the log is flushed and let go when the outermost goes. Does nothing when the log is switched off
// (SW_OPT[1]) or there is no program directory.
class LogHold {
 public:
  explicit LogHold(const LogContext& log);
  ~LogHold();
  LogHold(const LogHold&) = delete;
  LogHold& operator=(const LogHold&) = delete;

 private:
  LogState& state_;
  bool counted_ = false;
};

}  // namespace morva

#endif  // MORVA_LOG_LOG_JOURNAL_H_
