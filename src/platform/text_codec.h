#ifndef MORVA_PLATFORM_TEXT_CODEC_H_
#define MORVA_PLATFORM_TEXT_CODEC_H_

#include <array>
#include <cerrno>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace morva {

// Strict conversion between code page 932 (the engine's text) and Unicode. A character that has no form
// in the target encoding, or a malformed input sequence, fails the whole conversion with EILSEQ: no
// "best fit" and no replacement character, ever. Every input character becomes exactly one output
// character, and ASCII only ever comes from ASCII. Some Unicode characters share one code page 932 form
// (U+2212 and U+FF0D are both 0x817C); they convert, but back to one of them only, so a caller that needs
// the same bytes again must convert back and compare. On failure *out is left in an unspecified state.
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

// The conversions a fault can be injected into.
enum class CodecOp { kCp932ToUtf8, kUtf8ToCp932, kCp932ToUtf16, kUtf16ToCp932, kCount };

// A codec for tests that fails chosen calls before they reach the target, as a character without a
// form would. A fault matches an operation and a part of its input (empty matches every input: "fail
// the next N calls"); byte parts apply to the code page 932 and UTF-8 inputs, UTF-16 parts to UTF-16
// inputs. It fires `times` times (or for ever when `times` is negative). Calls are counted per
// operation, failed or not.
class FaultInjectingTextCodec : public TextCodecWrapper {
 public:
  explicit FaultInjectingTextCodec(TextCodec* target) : TextCodecWrapper(target) {}

  void FailOn(CodecOp op, std::string_view input_part, int code = EILSEQ, int times = -1) {
    faults_.push_back(Fault{op, std::string(input_part), {}, code, times});
  }
  void FailOn(CodecOp op, std::u16string_view input_part, int code = EILSEQ, int times = -1) {
    faults_.push_back(Fault{op, {}, std::u16string(input_part), code, times});
  }
  void ClearFaults() { faults_.clear(); }
  int calls(CodecOp op) const { return calls_[static_cast<std::size_t>(op)]; }

  Status Cp932ToUtf8(std::string_view in, std::string* out) override {
    if (Status s = Check(CodecOp::kCp932ToUtf8, in); !s.ok()) return s;
    return TextCodecWrapper::Cp932ToUtf8(in, out);
  }
  Status Utf8ToCp932(std::string_view in, std::string* out) override {
    if (Status s = Check(CodecOp::kUtf8ToCp932, in); !s.ok()) return s;
    return TextCodecWrapper::Utf8ToCp932(in, out);
  }
  Status Cp932ToUtf16(std::string_view in, std::u16string* out) override {
    if (Status s = Check(CodecOp::kCp932ToUtf16, in); !s.ok()) return s;
    return TextCodecWrapper::Cp932ToUtf16(in, out);
  }
  Status Utf16ToCp932(std::u16string_view in, std::string* out) override {
    if (Status s = Check(CodecOp::kUtf16ToCp932, in); !s.ok()) return s;
    return TextCodecWrapper::Utf16ToCp932(in, out);
  }

 private:
  struct Fault {
    CodecOp op;
    std::string part;
    std::u16string part16;
    int code;
    int times;
  };

  template <typename CharT>
  Status Check(CodecOp op, std::basic_string_view<CharT> in) {
    ++calls_[static_cast<std::size_t>(op)];
    for (Fault& f : faults_) {
      if (f.op != op || f.times == 0) continue;
      if (!Matches(f, in)) continue;
      if (f.times > 0) --f.times;
      return Status::Error(f.code, "injected fault");
    }
    return Status::Ok();
  }

  // A fault with a part of the other kind of text never matches; one with no part matches everything.
  static bool Matches(const Fault& f, std::string_view in) {
    if (!f.part16.empty()) return false;
    return f.part.empty() || in.find(f.part) != std::string_view::npos;
  }
  static bool Matches(const Fault& f, std::u16string_view in) {
    if (!f.part.empty()) return false;
    return f.part16.empty() || in.find(f.part16) != std::u16string_view::npos;
  }

  std::vector<Fault> faults_;
  std::array<int, static_cast<std::size_t>(CodecOp::kCount)> calls_{};
};

}  // namespace morva

#endif  // MORVA_PLATFORM_TEXT_CODEC_H_
