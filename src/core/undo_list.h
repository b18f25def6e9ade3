#ifndef MORVA_CORE_UNDO_LIST_H_
#define MORVA_CORE_UNDO_LIST_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morva {

// What is needed to put back one target whose name, attributes or times a run changed.
struct UndoRecord {
  std::string current_path;  // the target's path after the run (the new path when the name changed)
  std::string restore_path;  // its path before the run; empty when the name was not changed
  // The attributes to restore (kAttr* bits); 0 = not recorded. Records read back from the log use
  // kUndoEmptyAttributes for a recorded empty set.
  std::uint32_t attributes = 0;
  // The write permission bits (of 0222) the run took by making the target read-only, which clearing it
  // again gives back; 0 = not recorded (a record read back from the log, whose letters do not tell them).
  std::uint32_t write_bits = 0;
  // Old creation, last-write and last-access time, "YYYY/MM/DD hh:mm:ss.SSS" local time; empty when
  // that time was not changed.
  std::string creation_time;
  std::string write_time;
  std::string access_time;
};

// A recorded attribute set that is empty (every bit clear), as the log's "<>" reads back.
inline constexpr std::uint32_t kUndoEmptyAttributes = 0xFFFFFFFFu;

// The undo records of the last run (or of a run read back from the log), undone newest first. A
// cancelled undo leaves the records it did not reach, so that the next undo goes on with them.
class UndoList {
 public:
  // Adds a record; it is undone before every record pushed earlier.
  void Push(UndoRecord record) { records_.push_back(std::move(record)); }

  // The record to undo next. The list must not be empty.
  const UndoRecord& Head() const { return records_.back(); }

  // Drops the record Head() returned.
  void PopHead() { records_.pop_back(); }

  // Forgets the records and the roots.
  void Clear() {
    records_.clear();
    roots_.clear();
  }
  bool empty() const { return records_.empty(); }
  std::size_t size() const { return records_.size(); }
  // Every record, oldest first.
  const std::vector<UndoRecord>& records() const { return records_; }

  // The directories the run worked below (engine paths), which the undo works below too
  // (FileSystem::ConfineTo).
  void set_roots(std::vector<std::string> roots) { roots_ = std::move(roots); }
  const std::vector<std::string>& roots() const { return roots_; }

 private:
  std::vector<UndoRecord> records_;  // oldest first; the head is the back
  std::vector<std::string> roots_;
};

}  // namespace morva

#endif  // MORVA_CORE_UNDO_LIST_H_
