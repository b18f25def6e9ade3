#include "platform/regex_service.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstdint>

#include "platform/text_codec.h"

namespace morva {
namespace {

// Work limits of one match attempt. A pattern that nests repetitions can backtrack for longer than
// anyone waits ("(a*)*b" over a few hundred letters); these end such an attempt within milliseconds
// while leaving ample room for what a name of at most 260 bytes needs from an ordinary pattern.
constexpr std::uint32_t kMatchLimit = 1'000'000;
constexpr std::uint32_t kDepthLimit = 10'000;

struct CompileContextDeleter {
  void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};
struct CodeDeleter {
  void operator()(pcre2_code* p) const { pcre2_code_free(p); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
struct MatchContextDeleter {
  void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
using CompileContextPtr = std::unique_ptr<pcre2_compile_context, CompileContextDeleter>;
using CodePtr = std::unique_ptr<pcre2_code, CodeDeleter>;
using MatchDataPtr = std::unique_ptr<pcre2_match_data, MatchDataDeleter>;
using MatchContextPtr = std::unique_ptr<pcre2_match_context, MatchContextDeleter>;

// The length of the UTF-8 sequence that starts with `lead` (the subject is valid UTF-8).
std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

class Pcre2RegexService : public RegexService {
 public:
  explicit Pcre2RegexService(TextCodec* codec) : codec_(codec) {
    // The escapes of the script engines' regular expressions: "\uhhhh" is a character; "\u" without four
    // hexadecimal digits is "u", "\U" is "U", and "\x" takes exactly two digits or is "x" (so "\x{41}"
    // is 41 x's, not "A"). PCRE2 adds "\u{h...}". A surrogate ("\uD83D") is a code unit those engines
    // accept; code page 932 text holds none, so such a pattern compiles and never matches.
    compile_context_.reset(pcre2_compile_context_create(nullptr));
    if (compile_context_ != nullptr) {
      pcre2_set_compile_extra_options(compile_context_.get(),
                                      PCRE2_EXTRA_ALT_BSUX | PCRE2_EXTRA_ALLOW_SURROGATE_ESCAPES);
    }
    match_context_.reset(pcre2_match_context_create(nullptr));
    if (match_context_ != nullptr) {
      pcre2_set_match_limit(match_context_.get(), kMatchLimit);
      pcre2_set_depth_limit(match_context_.get(), kDepthLimit);
    }
  }

  int Replace(std::string_view text, std::string_view pattern, std::string_view replacement, bool ignore_case,
              std::string* out) override {
    if (!Prepare(pattern, ignore_case)) return kFailed;
    if (!codec_->Cp932ToUtf8(text, &subject_).ok()) return kFailed;
    if (replacement != replacement_cp932_ || !replacement_ready_) {
      replacement_ready_ = false;
      if (!codec_->Cp932ToUtf8(replacement, &replacement_utf8_).ok()) return kFailed;
      replacement_cp932_.assign(replacement);
      replacement_ready_ = true;
    }
    if (const int rc = ReplaceAll(); rc != kOk) return rc;
    std::string result;
    if (!codec_->Utf8ToCp932(result_, &result).ok()) return kFailed;
    *out = std::move(result);
    return kOk;
  }

  bool Compiles(std::string_view pattern, bool ignore_case) override { return Prepare(pattern, ignore_case); }

 private:
  // Makes `pattern` the compiled pattern, reusing the last one when it is the same: a rule applies one
  // pattern to every target of a run.
  bool Prepare(std::string_view pattern, bool ignore_case) {
    if (compile_context_ == nullptr || match_context_ == nullptr) return false;
    if (code_ != nullptr && pattern == pattern_cp932_ && ignore_case == ignore_case_) return true;
    code_.reset();
    match_data_.reset();
    std::string utf8;
    if (!codec_->Cp932ToUtf8(pattern, &utf8).ok()) return false;
    // Without the start-up optimisations every pattern is matched the same plain way, so whether a
    // backtracking pattern reaches the work limit depends on the pattern and the name, not on which
    // shortcuts the library version happens to take for a given subject length.
    std::uint32_t options = PCRE2_UTF | PCRE2_NO_START_OPTIMIZE;
    if (ignore_case) options |= PCRE2_CASELESS;
    int error = 0;
    PCRE2_SIZE offset = 0;
    CodePtr code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8.data()), utf8.size(), options, &error, &offset,
                               compile_context_.get()));
    if (code == nullptr) return false;
    MatchDataPtr data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
    std::uint32_t groups = 0;
    if (data == nullptr || pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groups) != 0) return false;
    code_ = std::move(code);
    match_data_ = std::move(data);
    groups_ = groups;
    pattern_cp932_.assign(pattern);
    ignore_case_ = ignore_case;
    return true;
  }

