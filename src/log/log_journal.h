#ifndef MORVA_LOG_LOG_JOURNAL_H_
#define MORVA_LOG_LOG_JOURNAL_H_

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

// The conversion log as one run, undo or extraction holds it, and the journal file beside it that makes
// the log survive a process killed at any moment.
//
// The journal file is held under an exclusive lock for as long as the log is held, so two processes on
// one program directory never write the log, read positions in it or replace it at the same time. Its
// bytes are mapped into memory and hold:
//  - the lines not yet written to the log: lines collect there and reach the log in one write when the
//    space is full or the holder flushes, so a run costs one system call per many targets, and a killed
//    process loses none of them;
//  - the move in flight: the paths of a rename noted just before it is made, so that a rename made by a
//    process killed before it logged the rename still reaches the log;
//  - the time stamp of the newest run whose header could not be written, so that nobody undoes an older
//    run believing it is the newest.
// The next holder settles what a killed holder left (Settle) before anything else touches the log.
//
// When the journal file cannot be opened or mapped (a read-only directory, a full disk) the log is held
// without it: each line is written at once, as without a journal, and nothing survives a kill.
class LogJournal {
 public:
  // Made by LogHold: `file` is the locked journal file, or null to hold the log without one.
  LogJournal(Host& host, std::unique_ptr<LockedFile> file);
  ~LogJournal();
  LogJournal(const LogJournal&) = delete;
  LogJournal& operator=(const LogJournal&) = delete;

  // Adds one whole line (time stamp, text and line feed) to the log; false when the log cannot be opened
  // or a write failed (the line and every unwritten line before it are then lost).
  bool Append(std::string_view line);

  // Writes the lines collected so far to the log; false when that failed (they are lost).
  bool Flush();

  // Flushes and closes the log, which is about to be replaced; the next Append opens it again.
  bool CloseLog();

  // The rename of `from` to `to` (engine paths; `directory` holds `from`, `new_name` is the last component
  // of `to`) is about to be made; MoveLogged says its target line has been appended. In between, a killed
  // process leaves it for the next holder, which logs it as a successful name change when the entry is
  // found under its new name only.
  void NoteMove(std::string_view from, std::string_view to, std::string_view directory, std::string_view new_name);
  void MoveLogged();

  // The time stamp (first 19 bytes) of the last line in the log, empty when the log is empty or missing.
  std::string LastLineStamp();

  // The identifier of the newest run whose header could not be written, or empty. Kept in the journal
  // file, so it outlives the process; a run whose header is written clears it.
  std::string UnloggedRun() const;
  void SetUnloggedRun(std::string_view stamp);

 private:
  friend class LogHold;

  // Settles what a killed holder left: the part of its collected lines that did not reach the log, and
  // its move in flight when the rename was made.
  void Settle();
  // Gives up settling: this holder goes on without the journal, which keeps what is to be settled.
  void LeaveForLaterHolder();
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
