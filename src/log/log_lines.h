#ifndef MORVA_LOG_LOG_LINES_H_
#define MORVA_LOG_LOG_LINES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace morva {

// Every log line starts with a 19-byte local time stamp "YYYY/MM/DD hh:mm:ss" and two spaces.
inline constexpr std::size_t kLogStampSize = 19;
inline constexpr std::string_view kLogStampGap = "  ";
inline constexpr std::size_t kLogTextOffset = kLogStampSize + kLogStampGap.size();

// Appends the log line of `text` under the time stamp `stamp`, its line feed included, to *out.
inline void AppendLogLine(std::string* out, std::string_view stamp, std::string_view text) {
  out->append(stamp);
  out->append(kLogStampGap);
  out->append(text);
  out->push_back('\n');
}

// One line of the log as a stream hands it out. The views stay valid until the next call.
struct LogLine {
  std::string_view full;  // the bytes of the line with its line feed, when it has one
  std::string_view body;  // without the line feed and a carriage return before it (a Windows editor's)
  std::string_view text;  // the line text after the time stamp and its two spaces; empty for a shorter line
  std::uint64_t offset = 0;  // where the line starts in the file
};

// Reads the lines of a log file one after the other, from any offset, holding only a window of the
// file: a log of several gigabytes is read in the memory of one buffer. The last line need not end in a
// line feed. A line longer than the buffer comes in pieces of the buffer's size (only a damaged log has
// one: the writer's lines are short).
class LogLineStream {
 public:
  // The default buffer suits reading a whole log; a few lines after a given offset need less.
  static constexpr std::size_t kWholeLogBuffer = std::size_t{1} << 20;
  static constexpr std::size_t kFewLinesBuffer = std::size_t{1} << 13;

  LogLineStream(ReadableFile& file, std::uint64_t from, std::size_t buffer_size = kWholeLogBuffer)
      : file_(file), next_read_(from), buffer_size_(buffer_size) {}
  LogLineStream(const LogLineStream&) = delete;
  LogLineStream& operator=(const LogLineStream&) = delete;

  // The next line; false at the end of the file or after a read error (see ok()).
  bool Next(LogLine* line);

  // False once a read failed: the lines handed out so far are all the stream could read.
  bool ok() const { return ok_; }

 private:
  bool Refill();

  ReadableFile& file_;
  std::uint64_t next_read_;     // file offset of the byte after the buffer
  std::size_t buffer_size_;
  std::string buffer_;
  std::size_t start_ = 0;       // first byte of the buffer not handed out yet
  std::string chunk_;
  bool ok_ = true;
};

// The text of a log line given without its line feed; empty for a line too short to have one.
inline std::string_view LogLineText(std::string_view body) {
  return body.size() > kLogTextOffset ? body.substr(kLogTextOffset) : std::string_view();
}

// True when `text` begins with `prefix`.
inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace morva

#endif  // MORVA_LOG_LOG_LINES_H_
