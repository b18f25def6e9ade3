#include "platform/text_codec.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include <iconv.h>

#include "platform/cp932.h"
#include "platform/unicode_text.h"
#include "platform/user_area_table.h"

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

  // Converts all of [in, in + in_bytes) into *out (a string of any char type), replacing its contents.
  // glibc stops with EILSEQ on an unmappable character, as no //TRANSLIT or //IGNORE suffix is used; the
  // few lossy mappings it makes without saying so are caught by the codec below.
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

constexpr char16_t kNoCharacter = 0xFFFF;  // a noncharacter: no code page 932 code stands for it
constexpr std::size_t kCodeSpace = 0x10000;

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr const char* kUtf16Host = "UTF-16LE";
#else
constexpr const char* kUtf16Host = "UTF-16BE";
#endif

Status Unmappable() { return Status::Error(EILSEQ, "text conversion"); }

// Conversion by two tables read from the C library's converter when the codec is made: code page 932
// code -> character, and character -> the code that converts back to exactly that character. The C
// library also maps a few characters onto a code that comes back as another one (U+2212 and U+FF0D both
// to 0x817C, U+00A5 to '\', U+203E to '~') and drops the tag characters U+E0000-U+E007F; the second table
// holds none of those, so no name changes when it goes through the engine and back, and a yen sign in
// a tag never becomes a path separator.
class IconvTextCodec final : public TextCodec {
 public:
  explicit IconvTextCodec(UserAreaTable* table)
      : table_(table), to_unicode_(kCodeSpace, kNoCharacter), from_unicode_(kCodeSpace, 0) {}

  // Reads the tables; false when the C library has no CP932 converter.
  bool Load() {
    IconvDescriptor to_utf16(kUtf16Host, "CP932");
    IconvDescriptor from_utf16("CP932", kUtf16Host);
    if (!to_utf16.valid() || !from_utf16.valid()) return false;
    std::u16string unicode;
    const auto learn = [&](cp932::Char code) {
      std::string bytes;
      cp932::AppendChar(code, &bytes);
      // ASCII only ever comes from ASCII.
      if (to_utf16.Convert(bytes.data(), bytes.size(), &unicode).ok() && unicode.size() == 1 && unicode[0] >= 0x80) {
        to_unicode_[code] = unicode[0];
      }
    };
    // ASCII stands for itself both ways: it takes the fast path and is not in the tables.
    for (unsigned b = 0x80; b < 0x100; ++b) {
      if (!cp932::IsLeadByte(static_cast<unsigned char>(b))) learn(static_cast<cp932::Char>(b));
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail != 0x7F) learn(static_cast<cp932::Char>(lead << 8 | trail));
      }
    }
    for (std::size_t code = 0x80; code < kCodeSpace; ++code) {
      const char16_t c = to_unicode_[code];
      if (c == kNoCharacter || from_unicode_[c] != 0) continue;
      // The user-defined area belongs to the table, whatever characters the converter puts there.
      if (user_area::IsUserCode(static_cast<cp932::Char>(code))) continue;
      std::string bytes;
      if (!from_utf16.Convert(reinterpret_cast<const char*>(&c), sizeof(c), &bytes).ok()) continue;
      std::size_t length = 0;
      const cp932::Char back = cp932::CharAt(bytes, 0, &length);
      if (length == bytes.size() && to_unicode_[back] == c) from_unicode_[c] = back;
    }
    return true;
  }

  Status Cp932ToUtf8(std::string_view in, std::string* out) override {
    if (IsAscii(in)) {
      out->assign(in);
      return Status::Ok();
    }
    out->clear();
    return Decode(in, [out](char32_t c) { unicode::AppendUtf8(c, out); });
  }

  Status Cp932ToUtf16(std::string_view in, std::u16string* out) override {
    if (IsAscii(in)) {
      out->assign(in.begin(), in.end());
      return Status::Ok();
    }
    out->clear();
    return Decode(in, [out](char32_t c) { unicode::AppendUtf16(c, out); });
  }

  Status Utf8ToCp932(std::string_view in, std::string* out) override {
    if (IsAscii(in)) {
      out->assign(in);
      return Status::Ok();
    }
    out->clear();
    for (std::size_t i = 0; i < in.size();) {
      char32_t c;
      if (!unicode::DecodeUtf8(in, &i, &c)) return Unmappable();
      if (Status s = Encode(c, out); !s.ok()) return s;
    }
    return Status::Ok();
  }

  Status Utf16ToCp932(std::u16string_view in, std::string* out) override {
    if (IsAscii(in)) {
      out->assign(in.begin(), in.end());
      return Status::Ok();
    }
    out->clear();
    for (std::size_t i = 0; i < in.size();) {
      char32_t c;
      if (!unicode::DecodeUtf16(in, &i, &c)) return Unmappable();
      if (Status s = Encode(c, out); !s.ok()) return s;
    }
    return Status::Ok();
  }

 private:
  // Code page 932 agrees with UTF-8 and UTF-16 on every character below 0x80, and most names are plain
  // ASCII: they need no tables.
  template <typename CharT>
  static bool IsAscii(std::basic_string_view<CharT> s) {
    for (CharT c : s) {
      if (static_cast<std::make_unsigned_t<CharT>>(c) >= 0x80) return false;
    }
    return true;
  }

  template <typename Append>
  Status Decode(std::string_view in, Append append) {
    for (std::size_t i = 0; i < in.size();) {
      std::size_t length = 0;
      const cp932::Char code = cp932::CharAt(in, i, &length);
      if (length == 1 && cp932::IsLeadByte(static_cast<unsigned char>(code))) return Unmappable();  // cut
      i += length;
      if (code < 0x80) {
        append(code);
        continue;
      }
      if (table_ != nullptr && user_area::IsUserCode(code)) {
        // An entry for a character that has a form of its own could only come from an edit of the file:
        // that code would not come back from the character, so it is not taken.
        if (const char32_t given = table_->CharacterOf(code); given != 0 && !HasForm(given)) {
          append(given);
          continue;
        }
      }
      const char16_t c = to_unicode_[code];
      if (c == kNoCharacter) return Unmappable();
      append(c);
    }
    return Status::Ok();
  }

  bool HasForm(char32_t c) const { return c < 0x80 || (c < kCodeSpace && from_unicode_[c] != 0); }

  Status Encode(char32_t c, std::string* out) {
    if (c < 0x80) {
      out->push_back(static_cast<char>(c));
      return Status::Ok();
    }
    if (c < kCodeSpace && from_unicode_[c] != 0) {
      cp932::AppendChar(from_unicode_[c], out);
      return Status::Ok();
    }
    // A private-use character keeps the code it had before there was a table, while that code is free.
    constexpr char32_t kFirstPrivate = 0xE000;
    const cp932::Char own = c >= kFirstPrivate && c < kFirstPrivate + user_area::kCodeCount
                                ? user_area::CodeAt(c - kFirstPrivate)
                                : 0;
    cp932::Char code = own;
    if (table_ != nullptr) {
      if (Status s = table_->CodeOf(c, own, &code); !s.ok()) return s;
    }
    if (code == 0) return Unmappable();
    cp932::AppendChar(code, out);
    return Status::Ok();
  }

  UserAreaTable* const table_;
  std::vector<char16_t> to_unicode_;
  std::vector<cp932::Char> from_unicode_;
};

}  // namespace

std::unique_ptr<TextCodec> NewIconvTextCodec(UserAreaTable* table) {
  auto codec = std::make_unique<IconvTextCodec>(table);
  if (!codec->Load()) return nullptr;
  return codec;
}

}  // namespace morva
