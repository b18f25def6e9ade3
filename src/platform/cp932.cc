#include "platform/cp932.h"

#include <cstring>

namespace morva::cp932 {
namespace {

inline unsigned char ByteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// True when `offset` (at most s.size()) starts a character. Any byte outside the lead range ends a
// character (it is a single-byte character or a trail), so only the run of lead-range bytes directly
// before `offset` matters: those pair up from the start of the run, and `offset` is a boundary exactly
// when the run has even length. This keeps the test short for the usual case of a name full of kanji
// instead of rescanning from the start of the string.
bool IsBoundary(std::string_view s, std::size_t offset) {
  std::size_t run = 0;
  while (run < offset && IsLeadByte(ByteAt(s, offset - run - 1))) ++run;
  return run % 2 == 0;
}

// True when the last character of `s` is a lead byte with no trail.
bool EndsWithCutLead(std::string_view s) {
  return !s.empty() && IsLeadAt(s, s.size() - 1);
}

// Compares the characters of `needle` with those of `haystack` from `at` through ToUpper. Case mapping
// keeps the byte length of a character, so equal characters advance both sides by the same amount and
// the match ends on a boundary of `haystack`.
bool MatchesIgnoringCase(std::string_view haystack, std::size_t at, std::string_view needle) {
  std::size_t q = 0;
  while (q < needle.size()) {
    if (at >= haystack.size()) return false;
    std::size_t la = 0;
    std::size_t lb = 0;
    const Char a = CharAt(haystack, at, &la);
    const Char b = CharAt(needle, q, &lb);
    if (a != b && ToUpper(a) != ToUpper(b)) return false;
    at += la;
    q += lb;
  }
  return true;
}

}  // namespace

bool IsLeadAt(std::string_view s, std::size_t offset) {
  if (offset >= s.size()) return false;
  return IsLeadByte(ByteAt(s, offset)) && IsBoundary(s, offset);
}

bool IsTrailAt(std::string_view s, std::size_t offset) {
  if (offset >= s.size()) return false;
  return !IsBoundary(s, offset);
}

std::size_t CharLengthAt(std::string_view s, std::size_t offset) {
  if (offset >= s.size()) return 0;
  return (IsLeadByte(ByteAt(s, offset)) && offset + 1 < s.size()) ? 2 : 1;
}

std::size_t Find(std::string_view haystack, std::string_view needle, std::size_t from, bool ignore_case) {
  if (from > haystack.size()) return std::string_view::npos;
  if (needle.empty()) return from;
  const std::size_t n = needle.size();
  if (ignore_case) {
    for (std::size_t i = from; i + n <= haystack.size(); i += CharLengthAt(haystack, i)) {
      if (MatchesIgnoringCase(haystack, i, needle)) return i;
    }
    return std::string_view::npos;
  }
  // A byte-equal match from a boundary parses exactly like the needle, so it ends on a boundary unless
  // the needle's last character is a cut lead byte that the haystack continues with a trail.
  const bool cut = EndsWithCutLead(needle);
  for (std::size_t i = from; i + n <= haystack.size(); i += CharLengthAt(haystack, i)) {
    if (haystack[i] != needle[0]) continue;
    if (std::memcmp(haystack.data() + i, needle.data(), n) != 0) continue;
    if (cut && i + n != haystack.size()) continue;
    return i;
  }
  return std::string_view::npos;
}

// The code ranges below are those of code page 932. Greek (row 0x83) leaves out final sigma, so both
// cases are contiguous 24-letter runs. Cyrillic (row 0x84) lists Ё/ё in alphabetical position; the
// lower-case run skips 0x847F, which is never a trail byte, so it splits into two runs with different
// offsets to the upper case.
Char ToUpper(Char c) {
  if (c >= 'a' && c <= 'z') return static_cast<Char>(c - 0x20);
  if (c < 0x8281) return c;
  if (c <= 0x829A) return static_cast<Char>(c - 0x21);                    // ａ-ｚ
  if (c >= 0x83BF && c <= 0x83D6) return static_cast<Char>(c - 0x20);    // α-ω
  if (c >= 0x8470 && c <= 0x847E) return static_cast<Char>(c - 0x30);    // а-н
  if (c >= 0x8480 && c <= 0x8491) return static_cast<Char>(c - 0x31);    // о-я
  return c;
}

Char ToLower(Char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<Char>(c + 0x20);
  if (c < 0x8260) return c;
  if (c <= 0x8279) return static_cast<Char>(c + 0x21);                    // Ａ-Ｚ
  if (c >= 0x839F && c <= 0x83B6) return static_cast<Char>(c + 0x20);    // Α-Ω
  if (c >= 0x8440 && c <= 0x844E) return static_cast<Char>(c + 0x30);    // А-Н
  if (c >= 0x844F && c <= 0x8460) return static_cast<Char>(c + 0x31);    // О-Я
  return c;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    std::size_t la = 0;
    std::size_t lb = 0;
    const Char ca = ToUpper(CharAt(a, i, &la));
    const Char cb = ToUpper(CharAt(b, j, &lb));
    if (ca != cb) return ca < cb ? -1 : 1;
    i += la;
    j += lb;
  }
  // Equal characters have equal lengths, so the side with bytes left is the longer string.
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

Char CharAt(std::string_view s, std::size_t offset, std::size_t* length) {
  const std::size_t n = CharLengthAt(s, offset);
  *length = n;
  if (n == 0) return 0;
  if (n == 1) return ByteAt(s, offset);
  return static_cast<Char>((ByteAt(s, offset) << 8) | ByteAt(s, offset + 1));
}

void AppendChar(Char c, std::string* out) {
  if (c > 0xFF) out->push_back(static_cast<char>(c >> 8));
  out->push_back(static_cast<char>(c & 0xFF));
}

}  // namespace morva::cp932
