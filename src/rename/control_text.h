#ifndef MORVA_RENAME_CONTROL_TEXT_H_
#define MORVA_RENAME_CONTROL_TEXT_H_

// The text transforms of the control statement functions that no other rule has: case mapping and
// class deletion limited to one width, the file-name fix of "\FILFIX<", and the byte ranges and
// insertion points of "\LEFT<", "\MID<", "\RIGHT<", "\INSSTR<" and "\INSRSTR<". Pure functions of code
// page 932 text; a boundary never splits a two-byte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace morva {

// Which characters a case or class function touches.
enum ControlWidth : int {
  kControlHalfWidth = 0x1,  // one-byte characters (selector "s")
  kControlFullWidth = 0x2,  // two-byte characters (selector "d")
  kControlBothWidths = 0x3,
};

// Letters of the selected widths to upper or lower case (ASCII, full-width Latin, Greek, Cyrillic).
std::string MapCase(std::string_view text, bool upper, int widths);

// Drops the characters of the selected widths whose class bit is in `classes`: 1 space, 2 digit,
// 4 letter, 8 other. Full-width spaces, digits and Latin letters count as their one-byte forms.
std::string DeleteClasses(std::string_view text, int classes, int widths);

// The one-byte characters * / : < > ? \ | become their full-width forms, or are dropped when
// `to_full_width` is false. The double quote is not among them.
std::string FixFileChars(std::string_view text, bool to_full_width);

// How a byte boundary that falls on the second byte of a two-byte character moves: by default so that
// the character is taken into the selected bytes, with `exclude_cut` so that it is left out.
struct ByteSelection {
  bool complement = false;   // "N": everything except the selected bytes
  bool exclude_cut = false;  // "C"
};

// The first `n` bytes, the last `n` bytes, or `n` bytes from offset `start` (0-based); all clamped to
// the text.
std::string LeftBytes(std::string_view text, std::size_t n, ByteSelection how);
std::string RightBytes(std::string_view text, std::size_t n, ByteSelection how);
std::string MidBytes(std::string_view text, std::size_t start, std::size_t n, ByteSelection how);

// Inserts `insertion` after the first `n` bytes, or with `from_end` before the last `n` bytes (both
// clamped to the text). A point inside a two-byte character moves past it (forward for the first form,
// back for the second; the other way with `other_way`).
std::string InsertBytes(std::string_view text, std::string_view insertion, std::size_t n, bool from_end,
                        bool other_way);

}  // namespace morva

#endif  // MORVA_RENAME_CONTROL_TEXT_H_
