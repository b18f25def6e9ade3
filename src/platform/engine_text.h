#ifndef MORVA_PLATFORM_ENGINE_TEXT_H_
#define MORVA_PLATFORM_ENGINE_TEXT_H_

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace morva {

class TextCodec;

// The code page 932 form of one of the program's own texts, written as a UTF-8 literal in the source.
// Every such text has a code page 932 form; should the codec still refuse one, the result is empty
// rather than UTF-8 bytes that would be taken for code page 932.
std::string Cp932Text(TextCodec& codec, std::string_view utf8);

namespace engine_text_internal {
// The text that snprintf, returning `written`, put into `buffer` of `capacity` bytes; see Format.
std::string FormattedText(const char* buffer, std::size_t capacity, int written);
}  // namespace engine_text_internal

// snprintf over a code page 932 format. No trail byte is '%' (trails are 0x40-0xFC), so the format's
// double-byte characters pass through untouched. The result holds at most 511 bytes: a longer one is
// cut, and never between the two bytes of a character. Empty when snprintf fails.
template <typename... Args>
std::string Format(const std::string& format, Args... args) {
  char buffer[512];
  const int written = std::snprintf(buffer, sizeof(buffer), format.c_str(), args...);
  return engine_text_internal::FormattedText(buffer, sizeof(buffer), written);
}

}  // namespace morva

#endif  // MORVA_PLATFORM_ENGINE_TEXT_H_
