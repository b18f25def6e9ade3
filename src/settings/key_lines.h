#ifndef MORVA_SETTINGS_KEY_LINES_H_
#define MORVA_SETTINGS_KEY_LINES_H_

#include <string>
#include <string_view>

#include "platform/cp932.h"

// Reading the key lines ("KEY = value") that the settings file and the whole-job presets share.
namespace morva {

struct TextLine {
  std::string_view text;  // without its break
  bool ended = false;     // there was a line feed after it
};

// Takes the next line from *rest; false at the end of the bytes. CR LF and LF end a line.
inline bool NextLine(std::string_view* rest, TextLine* line) {
  if (rest->empty()) return false;
  const std::size_t lf = rest->find('\n');
  if (lf == std::string_view::npos) {
    line->text = *rest;
    line->ended = false;
    rest->remove_prefix(rest->size());
    return true;
  }
  line->text = rest->substr(0, lf);
  line->ended = true;
  if (!line->text.empty() && line->text.back() == '\r') line->text.remove_suffix(1);
  rest->remove_prefix(lf + 1);
  return true;
}

// Upper-cases the single-byte letters of a key; the second byte of a double-byte character is left
// alone even when it looks like a letter.
inline std::string UpperKey(std::string_view key) {
  std::string upper(key);
  for (std::size_t i = 0; i < upper.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(upper[i]);
    if (cp932::IsLeadByte(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      upper[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return upper;
}

}  // namespace morva

#endif  // MORVA_SETTINGS_KEY_LINES_H_
