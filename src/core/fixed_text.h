#ifndef MORVA_CORE_FIXED_TEXT_H_
#define MORVA_CORE_FIXED_TEXT_H_

#include <array>
#include <cstddef>
#include <string_view>

namespace morva {

// A text field of a settings record: code page 932 bytes in a fixed array of `Capacity` bytes that
// always holds a terminating NUL, so at most Capacity - 1 bytes of text. The capacity is part of the
// stored format (the key rules and the user interface both rely on it), so a text that does not fit is
// refused rather than cut. A plain value: copying copies the bytes.
template <std::size_t Capacity>
class FixedText {
  static_assert(Capacity >= 1, "room for the terminating NUL is needed");

 public:
  static constexpr std::size_t kMaxLength = Capacity - 1;

  constexpr FixedText() = default;

  // Stores `text`. Returns false and leaves the field unchanged when `text` is longer than kMaxLength or
  // holds a NUL byte (which the NUL-terminated form could not keep).
  bool Assign(std::string_view text) {
    if (text.size() > kMaxLength || text.find('\0') != std::string_view::npos) return false;
    bytes_.fill('\0');  // so that equal texts are equal records byte for byte
    text.copy(bytes_.data(), text.size());
    return true;
  }

  void Clear() { bytes_.fill('\0'); }

  std::string_view view() const { return std::string_view(bytes_.data()); }
  const char* c_str() const { return bytes_.data(); }
  std::size_t size() const { return view().size(); }
  bool empty() const { return bytes_[0] == '\0'; }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

 private:
  std::array<char, Capacity> bytes_{};
};

}  // namespace morva

#endif  // MORVA_CORE_FIXED_TEXT_H_
