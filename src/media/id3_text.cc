// Text of ID3 frames: code page 932 bytes, UTF-16 in either byte order, or UTF-8, into code page 932.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "media/id3_reader.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The UTF-16 units of `bytes` up to the first zero unit; an odd last byte is ignored. A leading mark
// decides the byte order and is dropped; without one, `big_endian_default` does.
std::u16string Utf16Units(std::string_view bytes, bool big_endian_default) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size() / 2;
  std::size_t i = 0;
  bool big_endian = big_endian_default;
  if (n > 0 && p[0] == 0xFF && p[1] == 0xFE) {
    big_endian = false;
    i = 1;
  } else if (n > 0 && p[0] == 0xFE && p[1] == 0xFF) {
    big_endian = true;
    i = 1;
  }
  std::u16string units;
  units.reserve(n - i);
  for (; i < n; ++i) {
    const unsigned char a = p[2 * i], b = p[2 * i + 1];
    const char16_t u = big_endian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>((b << 8) | a);
    if (u == 0) break;
    units.push_back(u);
  }
  return units;
}

// The UTF-16 form of UTF-8 `bytes` up to the first zero byte. A malformed sequence (a stray
// continuation byte, a cut or overlong sequence, an encoded surrogate, a value past U+10FFFF) becomes
// one replacement character per byte it consumed, so a damaged frame still reads as far as it is sound.
std::u16string Utf8ToUnits(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::u16string units;
  units.reserve(n);
  std::size_t i = 0;
  while (i < n && p[i] != 0) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      units.push_back(b);
      ++i;
      continue;
    }
    std::size_t len = 0;
    std::uint32_t cp = 0, min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4, cp = b & 0x07, min = 0x10000;
    }
    bool ok = len != 0 && i + len <= n;
    for (std::size_t k = 1; ok && k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      units.push_back(kReplacement);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return units;
}

// Code page 932 text of host-order UTF-16 `units`. The strict codec fails a whole conversion for one
// character without a form, so on failure the text is converted character by character and every
// character that fails (an unpaired surrogate among them) becomes "?", as the Windows conversion does.
std::string UnitsToCp932(TextCodec& codec, std::u16string_view units) {
  std::string out;
  bool ascii = true;
  for (char16_t u : units) ascii = ascii && u < 0x80;
  if (ascii) {
    out.reserve(units.size());
    for (char16_t u : units) out.push_back(static_cast<char>(u));
    return out;
  }
  if (codec.Utf16ToCp932(units, &out).ok()) return out;

  out.clear();
  std::string one;
  for (std::size_t i = 0; i < units.size();) {
    std::size_t len = 1;
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) len = 2;
    if (units[i] < 0x80) {
      out.push_back(static_cast<char>(units[i]));
    } else if (codec.Utf16ToCp932(units.substr(i, len), &one).ok()) {
      out += one;
    } else {
      out.push_back('?');
    }
    i += len;
  }
  return out;
}

}  // namespace

std::string DecodeId3Text(TextCodec& codec, int encoding, std::string_view bytes) {
  switch (encoding) {
    case 1:
      return UnitsToCp932(codec, Utf16Units(bytes, /*big_endian_default=*/false));
    case 2:
      return UnitsToCp932(codec, Utf16Units(bytes, /*big_endian_default=*/true));
    case 3:
      return UnitsToCp932(codec, Utf8ToUnits(bytes));
    default: {
      // Code page 932 bytes (and any encoding byte a writer made up) are taken as they are, up to the
      // terminator a C string would stop at.
      const std::size_t end = bytes.find('\0');
      return std::string(bytes.substr(0, end));
    }
  }
}

}  // namespace morva
