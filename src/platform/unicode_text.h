#ifndef MORVA_PLATFORM_UNICODE_TEXT_H_
#define MORVA_PLATFORM_UNICODE_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

// One Unicode character at a time in UTF-8 and UTF-16, strictly: what the codec and the table of
// user-defined codes read and write.
namespace morva::unicode {

// Decodes one UTF-8 sequence at `*pos` (< s.size()), advancing it; false for a malformed, overlong or cut
// sequence, an encoded surrogate, or a value above U+10FFFF.
bool DecodeUtf8(std::string_view s, std::size_t* pos, char32_t* c);

// Decodes one UTF-16 character at `*pos` (< s.size()), advancing it; false for an unpaired surrogate.
bool DecodeUtf16(std::u16string_view s, std::size_t* pos, char32_t* c);

// Appends a Unicode scalar value.
void AppendUtf8(char32_t c, std::string* out);
void AppendUtf16(char32_t c, std::u16string* out);

}  // namespace morva::unicode

#endif  // MORVA_PLATFORM_UNICODE_TEXT_H_
