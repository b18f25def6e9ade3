#include "platform/unicode_text.h"

namespace morva::unicode {

bool DecodeUtf8(std::string_view s, std::size_t* pos, char32_t* c) {
  const unsigned char b0 = static_cast<unsigned char>(s[*pos]);
  std::size_t length;
  char32_t value;
  char32_t minimum;
  if (b0 < 0x80) {
    *c = b0;
    ++*pos;
    return true;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, value = b0 & 0x1F, minimum = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, value = b0 & 0x0F, minimum = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, value = b0 & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (s.size() - *pos < length) return false;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(s[*pos + i]);
    if ((b & 0xC0) != 0x80) return false;
    value = value << 6 | (b & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  *c = value;
  *pos += length;
  return true;
}

bool DecodeUtf16(std::u16string_view s, std::size_t* pos, char32_t* c) {
  const char16_t u = s[*pos];
  if (u < 0xD800 || u > 0xDFFF) {
    *c = u;
    ++*pos;
    return true;
  }
  if (u > 0xDBFF || *pos + 1 >= s.size()) return false;
  const char16_t low = s[*pos + 1];
  if (low < 0xDC00 || low > 0xDFFF) return false;
  *c = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
  *pos += 2;
  return true;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendUtf16(char32_t c, std::u16string* out) {
  if (c < 0x10000) {
    out->push_back(static_cast<char16_t>(c));
  } else {
    out->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  }
}

}  // namespace morva::unicode
