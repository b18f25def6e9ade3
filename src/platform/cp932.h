#ifndef MORVA_PLATFORM_CP932_H_
#define MORVA_PLATFORM_CP932_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Byte-level helpers for code page 932 (Shift-JIS) text, the engine's string form. Bytes 0x81-0x9F and
// 0xE0-0xFC lead a two-byte character; the byte after a lead byte is its trail, whatever its value, so
// a trail is never taken for a separator ('\\') or a wildcard. Whether a byte is a lead or a trail can
// only be known by scanning from the start of the string.
namespace morva::cp932 {

inline constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// True when the byte at `offset` is the lead byte of a two-byte character (scanning from the start).
// A lead byte at the very end of the string (a cut character) still counts as a lead.
bool IsLeadAt(std::string_view s, std::size_t offset);

// True when the byte at `offset` is the second byte of a two-byte character (scanning from the start).
bool IsTrailAt(std::string_view s, std::size_t offset);

// The length in bytes (1 or 2) of the character starting at `offset`, which must be a character
// boundary; 1 for a lead byte cut off by the end of the string, 0 at or past the end.
std::size_t CharLengthAt(std::string_view s, std::size_t offset);

// The first occurrence of `needle` in `haystack` that starts at a character boundary at or after `from`
// (itself a boundary), or npos. A match covers whole characters: it also ends at a boundary, so a needle
// ending in a cut lead byte never matches the first half of a two-byte character (replacing such a
// match would leave a stray trail byte, which could read as '\\'). With `ignore_case`, letters are
// compared through ToUpper (ASCII and the full-width Latin, Greek and Cyrillic letters). An empty needle
// matches at `from`; `from` past the end gives npos. Never allocates.
std::size_t Find(std::string_view haystack, std::string_view needle, std::size_t from = 0,
                 bool ignore_case = false);

// One character as a code: a single byte as itself, a two-byte character as (lead << 8) | trail.
using Char = std::uint16_t;

// Case mapping of one character: ASCII letters, full-width Latin letters (ａ-ｚ <-> Ａ-Ｚ), full-width
// Greek and Cyrillic letters. Every other character maps to itself.
Char ToUpper(Char c);
Char ToLower(Char c);

// Orders two strings as NTFS lists names: character by character through ToUpper, then the shorter
// first. Negative, zero or positive like strcmp. Used to sort directory entries stably.
int CompareIgnoreCase(std::string_view a, std::string_view b);

// Reads the character at `offset` (a boundary) as a code; *length receives 1 or 2 (a lead byte cut off
// by the end reads as that byte alone). At or past the end it gives 0 with *length 0.
Char CharAt(std::string_view s, std::size_t offset, std::size_t* length);

// Appends the bytes of one character code.
void AppendChar(Char c, std::string* out);

}  // namespace morva::cp932

#endif  // MORVA_PLATFORM_CP932_H_