  // Replaces every match in subject_ into result_. After an empty match the next attempt at the same
  // place must not be empty again; when no other match starts there, the search steps one character on.
  // Returns kOk, kTooLong or kFailed.
  int ReplaceAll() {
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(subject_.data());
    const std::size_t length = subject_.size();
    result_.clear();
    std::size_t start = 0;   // where the next attempt begins
    std::size_t copied = 0;  // the subject before this is in result_
    std::uint32_t options = 0;
    for (;;) {
      const int rc = pcre2_match(code_.get(), subject, length, start, options | PCRE2_NO_UTF_CHECK,
                                 match_data_.get(), match_context_.get());
      if (rc == PCRE2_ERROR_NOMATCH) {
        if (options == 0 || start >= length) break;
        start += Utf8Length(static_cast<unsigned char>(subject_[start]));
        options = 0;
        continue;
      }
      if (rc <= 0) return kFailed;  // an error, the work limit among them
      const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(match_data_.get());
      // \K can put a match's start after its end or before text already replaced; no replacement
      // would be meaningful then.
      if (ov[0] > ov[1] || ov[0] < copied) return kFailed;
      result_.append(subject_, copied, ov[0] - copied);
      if (!Expand(ov, static_cast<std::uint32_t>(rc))) return kTooLong;
      copied = ov[1];
      start = ov[1];
      options = ov[0] == ov[1] ? (PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED) : 0;
    }
    result_.append(subject_, copied, std::string::npos);
    return result_.size() > kMaxResult ? kTooLong : kOk;
  }

  // Appends group `n` of the current match; a group the match did not reach adds nothing.
  void AppendGroup(const PCRE2_SIZE* ov, std::uint32_t pairs, std::uint32_t n) {
    if (n >= pairs || ov[2 * n] == PCRE2_UNSET) return;
    result_.append(subject_, ov[2 * n], ov[2 * n + 1] - ov[2 * n]);
  }

  // Appends the replacement with its markers filled in from the current match. False as soon as the
  // result passes kMaxResult: one replacement can repeat the whole text many times.
  bool Expand(const PCRE2_SIZE* ov, std::uint32_t pairs) {
    const std::string& r = replacement_utf8_;
    for (std::size_t i = 0; i < r.size(); ++i) {
      if (result_.size() > kMaxResult) return false;
      if (r[i] != '$' || i + 1 == r.size()) {
        result_.push_back(r[i]);
        continue;
      }
      const char c = r[i + 1];
      if (c == '$') {
        result_.push_back('$');
        ++i;
      } else if (c == '&') {
        AppendGroup(ov, pairs, 0);
        ++i;
      } else if (c == '`') {
        result_.append(subject_, 0, ov[0]);
        ++i;
      } else if (c == '\'') {
        result_.append(subject_, ov[1], std::string::npos);
        ++i;
      } else if (c >= '0' && c <= '9') {
        const std::uint32_t one = static_cast<std::uint32_t>(c - '0');
        const char d = i + 2 < r.size() ? r[i + 2] : '\0';
        const std::uint32_t two = (d >= '0' && d <= '9') ? one * 10 + static_cast<std::uint32_t>(d - '0') : 0;
        if (two >= 1 && two <= groups_) {
          AppendGroup(ov, pairs, two);
          i += 2;
        } else if (one >= 1 && one <= groups_) {
          AppendGroup(ov, pairs, one);
          ++i;
        } else {
          result_.push_back('$');  // no such group: the text stays as written
        }
      } else {
        result_.push_back('$');
      }
    }
    return result_.size() <= kMaxResult;
  }

  TextCodec* codec_;
  CompileContextPtr compile_context_;
  MatchContextPtr match_context_;

  // The compiled pattern and the code page 932 text and case option it was compiled from.
  CodePtr code_;
  MatchDataPtr match_data_;
  std::uint32_t groups_ = 0;
  std::string pattern_cp932_;
  bool ignore_case_ = false;

  // The last replacement in both forms.
  std::string replacement_cp932_;
  std::string replacement_utf8_;
  bool replacement_ready_ = false;

  // Working texts, kept to reuse their memory from call to call.
  std::string subject_;
  std::string result_;
};

}  // namespace

std::unique_ptr<RegexService> NewPcre2RegexService(TextCodec* codec) {
  return std::make_unique<Pcre2RegexService>(codec);
}

}  // namespace morva
