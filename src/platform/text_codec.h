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

// Exact conversion between code page 932 (the engine's text) and Unicode: text converted from Unicode
// converts back to exactly the same characters. A character without such a form, or a malformed input
// sequence, fails the whole conversion with EILSEQ: no "best fit" and no replacement character, ever.
// Every input character becomes exactly one output character, and ASCII only ever comes from ASCII.
//
// Characters that code page 932 cannot hold exactly (no form, or one shared with another character, as
// U+2212 shares 0x817C with U+FF0D) take codes of the user-defined area (lead bytes 0xF0-0xF9) from a
// UserAreaTable when the codec has one; giving a new code can then fail with ENOSPC (none left) or the
// table file's error. Without a table those characters fail, and the user-defined area stands for the
// private-use characters U+E000-U+E757, as it does for a code the table has not given.
//
// An implementation is not safe for concurrent use; give each thread its own (they may share a table).
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

class UserAreaTable;

// The host implementation: the character tables of glibc iconv's "CP932" converter, read once when the
// codec is made, with `table` (may be null; must outlive the codec) for the characters outside them.
// Returns null only when the C library has no CP932 converter at all.
std::unique_ptr<TextCodec> NewIconvTextCodec(UserAreaTable* table = nullptr);

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
