#include "platform/text_codec.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include <iconv.h>

#include "platform/cp932.h"

namespace morva {
namespace {

// One iconv conversion direction, opened once and reset before each use.
class IconvDescriptor {
 public:
  IconvDescriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  IconvDescriptor(const IconvDescriptor&) = delete;
  IconvDescriptor& operator=(const IconvDescriptor&) = delete;
  ~IconvDescriptor() {
    if (valid()) iconv_close(cd_);
  }

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of [in, in + in_bytes) and appends the result to *out (a byte string of any char type).
  // glibc stops with EILSEQ on an unmappable character, as no //TRANSLIT or //IGNORE suffix is used.
  template <typename Out>
  Status Convert(const char* in, size_t in_bytes, Out* out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out->clear();
    char buffer[1024];
    char* in_ptr = const_cast<char*>(in);
    size_t in_left = in_bytes;
    while (true) {
      char* out_ptr = buffer;
      size_t out_left = sizeof(buffer);
      const size_t rc = iconv(cd_, in_left > 0 ? &in_ptr : nullptr, &in_left, &out_ptr, &out_left);
      const int err = errno;
      Append(buffer, static_cast<size_t>(out_ptr - buffer), out);
      if (rc != static_cast<size_t>(-1)) {
        if (in_left == 0) {
          // Flush any shift state; none of our encodings has one, but the call is cheap.
          out_ptr = buffer;
          out_left = sizeof(buffer);
          iconv(cd_, nullptr, nullptr, &out_ptr, &out_left);
          Append(buffer, static_cast<size_t>(out_ptr - buffer), out);
          return Status::Ok();
        }
        continue;
      }
      if (err == E2BIG) continue;
      // EILSEQ: no mapping or malformed input; EINVAL: input ends inside a character.
      return Status::Error(EILSEQ, "text conversion");
    }
  }

 private:
  static void Append(const char* bytes, size_t n, std::string* out) { out->append(bytes, n); }
  static void Append(const char* bytes, size_t n, std::u16string* out) {
    // iconv emits whole UTF-16 units except when the buffer splits one; the buffer is even-sized and
    // UTF-16 output never splits a unit, so n is even here.
    const size_t old = out->size();
    out->resize(old + n / 2);
    for (size_t i = 0; i + 1 < n; i += 2) {
      char16_t unit;
      std::memcpy(&unit, bytes + i, 2);
      (*out)[old + i / 2] = unit;
    }
  }

  iconv_t cd_;
};

// Counts of what a strict conversion from Unicode must preserve: one code page 932 character for every
// input character, and ASCII exactly where the input had ASCII.
struct CharCounts {
  std::size_t chars = 0;
  std::size_t ascii = 0;
  bool operator==(const CharCounts&) const = default;
};

// Input already accepted by iconv is well formed, so counting lead bytes (UTF-8) or units that are not
// low surrogates (UTF-16) counts its characters.
CharCounts CountUtf8(std::string_view s) {
  CharCounts n;
  for (unsigned char c : s) {
    if ((c & 0xC0) != 0x80) ++n.chars;
    if (c < 0x80) ++n.ascii;
  }
  return n;
}

CharCounts CountUtf16(std::u16string_view s) {
  CharCounts n;
  for (char16_t u : s) {
    if (u < 0xDC00 || u > 0xDFFF) ++n.chars;
    if (u < 0x80) ++n.ascii;
  }
  return n;
}

CharCounts CountCp932(std::string_view s) {
  CharCounts n;
  for (std::size_t i = 0; i < s.size(); ++n.chars) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (cp932::IsLeadByte(c)) {
      i += 2;
    } else {
      if (c < 0x80) ++n.ascii;
      ++i;
    }
  }
  return n;
}

class IconvTextCodec final : public TextCodec {
 public:
  IconvTextCodec()
      : to_utf8_("UTF-8", "CP932"),
        from_utf8_("CP932", "UTF-8"),
        to_utf16_(kUtf16Host, "CP932"),
        from_utf16_("CP932", kUtf16Host) {}

  bool valid() const {
    return to_utf8_.valid() && from_utf8_.valid() && to_utf16_.valid() && from_utf16_.valid();
  }

  Status Cp932ToUtf8(std::string_view in, std::string* out) override {
    if (IsAscii(in)) {
      out->assign(in);
      return Status::Ok();
    }
    return to_utf8_.Convert(in.data(), in.size(), out);
  }

  Status Utf8ToCp932(std::string_view in, std::string* out) override {
    if (IsAscii(in)) {
      out->assign(in);
      return Status::Ok();
    }
    Status s = from_utf8_.Convert(in.data(), in.size(), out);
    if (s.ok() && !(CountCp932(*out) == CountUtf8(in))) return Unmappable();
    return s;
  }

  Status Cp932ToUtf16(std::string_view in, std::u16string* out) override {
    if (IsAscii(in)) {
      out->assign(in.begin(), in.end());
      return Status::Ok();
    }
    return to_utf16_.Convert(in.data(), in.size(), out);
  }

  Status Utf16ToCp932(std::u16string_view in, std::string* out) override {
    if (IsAscii(in)) {
      out->assign(in.begin(), in.end());
      return Status::Ok();
    }
    Status s = from_utf16_.Convert(reinterpret_cast<const char*>(in.data()), in.size() * sizeof(char16_t), out);
    if (s.ok() && !(CountCp932(*out) == CountUtf16(in))) return Unmappable();
    return s;
  }

 private:
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  static constexpr const char* kUtf16Host = "UTF-16LE";
#else
  static constexpr const char* kUtf16Host = "UTF-16BE";
#endif

  // Code page 932 agrees with UTF-8 and UTF-16 on every character below 0x80, and most names are plain
  // ASCII: skip iconv for them.
  template <typename CharT>
  static bool IsAscii(std::basic_string_view<CharT> s) {
    for (CharT c : s) {
      if (static_cast<std::make_unsigned_t<CharT>>(c) >= 0x80) return false;
    }
    return true;
  }

  // glibc's CP932 converter maps U+00A5 YEN SIGN to '\' and U+203E OVERLINE to '~', and silently drops
  // the tag characters U+E0000-U+E007F. A yen sign in a tag or a host name must not become a path
  // separator and no character may vanish, so a conversion that changed the number of characters or
  // produced ASCII from non-ASCII is refused like any other character without a form.
  static Status Unmappable() { return Status::Error(EILSEQ, "text conversion"); }

  IconvDescriptor to_utf8_;
  IconvDescriptor from_utf8_;
  IconvDescriptor to_utf16_;
  IconvDescriptor from_utf16_;
};

}  // namespace

std::unique_ptr<TextCodec> NewIconvTextCodec() {
  auto codec = std::make_unique<IconvTextCodec>();
  if (!codec->valid()) return nullptr;
  return codec;
}

}  // namespace morva
