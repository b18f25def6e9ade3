#include "platform/user_area_table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "platform/posix_util.h"
#include "platform/unicode_text.h"

namespace morva {
namespace user_area {
namespace {

constexpr std::size_t kTrailsPerLead = 188;  // 0x40-0x7E and 0x80-0xFC

constexpr std::string_view kHeader =
    "# MORVA: characters without a code page 932 form and the user-defined codes given to them.\n"
    "# Only ever appended to: a code keeps its character for good. Do not edit.\n";

bool IsScalarAboveAscii(std::uint32_t c) { return c >= 0x80 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Parses exactly `digits` hexadecimal digits (upper or lower case) at the start of `text`.
bool ParseHex(std::string_view text, std::size_t min_digits, std::size_t max_digits, std::uint32_t* value,
              std::size_t* used) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + std::min(text.size(), max_digits), *value, 16);
  *used = static_cast<std::size_t>(end - text.data());
  return ec == std::errc() && *used >= min_digits;
}

bool ParseLine(std::string_view line, Entry* entry) {
  std::uint32_t code = 0;
  std::size_t used = 0;
  if (!ParseHex(line, 4, 4, &code, &used) || line.substr(used, 3) != "\tU+") return false;
  line.remove_prefix(used + 3);
  std::uint32_t character = 0;
  if (!ParseHex(line, 4, 6, &character, &used)) return false;
  if (used < line.size() && line[used] != '\t') return false;
  if (!IsUserCode(static_cast<cp932::Char>(code)) || !IsScalarAboveAscii(character)) return false;
  entry->code = static_cast<cp932::Char>(code);
  entry->character = character;
  return true;
}

}  // namespace

bool IsUserCode(cp932::Char code) {
  const unsigned lead = code >> 8;
  const unsigned trail = code & 0xFF;
  return lead >= kFirstLead && lead <= kLastLead && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

std::size_t IndexOf(cp932::Char code) {
  const unsigned trail = code & 0xFF;
  return static_cast<std::size_t>((code >> 8) - kFirstLead) * kTrailsPerLead + (trail < 0x80 ? trail - 0x40 : trail - 0x41);
}

cp932::Char CodeAt(std::size_t index) {
  const unsigned lead = kFirstLead + static_cast<unsigned>(index / kTrailsPerLead);
  const unsigned offset = static_cast<unsigned>(index % kTrailsPerLead);
  const unsigned trail = offset < 0x3F ? 0x40 + offset : 0x41 + offset;
  return static_cast<cp932::Char>(lead << 8 | trail);
}

std::size_t ParseLines(std::string_view text, std::vector<Entry>* entries) {
  std::size_t read = 0;
  while (true) {
    const std::size_t newline = text.find('\n', read);
    if (newline == std::string_view::npos) return read;
    const std::string_view line = text.substr(read, newline - read);
    Entry entry;
    if (!line.empty() && line[0] != '#' && ParseLine(line, &entry)) entries->push_back(entry);
    read = newline + 1;
  }
}

std::string FormatLine(const Entry& entry) {
  char fields[24];
  std::snprintf(fields, sizeof(fields), "%04X\tU+%04X\t", static_cast<unsigned>(entry.code),
                static_cast<unsigned>(entry.character));
  std::string line = fields;
  unicode::AppendUtf8(entry.character, &line);
  line += '\n';
  return line;
}

}  // namespace user_area

namespace {

// Holds an flock on a file for as long as it lives.
class FileLock {
 public:
  explicit FileLock(int fd) : fd_(fd) {
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        error_ = errno;
        return;
      }
    }
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() {
    if (error_ == 0) flock(fd_, LOCK_UN);
  }
  int error() const { return error_; }

 private:
  int fd_;
  int error_ = 0;
};

}  // namespace

UserAreaTable::UserAreaTable(ConstructionKey, int fd, std::string host_path) : fd_(fd), host_path_(std::move(host_path)) {}

UserAreaTable::~UserAreaTable() { ::close(fd_); }

