#ifndef MORVA_PLATFORM_TEXT_CODEC_H_
#define MORVA_PLATFORM_TEXT_CODEC_H_

#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace morva {

// Strict conversion between code page 932 (the engine's text) and Unicode. A character that has no form
// in the target encoding, or a malformed input sequence, fails the whole conversion with EILSEQ: no
// "best fit" and no replacement character, ever. On failure *out is left in an unspecified state.
//
// An implementation keeps conversion state between calls and is not safe for concurrent use; give each
// thread its own.
class TextCodec {
 public:
  TextCodec() = default;
  TextCodec(const TextCodec&) = delete;
  TextCodec& operator=(const TextCodec&) = delete;
  virtual ~TextCodec() = default;

  // Code page 932 bytes -> UTF-8.
  virtual Status Cp932ToUtf8(std::string_view in, std::string* out) = 0;

  // UTF-8 -> code page 932 bytes. Invalid UTF-8 fails with EILSEQ.
  virtual Status Utf8ToCp932(std::string_view in, std::string* out) = 0;

  // Code page 932 bytes -> UTF-16 in host byte order, without a byte-order mark.
  virtual Status Cp932ToUtf16(std::string_view in, std::u16string* out) = 0;

  // UTF-16 in host byte order (no byte-order mark expected; unpaired surrogates fail) -> code page 932.
  virtual Status Utf16ToCp932(std::u16string_view in, std::string* out) = 0;
};

// The host implementation: glibc iconv with its "CP932" converter. Returns null only when the C
// library has no CP932 converter at all.
std::unique_ptr<TextCodec> NewIconvTextCodec();

// Forwards every call to another codec; tests derive from it to make chosen calls fail.
class TextCodecWrapper : public TextCodec {
 public:
  explicit TextCodecWrapper(TextCodec* target) : target_(target) {}

  Status Cp932ToUtf8(std::string_view in, std::string* out) override { return target_->Cp932ToUtf8(in, out); }
  Status Utf8ToCp932(std::string_view in, std::string* out) override { return target_->Utf8ToCp932(in, out); }
  Status Cp932ToUtf16(std::string_view in, std::u16string* out) override {
    return target_->Cp932ToUtf16(in, out);
  }
  Status Utf16ToCp932(std::u16string_view in, std::string* out) override {
    return target_->Utf16ToCp932(in, out);
  }

 protected:
  TextCodec* target() const { return target_; }

 private:
  TextCodec* target_;
};

}  // namespace morva

#endif  // MORVA_PLATFORM_TEXT_CODEC_H_
