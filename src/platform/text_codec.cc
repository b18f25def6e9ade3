#include "platform/text_codec.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

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
    if (IsAscii(in)) return CopyAscii(in, out);
    return to_utf8_.Convert(in.data(), in.size(), out);
  }

  Status Utf8ToCp932(std::string_view in, std::string* out) override {
    if (IsAscii(in)) return CopyAscii(in, out);
    return from_utf8_.Convert(in.data(), in.size(), out);
  }

  Status Cp932ToUtf16(std::string_view in, std::u16string* out) override {
    return to_utf16_.Convert(in.data(), in.size(), out);
  }

  Status Utf16ToCp932(std::u16string_view in, std::string* out) override {
    return from_utf16_.Convert(reinterpret_cast<const char*>(in.data()), in.size() * sizeof(char16_t), out);
  }

 private:
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  static constexpr const char* kUtf16Host = "UTF-16LE";
#else
  static constexpr const char* kUtf16Host = "UTF-16BE";
#endif

  // Code page 932 and UTF-8 agree on every byte below 0x80, and most names are plain ASCII: skip iconv.
  static bool IsAscii(std::string_view s) {
    for (unsigned char c : s) {
      if (c >= 0x80) return false;
    }
    return true;
  }
  static Status CopyAscii(std::string_view in, std::string* out) {
    out->assign(in);
    return Status::Ok();
  }

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