Status UserAreaTable::Open(const std::string& host_path, std::unique_ptr<UserAreaTable>* table) {
  const int fd = ::open(host_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return posix::ErrnoStatus(errno, "open", host_path);
  auto opened = std::make_unique<UserAreaTable>(ConstructionKey(), fd, host_path);
  std::lock_guard<std::mutex> hold(opened->mutex_);
  if (Status s = opened->ReadNewLines(); !s.ok()) return s;
  *table = std::move(opened);
  return Status::Ok();
}

Status UserAreaTable::ReadNewLines() {
  struct stat st {};
  if (fstat(fd_, &st) != 0) return posix::ErrnoStatus(errno, "stat", host_path_);
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  if (size <= read_end_) return Status::Ok();
  std::string text;
  if (Status s = posix::ReadAt(fd_, read_end_, size - read_end_, &text, host_path_); !s.ok()) return s;
  std::vector<user_area::Entry> entries;
  read_end_ += user_area::ParseLines(text, &entries);
  for (const user_area::Entry& entry : entries) Remember(entry);
  return Status::Ok();
}

void UserAreaTable::Remember(const user_area::Entry& entry) {
  // The first line that names a code or a character holds; a later one could only come from an edit.
  char32_t& holder = characters_[user_area::IndexOf(entry.code)];
  if (holder != 0 || codes_.count(entry.character) != 0) return;
  holder = entry.character;
  codes_.emplace(entry.character, entry.code);
}

Status UserAreaTable::CodeOf(char32_t character, cp932::Char preferred, cp932::Char* code) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (const auto found = codes_.find(character); found != codes_.end()) {
    *code = found->second;
    return Status::Ok();
  }
  return Append(character, preferred, code);
}

Status UserAreaTable::Append(char32_t character, cp932::Char preferred, cp932::Char* code) {
  const FileLock lock(fd_);
  if (lock.error() != 0) return posix::ErrnoStatus(lock.error(), "lock", host_path_);
  // Another process may have given this character, or the preferred code, a code since the last read.
  if (Status s = ReadNewLines(); !s.ok()) return s;
  if (const auto found = codes_.find(character); found != codes_.end()) {
    *code = found->second;
    return Status::Ok();
  }
  std::size_t index = user_area::kCodeCount;
  if (user_area::IsUserCode(preferred) && characters_[user_area::IndexOf(preferred)] == 0) {
    index = user_area::IndexOf(preferred);
  } else {
    for (std::size_t i = 0; i < user_area::kCodeCount; ++i) {
      if (characters_[i] == 0) {
        index = i;
        break;
      }
    }
  }
  if (index == user_area::kCodeCount) return Status::Error(ENOSPC, "no user-defined code left: " + host_path_);

  // Whatever lies past the last complete line was left by a writer that was killed before its line was
  // whole: that code was never used, and the new line must not be glued to it.
  if (ftruncate(fd_, static_cast<off_t>(read_end_)) != 0) return posix::ErrnoStatus(errno, "truncate", host_path_);
  const user_area::Entry entry{user_area::CodeAt(index), character};
  std::string bytes = read_end_ == 0 ? std::string(user_area::kHeader) : std::string();
  bytes += user_area::FormatLine(entry);
  Status s;
  if (lseek(fd_, static_cast<off_t>(read_end_), SEEK_SET) < 0) {
    s = posix::ErrnoStatus(errno, "seek", host_path_);
  } else if (const int err = posix::WriteAll(fd_, bytes); err != 0) {
    s = posix::ErrnoStatus(err, "write", host_path_);
  } else if (fdatasync(fd_) != 0) {
    s = posix::ErrnoStatus(errno, "sync", host_path_);
  }
  if (!s.ok()) {
    // A line that may not be on disk is not given. Should the cut fail too, the next writer cuts it; a
    // reader that takes it meanwhile takes a true entry, since no other code was given to this character.
    const int cut = ftruncate(fd_, static_cast<off_t>(read_end_));
    static_cast<void>(cut);
    return s;
  }
  read_end_ += bytes.size();
  Remember(entry);
  *code = entry.code;
  return Status::Ok();
}

char32_t UserAreaTable::CharacterOf(cp932::Char code) {
  if (!user_area::IsUserCode(code)) return 0;
  std::lock_guard<std::mutex> hold(mutex_);
  const std::size_t index = user_area::IndexOf(code);
  if (characters_[index] == 0) ReadNewLines().IgnoreError();  // a read that fails leaves the code unknown
  return characters_[index];
}

std::size_t UserAreaTable::size() {
  std::lock_guard<std::mutex> hold(mutex_);
  return codes_.size();
}

}  // namespace morva
