#ifndef MORVA_PLATFORM_REGEX_SERVICE_H_
#define MORVA_PLATFORM_REGEX_SERVICE_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace morva {

class TextCodec;

// Regular-expression replacement on code page 932 text. The texts are matched in their Unicode form, so
// a match never splits a two-byte character. An implementation may keep the last compiled pattern
// between calls and is not safe for concurrent use; give each thread its own.
class RegexService {
 public:
  // What Replace returns.
  static constexpr int kOk = 0;
  static constexpr int kFailed = -2;
  static constexpr int kTooLong = -3;

  // The longest result Replace builds, in bytes of its UTF-8 form. Far more than any name needs; it
  // bounds a replacement whose markers repeat the text ("$`" for every match of an empty pattern), which
  // would otherwise grow with the square of a long text.
  static constexpr std::size_t kMaxResult = 64 * 1024;

  RegexService() = default;
  RegexService(const RegexService&) = delete;
  RegexService& operator=(const RegexService&) = delete;
  virtual ~RegexService() = default;

  // Replaces every match of `pattern` in `text` by `replacement` and stores the whole result in *out
  // (all three texts and the result are code page 932). Letter case is ignored when `ignore_case` is
  // set. In the replacement, "$1".."$99" stand for a captured group ("$nn" is read as two digits when
  // the pattern has that many groups, else as one digit followed by a literal digit; a group the match
  // did not reach gives nothing), "$&" for the whole match, "$`" for the text before it, "$'" for the
  // text after it, and "$$" for one "$"; any other "$" is literal. Returns kOk; kTooLong when the result
  // would pass kMaxResult; or kFailed when the pattern is invalid, the matching gives up at its work
  // limit (a pattern that would backtrack for an unreasonable time), or a text has no form in the other
  // encoding. *out is left as it was on any failure.
  virtual int Replace(std::string_view text, std::string_view pattern, std::string_view replacement,
                      bool ignore_case, std::string* out) = 0;

  // True when Replace would accept `pattern` (code page 932) as a pattern.
  virtual bool Compiles(std::string_view pattern, bool ignore_case) = 0;
};

// The host implementation: PCRE2 in UTF mode on the UTF-8 form of the texts, converted with `codec`
// (which must outlive the service and is used only through it while a call runs).
std::unique_ptr<RegexService> NewPcre2RegexService(TextCodec* codec);

// Forwards every call to another service; tests derive from it to make chosen calls fail.
class RegexServiceWrapper : public RegexService {
 public:
  explicit RegexServiceWrapper(RegexService* target) : target_(target) {}

  int Replace(std::string_view text, std::string_view pattern, std::string_view replacement, bool ignore_case,
              std::string* out) override {
    return target_->Replace(text, pattern, replacement, ignore_case, out);
  }
  bool Compiles(std::string_view pattern, bool ignore_case) override {
    return target_->Compiles(pattern, ignore_case);
  }

 private:
  RegexService* target_;
};

// A service for tests that fails chosen replacements before they reach the target, as a service error
// would. A fault matches the calls whose text contains `text_part` (empty: every call) and fires
// `times` times (for ever when negative). Calls are counted, failed or not.
class FaultInjectingRegexService : public RegexServiceWrapper {
 public:
  explicit FaultInjectingRegexService(RegexService* target) : RegexServiceWrapper(target) {}

  void FailReplaceOn(std::string_view text_part, int times = -1) {
    fault_part_ = std::string(text_part);
    fault_times_ = times;
  }
  void ClearFaults() { fault_times_ = 0; }
  int replace_calls() const { return replace_calls_; }

  int Replace(std::string_view text, std::string_view pattern, std::string_view replacement, bool ignore_case,
              std::string* out) override {
    ++replace_calls_;
    if (fault_times_ != 0 && text.find(fault_part_) != std::string_view::npos) {
      if (fault_times_ > 0) --fault_times_;
      return kFailed;
    }
    return RegexServiceWrapper::Replace(text, pattern, replacement, ignore_case, out);
  }

 private:
  std::string fault_part_;
  int fault_times_ = 0;
  int replace_calls_ = 0;
};

}  // namespace morva

#endif  // MORVA_PLATFORM_REGEX_SERVICE_H_
