#ifndef MORVA_PLATFORM_USER_AREA_TABLE_H_
#define MORVA_PLATFORM_USER_AREA_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/cp932.h"
#include "platform/status.h"

namespace morva {

// Code page 932 sets aside lead bytes 0xF0-0xF9 for characters a user defines: 1,880 codes. The program
// gives each host character that has no exact code page 932 form one of these codes, so that the engine
// can hold every name the host has. The table of who got which code lives in a file beside the log, so a
// code written into the log, the settings or a preset means the same character in every later process.
namespace user_area {

inline constexpr std::size_t kCodeCount = 1880;
inline constexpr unsigned char kFirstLead = 0xF0;
inline constexpr unsigned char kLastLead = 0xF9;

// Whether `code` (lead << 8 | trail) lies in the user-defined area: lead 0xF0-0xF9, trail 0x40-0x7E or
// 0x80-0xFC.
bool IsUserCode(cp932::Char code);

// The position of a user-defined code in the area (0 for 0xF040, 1879 for 0xF9FC), and back.
std::size_t IndexOf(cp932::Char code);
cp932::Char CodeAt(std::size_t index);

// One line of the table file.
struct Entry {
  cp932::Char code = 0;
  char32_t character = 0;
};

// Reads the complete lines of table text: "F040<TAB>U+00E9<TAB>é" (the third field is for people and not
// read back), '#' lines are comments. A line that does not hold a user-defined code and a Unicode scalar
// value above U+007F is passed over. Stops before a last line without its newline, which a writer that
// was killed leaves behind, and returns the number of bytes read up to there.
std::size_t ParseLines(std::string_view text, std::vector<Entry>* entries);

// The table line for one entry, newline included.
std::string FormatLine(const Entry& entry);

}  // namespace user_area

// The table file, shared by every process that uses the same program directory and by every thread of
// this one. Only ever appended to: a code, once given, keeps its character for good. Two processes never
// give one code to two characters: a new code is given under an exclusive lock on the file, after reading
// what the other processes have appended, and is on disk (fdatasync) before it is used. A process killed
// while appending leaves at most an incomplete last line, never read and cut off by the next writer.
class UserAreaTable {
 public:
  UserAreaTable(const UserAreaTable&) = delete;
  UserAreaTable& operator=(const UserAreaTable&) = delete;
  ~UserAreaTable();

  // The name of the table file in the program directory.
  static constexpr std::string_view kFileName = "mvchars.txt";

  // Opens the table file at `host_path` (a host path), creating it when it is missing, and reads it.
  // Fails with the error of opening or reading; a symbolic link there is refused (ELOOP).
  static Status Open(const std::string& host_path, std::unique_ptr<UserAreaTable>* table);

  // The code of `character`, giving it one when it has none: `preferred` when that code is free, else the
  // lowest free code. ENOSPC when every code is taken; the file's error when the new code cannot be
  // recorded (then no code is given).
  Status CodeOf(char32_t character, cp932::Char preferred, cp932::Char* code);

  // The character given `code`, or 0 when the code has been given to none (after looking for lines
  // other processes appended since).
  char32_t CharacterOf(cp932::Char code);

  // The number of codes given, as this process knows it.
  std::size_t size();

 private:
  // Only Open makes a table.
  struct ConstructionKey {
    explicit ConstructionKey() = default;
  };

 public:
  UserAreaTable(ConstructionKey, int fd, std::string host_path);

 private:

  // Reads the lines appended since the last read. Caller holds mutex_.
  Status ReadNewLines();
  // Records one entry in memory. Caller holds mutex_.
  void Remember(const user_area::Entry& entry);
  // Appends one entry under the file lock. Caller holds mutex_.
  Status Append(char32_t character, cp932::Char preferred, cp932::Char* code);

  const int fd_;
  const std::string host_path_;
  std::mutex mutex_;
  // Bytes of the file read so far: always the end of a complete line.
  std::uint64_t read_end_ = 0;
  std::unordered_map<char32_t, cp932::Char> codes_;
  std::vector<char32_t> characters_ = std::vector<char32_t>(user_area::kCodeCount, 0);
};

}  // namespace morva

#endif  // MORVA_PLATFORM_USER_AREA_TABLE_H_
