#ifndef MORVA_MEDIA_BYTE_VIEW_H_
#define MORVA_MEDIA_BYTE_VIEW_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

// Fixed-width numbers inside bytes already read, and a window over a file for parsers that read many
// small headers. Callers check the length before every Get: these never check it again.
namespace morva::media {

inline std::uint32_t Be16(std::string_view b, std::size_t at) {
  return (std::uint32_t{static_cast<unsigned char>(b[at])} << 8) | static_cast<unsigned char>(b[at + 1]);
}
inline std::uint32_t Be32(std::string_view b, std::size_t at) { return (Be16(b, at) << 16) | Be16(b, at + 2); }
inline std::uint64_t Be64(std::string_view b, std::size_t at) {
  return (std::uint64_t{Be32(b, at)} << 32) | Be32(b, at + 4);
}
inline std::uint32_t Le32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 4; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}
// A big-endian unsigned number of 0 to 8 bytes (the variable-width fields of an item location table).
inline std::uint64_t BeN(std::string_view b, std::size_t at, std::size_t width) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

// Serves reads of a file through one buffer of at least kMinWindow bytes, so that a walk over box or
// chunk headers that lie close together costs one system call for many headers.
class FileWindow {
 public:
  static constexpr std::size_t kMinWindow = 4096;

  explicit FileWindow(ReadableFile& file) : file_(file) {}

  std::uint64_t size() const { return file_.size(); }

  // Exactly `n` bytes at `pos`, valid until the next call; false when the file has fewer or a read fails.
  bool Bytes(std::uint64_t pos, std::size_t n, std::string_view* out) {
    if (pos < start_ || pos - start_ > buffer_.size() || n > buffer_.size() - (pos - start_)) {
      if (pos > file_.size() || n > file_.size() - pos) return false;
      start_ = pos;
      if (!file_.Read(pos, n > kMinWindow ? n : kMinWindow, &buffer_).ok() || buffer_.size() < n) {
        buffer_.clear();
        return false;
      }
    }
    *out = std::string_view(buffer_).substr(static_cast<std::size_t>(pos - start_), n);
    return true;
  }

 private:
  ReadableFile& file_;
  std::uint64_t start_ = 0;
  std::string buffer_;
};

}  // namespace morva::media

#endif  // MORVA_MEDIA_BYTE_VIEW_H_
