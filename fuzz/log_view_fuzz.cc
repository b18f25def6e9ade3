// Feeds arbitrary bytes to the conversion of the log for people: the whole log and the block of every
// run listed. A log is a text a person may edit, so no byte sequence may crash it; and whatever the bytes,
// what it shows is valid UTF-8 with no carriage return and no control character but the tab and the
// line feed, one line feed per line of the log.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "log/log_host_text.h"
#include "log/log_lines.h"
#include "log/log_scan.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

namespace {

// Valid UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF) with no control character other
// than the tab and the line feed.
bool ShownSafely(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      if ((b < 0x20 && b != '\t' && b != '\n') || b == 0x7F) return false;
      ++i;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t code = 0, least = 0;
    if ((b & 0xE0) == 0xC0) {
      length = 2, code = b & 0x1F, least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      length = 3, code = b & 0x0F, least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      length = 4, code = b & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = (code << 6) | (c & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::size_t LineFeeds(const std::string& text) {
  std::size_t n = 0;
  for (const char c : text) n += c == '\n' ? 1 : 0;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  static const std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  const std::string input(reinterpret_cast<const char*>(data), size);
  morva::MemoryReadableFile file{input};
  morva::HostLogText converter(*codec, *fs);

  std::string whole;
  if (!converter.AppendLog(file, 0, false, &whole) || !ShownSafely(whole)) std::abort();
  std::size_t lines = 0;
  morva::LogLineStream stream(file, 0);
  morva::LogLine line;
  while (stream.Next(&line)) ++lines;
  if (LineFeeds(whole) != lines) std::abort();

  std::vector<morva::LoggedRun> runs;
  if (morva::ScanRunsIn(*codec, file, &runs) < 0) std::abort();
  for (const morva::LoggedRun& run : runs) {
    std::string block;
    if (!converter.AppendLog(file, run.position, true, &block) || !ShownSafely(block)) std::abort();
    // A run's block is a part of the whole log, and starts with its header.
    if (block.empty() || whole.find(block) == std::string::npos) std::abort();
  }
  return 0;
}
