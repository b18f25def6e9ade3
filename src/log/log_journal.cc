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

namespace morva {
namespace {

// The journal file's layout. Numbers are stored in the machine's own byte order: the file never leaves
// the machine that wrote it, and a journal it cannot read is simply started afresh.
constexpr std::size_t kJournalSize = 64 * 1024;
constexpr char kMagic[8] = {'M', 'V', 'J', 'R', 'N', 'L', '0', '1'};
constexpr std::size_t kMagicAt = 0;
constexpr std::size_t kLogDeviceAt = 8;
constexpr std::size_t kLogInodeAt = 16;
constexpr std::size_t kFlushedSizeAt = 24;  // the log's size when the collected lines began
constexpr std::size_t kPendingLengthAt = 32;
constexpr std::size_t kMoveLengthAt = 40;   // 0: no move in flight
constexpr std::size_t kMoveMarkAt = 48;     // flushed size + pending length when the move was noted
constexpr std::size_t kUnloggedRunAt = 56;  // 19 bytes, the first 0 when there is none
constexpr std::size_t kMoveAt = 128;
constexpr std::size_t kMoveSize = 1024;     // four NUL-terminated engine paths and names of 260 bytes at most
constexpr std::size_t kPendingAt = kMoveAt + kMoveSize;
constexpr std::size_t kPendingCapacity = kJournalSize - kPendingAt;

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

// The NUL-terminated strings of the move area, in order.
std::vector<std::string_view> MoveFields(std::span<char> state, std::size_t length) {
  std::vector<std::string_view> fields;
  std::string_view area(state.data() + kMoveAt, std::min(length, kMoveSize));
  while (!area.empty()) {
    const std::size_t nul = area.find('\0');
    if (nul == std::string_view::npos) break;
    fields.push_back(area.substr(0, nul));
    area.remove_prefix(nul + 1);
  }
  return fields;
}

// True when `to` names the entry and `from` no longer does. Their directory's listing decides, since on a
// case-insensitive file system a rename that changed letter case alone finds the entry under both names.
bool MoveWasMade(FileSystem& fs, std::string_view from, std::string_view to) {
  const std::size_t slash = FindLastChar(to, '\\');
  const std::size_t from_slash = FindLastChar(from, '\\');
  if (slash == std::string_view::npos || from_slash == std::string_view::npos) return false;
  auto listed = [&fs](std::string_view directory, std::string_view name) {
    std::vector<FindData> entries;
    if (!fs.FindFiles(directory, name, &entries, nullptr).ok()) return false;
    for (const FindData& entry : entries) {
      if (entry.name == name) return true;
    }
    return false;
  };
  const std::string_view to_directory = to.substr(0, std::max<std::size_t>(slash, 3));
  const std::string_view from_directory = from.substr(0, std::max<std::size_t>(from_slash, 3));
  return listed(to_directory, to.substr(slash + 1)) && !listed(from_directory, from.substr(from_slash + 1));
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

void LogJournal::NoteMove(std::string_view from, std::string_view to, std::string_view directory,
                          std::string_view new_name) {
  if (state_.empty()) return;
  const std::size_t length = from.size() + to.size() + directory.size() + new_name.size() + 4;
  if (length > kMoveSize) return;  // longer than any path the run accepts
  char* out = state_.data() + kMoveAt;
  for (std::string_view field : {from, to, directory, new_name}) {
    std::memcpy(out, field.data(), field.size());
    out += field.size();
    *out++ = '\0';
  }
  Store(state_, kMoveMarkAt, Load(state_, kFlushedSizeAt) + Load(state_, kPendingLengthAt));
  Store(state_, kMoveLengthAt, length);
}

void LogJournal::MoveLogged() {
  if (!state_.empty() && Load(state_, kMoveLengthAt) != 0) Store(state_, kMoveLengthAt, 0);
}

std::string LogJournal::LastLineStamp() {
  Flush();
  std::unique_ptr<ReadableFile> reader;
  if (!host_.fs.OpenRead(LogPath(host_), &reader).ok() || reader->size() == 0) return std::string();
  constexpr std::uint64_t kTail = 4096;
  const std::uint64_t from = reader->size() > kTail ? reader->size() - kTail : 0;
  std::string tail;
  if (!reader->Read(from, static_cast<std::size_t>(reader->size() - from), &tail).ok()) return std::string();
  while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
  const std::size_t lf = tail.rfind('\n');
  const std::string_view last = std::string_view(tail).substr(lf == std::string::npos ? 0 : lf + 1);
  return last.size() >= kLogStampSize ? std::string(last.substr(0, kLogStampSize)) : std::string();
}

std::string LogJournal::UnloggedRun() const {
  if (state_.empty() || state_[kUnloggedRunAt] == '\0') return std::string();
  return std::string(state_.data() + kUnloggedRunAt, kLogStampSize);
}

void LogJournal::SetUnloggedRun(std::string_view stamp) {
  if (state_.empty()) return;
  if (stamp.size() != kLogStampSize) {
    state_[kUnloggedRunAt] = '\0';
  } else {
    std::memcpy(state_.data() + kUnloggedRunAt, stamp.data(), kLogStampSize);
  }
  Barrier();
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

void LogJournal::Settle() {
  if (state_.empty()) return;
  const std::string_view pending = Pending();
  const std::uint64_t move_length = Load(state_, kMoveLengthAt);
  if (pending.empty() && move_length == 0) return;

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

  // The move in flight is logged when its line did not reach the journal and the rename was made.
  std::string lines;
  const bool move_unlogged = move_length != 0 && flushed + pending.size() <= Load(state_, kMoveMarkAt);
  const std::vector<std::string_view> move = MoveFields(state_, static_cast<std::size_t>(move_length));
  if (move_unlogged && move.size() == 4 && MoveWasMade(host_.fs, move[0], move[1])) {
    TargetWork work;
    work.change = kStepName;
    work.new_name = std::string(move[3]);
    const TargetLineComposer composer(host_.codec, true, false);
    std::string target_line;
    composer.Compose(move[0], work, &target_line);
    const std::string stamp = LogStampOf(CurrentFileTime());
    AppendLogLine(&lines, stamp, DirectoryLine(host_.codec, move[2]));
    AppendLogLine(&lines, stamp, target_line);
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
  Store(state_, kMoveLengthAt, 0);
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
