#ifndef MORVA_PLATFORM_WILDCARD_H_
#define MORVA_PLATFORM_WILDCARD_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Windows directory-search wildcards on code page 932 names.
//
// The pattern is read as the Windows search does: '?' matches one character, or nothing at a period or
// at the end of the name; a '.' followed by '?' or '*' or ending the pattern matches a period, or
// nothing at the end of the name; a '*' followed by a '.' matches up to the last period of the name;
// any other '*' matches everything. So "*.*" and "*" match every name, "*." the names without a period,
// "abc.*" also "abc", "a?.txt" also "a.txt". Letters compare through cp932::ToUpper; patterns and names
// are read character by character, so a trail byte is never taken for '*', '?' or '.'.
namespace morva {

// The characters of a code page 932 name, each as cp932::ToUpper of its code, appended to *out.
void AppendUpperCodes(std::string_view name, std::u16string* out);

// A pattern prepared once for matching many names.
class WildcardPattern {
 public:
  explicit WildcardPattern(std::string_view pattern);

  // True when every name matches ("*", "*.*", "**"...), so a caller may skip matching.
  bool MatchesEverything() const { return matches_everything_; }

  // True when the name matches. Keeps scratch state between calls: one thread at a time.
  bool Matches(std::string_view name);

  // The same, for a name already turned into AppendUpperCodes form.
  bool MatchesUpper(std::u16string_view upper_name);

 private:
  enum class Kind : std::uint8_t { kLiteral, kStar, kDosStar, kDosQm, kDosDot };
  struct Token {
    Kind kind;
    char16_t code;  // kLiteral: the upper-case character code
  };

  std::vector<Token> tokens_;
  bool matches_everything_ = false;
  std::vector<unsigned char> states_;
  std::vector<unsigned char> next_;
  std::u16string scratch_;
};

// True when `name` matches `pattern` (both code page 932).
bool MatchWildcard(std::string_view pattern, std::string_view name);

}  // namespace morva

#endif  // MORVA_PLATFORM_WILDCARD_H_
