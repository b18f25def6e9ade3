#include "log/log_journal.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/engine_text.h"
#include "platform/path_utils.h"
#include "core/host.h"
#include "log/log_state.h"
#include "core/user_interface.h"
#include "log/log_writer.h"
#include "log/run_block.h"
#include "platform/file_time.h"
#include "platform/move_temporary.h"

namespace morva {
namespace {

// The journal file's layout. Numbers are stored in the machine's own byte order: the file never leaves
// the machine that wrote it, and a journal it cannot read is simply started afresh.
constexpr std::size_t kJournalSize = 64 * 1024;
constexpr char kMagic[8] = {'M', 'V', 'J', 'R', 'N', 'L', '0', '2'};
constexpr std::size_t kMagicAt = 0;
constexpr std::size_t kLogDeviceAt = 8;
constexpr std::size_t kLogInodeAt = 16;
constexpr std::size_t kFlushedSizeAt = 24;  // the log's size when the collected lines began
constexpr std::size_t kPendingLengthAt = 32;
// The target in flight: 0 when there is none, else its slot (bit 32) and the length of its record. The
// record is written to the slot not in use and then made current by this one store, so a process killed
// while it writes leaves the record before intact.
constexpr std::size_t kFlightAt = 40;
constexpr std::size_t kFlightMarkAt = 48;   // flushed size + pending length when the target was first noted
constexpr std::size_t kFlightSlotAt[2] = {128, 128 + 2048};
constexpr std::size_t kFlightSlotSize = 2048;  // NUL-separated fields: five paths of 260 bytes at most and short ones
constexpr std::size_t kPendingAt = kFlightSlotAt[1] + kFlightSlotSize;
constexpr std::size_t kPendingCapacity = kJournalSize - kPendingAt;
constexpr std::uint64_t kFlightSlotBit = std::uint64_t{1} << 32;

// Stores into the mapping reach the file in program order as far as a killed process is concerned: the
// kernel keeps every store made before the process died, so only the compiler may reorder them.
void Barrier() { std::atomic_signal_fence(std::memory_order_seq_cst); }

std::uint64_t Load(std::span<char> state, std::size_t at) {
  std::uint64_t value;
  std::memcpy(&value, state.data() + at, sizeof(value));
  return value;
}

void Store(std::span<char> state, std::size_t at, std::uint64_t value) {
  std::memcpy(state.data() + at, &value, sizeof(value));
  Barrier();
}

// A target in flight as the journal stores it: its fields in a fixed order, each ended by a NUL.
std::string EncodeTarget(const TargetInFlight& t) {
  std::string out;
  auto field = [&out](std::string_view value) {
    out.append(value);
    out.push_back('\0');
  };
  field(t.undo ? "U" : "R");
  field(t.directory);
  field(t.path);
  field(t.new_path);
  field(t.new_name);
  field(t.temporary);
  field(t.attributes_noted ? "1" : "0");
  field(std::to_string(t.old_attributes));
  field(std::to_string(t.new_attributes));
  for (const std::string& time : t.old_times) field(time);
  for (const std::string& time : t.new_times) field(time);
  return out;
}

constexpr std::size_t kTargetFields = 15;

bool DecodeTarget(std::string_view record, TargetInFlight* t) {
  std::vector<std::string_view> fields;
  while (!record.empty()) {
    const std::size_t nul = record.find('\0');
    if (nul == std::string_view::npos) return false;
    fields.push_back(record.substr(0, nul));
    record.remove_prefix(nul + 1);
  }
  if (fields.size() != kTargetFields) return false;
  // A damaged record is passed over whole: no attribute is ever set from a number it does not hold.
  auto number = [](std::string_view text, std::uint32_t* value) {
    if (text.empty() || text.size() > 9) return false;
    *value = 0;
    for (const char c : text) {
      if (c < '0' || c > '9') return false;
      *value = *value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return true;
  };
  if (!number(fields[7], &t->old_attributes) || !number(fields[8], &t->new_attributes)) return false;
  t->undo = fields[0] == "U";
  t->directory = fields[1];
  t->path = fields[2];
  t->new_path = fields[3];
  t->new_name = fields[4];
  t->temporary = fields[5];
  t->attributes_noted = fields[6] == "1";
  for (std::size_t i = 0; i < 3; ++i) {
    t->old_times[i] = fields[9 + i];
    t->new_times[i] = fields[12 + i];
  }
  return true;
}

// Whether the entry named `path` is listed under exactly that name. The directory's listing decides, since
// on a case-insensitive file system a name differing in letter case finds the entry too.
bool Listed(FileSystem& fs, std::string_view path) {
  const std::size_t slash = FindLastChar(path, '\\');
  if (slash == std::string_view::npos) return false;
  const std::string_view directory = path.substr(0, std::max<std::size_t>(slash, 3));
  const std::string_view name = path.substr(slash + 1);
  std::vector<FindData> entries;
  if (!fs.FindFiles(directory, name, &entries, nullptr).ok()) return false;
  for (const FindData& entry : entries) {
    if (entry.name == name) return true;
  }
  return false;
}

// True when `to` names the entry and `from` no longer does.
bool MoveWasMade(FileSystem& fs, std::string_view from, std::string_view to) {
  return Listed(fs, to) && !Listed(fs, from);
}

}  // namespace

LogJournal::LogJournal(Host& host, std::unique_ptr<LockedFile> file) : host_(host), file_(std::move(file)) {
  if (file_ == nullptr || file_->bytes().size() < kJournalSize) return;
  state_ = file_->bytes().first(kJournalSize);
  if (std::memcmp(state_.data() + kMagicAt, kMagic, sizeof(kMagic)) != 0) {
    // A new journal, or one this program cannot read: nothing in it can be settled.
    std::memset(state_.data(), 0, kPendingAt);
    Barrier();
    std::memcpy(state_.data() + kMagicAt, kMagic, sizeof(kMagic));
    Barrier();
  }
}

LogJournal::~LogJournal() { Flush(); }

std::string_view LogJournal::Pending() const {
  const std::uint64_t length = std::min<std::uint64_t>(Load(state_, kPendingLengthAt), kPendingCapacity);
  return std::string_view(state_.data() + kPendingAt, static_cast<std::size_t>(length));
}

void LogJournal::ResetPending() {
  if (state_.empty()) return;
  Store(state_, kPendingLengthAt, 0);
  Store(state_, kFlushedSizeAt, log_size_);
  Store(state_, kLogDeviceAt, log_identity_.device);
  Store(state_, kLogInodeAt, log_identity_.inode);
}

bool LogJournal::WriteOut(std::string_view bytes) {
  if (bytes.empty()) return true;
  if (log_ == nullptr || !log_->Append(bytes).ok()) {
    // What part reached the file is unknown: the file is measured again at the next open.
    log_.reset();
    return false;
  }
  log_size_ += bytes.size();
  return true;
}

bool LogJournal::OpenLog() {
  if (log_ != nullptr) return true;
  const std::string path = LogPath(host_);
  if (!host_.fs.OpenAppend(path, &log_).ok()) {
    log_.reset();
    return false;
  }
  if (!log_->Describe(&log_size_, &log_identity_).ok()) {
    log_.reset();
    return false;
  }
  // A log whose last line has no line feed (a full disk, a killed editor) would glue the next line to
  // it, and a run header glued that way is lost to the scan: start a new line first.
  if (log_size_ > 0) {
    std::unique_ptr<ReadableFile> reader;
    std::string last;
    if (host_.fs.OpenRead(path, &reader).ok() && reader->Read(log_size_ - 1, 1, &last).ok() && last != "\n") {
      if (!WriteOut("\n")) return false;
    }
  }
  ResetPending();
  return true;
}

bool LogJournal::Append(std::string_view line) {
  if (!OpenLog()) return false;
  if (state_.empty() || line.size() > kPendingCapacity) return Flush() && WriteOut(line);
  std::uint64_t length = Load(state_, kPendingLengthAt);
  if (length + line.size() > kPendingCapacity) {
    if (!Flush()) return false;
    length = 0;
  }
  std::memcpy(state_.data() + kPendingAt + length, line.data(), line.size());
  Barrier();
  Store(state_, kPendingLengthAt, length + line.size());
  return true;
}

bool LogJournal::Flush() {
  if (state_.empty()) return true;
  const std::string_view pending = Pending();
  if (pending.empty()) return true;
  const bool written = OpenLog() && WriteOut(pending);
  // The length goes first: a process killed between the two stores then has nothing left to settle,
  // never the same lines twice.
  Store(state_, kPendingLengthAt, 0);
  Store(state_, kFlushedSizeAt, log_size_);
  return written;
}

bool LogJournal::CloseLog() {
  const bool flushed = Flush();
  log_.reset();
  return flushed;
}

void LogJournal::NoteTarget(const TargetInFlight& target) {
  if (state_.empty()) return;
  const std::string record = EncodeTarget(target);
  if (record.size() > kFlightSlotSize) return;  // longer than any paths the run accepts
  const std::uint64_t current = Load(state_, kFlightAt);
  const std::size_t slot = current != 0 && (current & kFlightSlotBit) == 0 ? 1 : 0;
  std::memcpy(state_.data() + kFlightSlotAt[slot], record.data(), record.size());
  Barrier();
  // The mark goes first; for a target noted again it is the same as before.
  if (current == 0) Store(state_, kFlightMarkAt, Load(state_, kFlushedSizeAt) + Load(state_, kPendingLengthAt));
  Store(state_, kFlightAt, (slot == 1 ? kFlightSlotBit : 0) | record.size());
}

void LogJournal::TargetLogged() {
  if (!state_.empty() && Load(state_, kFlightAt) != 0) Store(state_, kFlightAt, 0);
}

void LogJournal::LeaveForLaterHolder() {
  // Opening the log later would start the journal afresh and drop what is still to be settled: this
  // holder writes each line at once instead, and the journal keeps its work for the next one. Lines
  // written around the journal make the log's size say nothing about what reached it, so the next
  // holder writes every collected line (a line twice, at worst, rather than one lost).
  log_.reset();
  Store(state_, kLogDeviceAt, 0);
  Store(state_, kLogInodeAt, 0);
  state_ = std::span<char>();
}

std::string LogJournal::SettleTarget(const TargetInFlight& target) {
  FileSystem& fs = host_.fs;
  // A rename killed between its two steps left the entry under its temporary name: it goes back to its
  // old name, which the first step freed, and the target is as if the rename had never begun.
  bool renamed = false;
  if (!target.new_path.empty()) {
    // Only the name the move itself would use: a damaged journal never renames anything else.
    const bool temporary_known = !target.temporary.empty() && target.temporary == MoveTemporaryPath(target.new_path);
    if (temporary_known && Listed(fs, target.temporary) && !Listed(fs, target.path) &&
        !Listed(fs, target.new_path)) {
      if (!fs.Move(target.temporary, target.path).ok() && fs.Move(target.temporary, target.new_path).ok()) {
        renamed = true;  // the old name is taken meanwhile: the rename is finished instead, and logged
      }
    } else {
      renamed = MoveWasMade(fs, target.path, target.new_path);
    }
  }
  if (target.undo) {
    // The undo that goes on finds the target where it left it; only the read-only flag it lifted for a
    // moment would be lost, since no record of the run asks for it.
    if (target.attributes_noted) fs.SetAttributes(target.path, target.old_attributes).IgnoreError();
    return std::string();
  }

  // A change begun is logged as made, with the old values: putting them back is right whether or not
  // the change reached the target.
  TargetWork work;
  if (renamed) work.change |= kStepName;
  work.new_name = renamed ? target.new_name : std::string();
  if (target.attributes_noted) {
    work.change |= kStepAttributes;
    work.old_attributes = target.old_attributes;
    work.new_attributes = target.new_attributes;
  }
  bool times = false;
  for (std::size_t i = 0; i < 3; ++i) {
    work.time_texts[i] = target.old_times[i];
    work.new_time_texts[i] = target.new_times[i];
    times = times || !target.old_times[i].empty();
  }
  if (times) work.change |= kStepTimes;
  if (work.change == 0) return std::string();
  const TargetLineComposer composer(host_.codec, true, false);
  std::string target_line;
  composer.Compose(target.path, work, &target_line);
  const std::string stamp = LogStampOf(CurrentFileTime());
  std::string lines;
  AppendLogLine(&lines, stamp, DirectoryLine(host_.codec, target.directory));
  AppendLogLine(&lines, stamp, target_line);
  return lines;
}

void LogJournal::Settle() {
  if (state_.empty()) return;
  const std::string_view pending = Pending();
  const std::uint64_t flight = Load(state_, kFlightAt);
  if (pending.empty() && flight == 0) return;

  // The lines a killed holder collected: the part that did not reach the log goes there now. The
  // journal is left as it is until they are written, so a process killed in here leaves the same work.
  const std::string path = LogPath(host_);
  if (!host_.fs.OpenAppend(path, &log_).ok() || !log_->Describe(&log_size_, &log_identity_).ok()) {
    LeaveForLaterHolder();
    return;
  }
  const FileIdentity recorded{Load(state_, kLogDeviceAt), Load(state_, kLogInodeAt)};
  const std::uint64_t flushed = Load(state_, kFlushedSizeAt);
  std::string_view missing = pending;
  if (recorded == log_identity_ && log_size_ >= flushed) {
    // Past the flushed size the log holds a prefix of the collected lines (a write cut short).
    missing.remove_prefix(static_cast<std::size_t>(std::min<std::uint64_t>(log_size_ - flushed, pending.size())));
  }
  if (!WriteOut(missing)) {
    LeaveForLaterHolder();
    return;
  }

  // The target in flight, when its line did not reach the journal. Settling it twice (a process killed
  // in here) does no harm: its renames are made only when still needed, and its lines say the same.
  std::string lines;
  TargetInFlight target;
  const std::size_t slot = (flight & kFlightSlotBit) != 0 ? 1 : 0;
  const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(flight & (kFlightSlotBit - 1), kFlightSlotSize));
  const bool unlogged = flight != 0 && flushed + pending.size() <= Load(state_, kFlightMarkAt);
  if (unlogged && DecodeTarget(std::string_view(state_.data() + kFlightSlotAt[slot], length), &target)) {
    lines = SettleTarget(target);
  }
  log_.reset();  // measured afresh, with its line feed checked, by the open below
  if (!OpenLog()) {
    LeaveForLaterHolder();
    return;
  }
  if (!lines.empty()) {
    std::memcpy(state_.data() + kPendingAt, lines.data(), lines.size());
    Barrier();
    Store(state_, kPendingLengthAt, lines.size());
  }
  Store(state_, kFlightAt, 0);
  Flush();
}

LogHold::LogHold(const LogContext& log) : state_(log.state) {
  if (log.app.sw_opt[AppSettings::kOptNoLog] || log.host.program_directory.empty()) return;
  counted_ = true;
  if (log.state.holds++ > 0) return;
  const std::string path = JoinPath(log.host.program_directory, kLogJournalFileName);
  std::unique_ptr<LockedFile> file;
  Status s = log.host.fs.OpenLockedFile(path, kJournalSize, false, &file);
  if (s.code() == EWOULDBLOCK) {
    log.host.ui.ShowWaitNotice(
        Cp932Text(log.host.codec, "他のMORVAがログを使用中です。終わるまで待っています．．．"));
    s = log.host.fs.OpenLockedFile(path, kJournalSize, true, &file);
  }
  if (!s.ok()) file.reset();  // the log is held without a journal
  log.state.journal = std::make_unique<LogJournal>(log.host, std::move(file));
  log.state.journal->Settle();
}

LogHold::~LogHold() {
  if (!counted_ || --state_.holds > 0) return;
  state_.journal.reset();
}

}  // namespace morva
