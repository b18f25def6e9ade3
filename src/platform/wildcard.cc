#include "platform/wildcard.h"

#include <algorithm>

#include "platform/cp932.h"

namespace morva {

void AppendUpperCodes(std::string_view name, std::u16string* out) {
  std::size_t i = 0;
  while (i < name.size()) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {
      // ASCII, the common case, without a call per character.
      out->push_back(static_cast<char16_t>(b >= 'a' && b <= 'z' ? b - 0x20 : b));
      ++i;
      continue;
    }
    std::size_t length = 0;
    const cp932::Char c = cp932::CharAt(name, i, &length);
    out->push_back(static_cast<char16_t>(cp932::ToUpper(c)));
    i += length;
  }
}

WildcardPattern::WildcardPattern(std::string_view pattern) {
  std::u16string codes;
  AppendUpperCodes(pattern, &codes);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const char16_t c = codes[i];
    const bool at_end = i + 1 == codes.size();
    const char16_t next = at_end ? 0 : codes[i + 1];
    if (c == u'?') {
      tokens_.push_back({Kind::kDosQm, 0});
    } else if (c == u'*') {
      tokens_.push_back({next == u'.' ? Kind::kDosStar : Kind::kStar, 0});
    } else if (c == u'.' && (at_end || next == u'?' || next == u'*')) {
      tokens_.push_back({Kind::kDosDot, 0});
    } else {
      tokens_.push_back({Kind::kLiteral, c});
    }
  }
  // "*" (any number of them) and "*.*" accept every name.
  const bool all_stars = !tokens_.empty() && std::all_of(tokens_.begin(), tokens_.end(), [](const Token& t) {
    return t.kind == Kind::kStar;
  });
  matches_everything_ = all_stars || codes == u"*.*";
  states_.resize(tokens_.size() + 1);
  next_.resize(tokens_.size() + 1);
}

bool WildcardPattern::Matches(std::string_view name) {
  if (matches_everything_) return true;
  scratch_.clear();
  AppendUpperCodes(name, &scratch_);
  return MatchesUpper(scratch_);
}

// A simulation of the pattern as a state machine: state k means "the first k tokens have matched the
// characters read so far". Every move that consumes nothing goes from k to k + 1, so one forward pass
// closes a state set.
bool WildcardPattern::MatchesUpper(std::u16string_view name) {
  if (matches_everything_) return true;
  const std::size_t n = name.size();
  const std::size_t last_period = name.rfind(u'.');  // npos when the name has none
  const std::size_t count = tokens_.size();
  std::fill(states_.begin(), states_.end(), 0);
  states_[0] = 1;

  for (std::size_t i = 0;; ++i) {
    const bool at_end = i == n;
    const bool at_period = !at_end && name[i] == u'.';
    // Moves that consume nothing at position i.
    for (std::size_t k = 0; k < count; ++k) {
      if (!states_[k]) continue;
      bool skip = false;
      switch (tokens_[k].kind) {
        case Kind::kStar:
        case Kind::kDosStar:
          skip = true;
          break;
        case Kind::kDosQm:
          skip = at_end || at_period;
          break;
        case Kind::kDosDot:
          skip = at_end;
          break;
        case Kind::kLiteral:
          break;
      }
      if (skip) states_[k + 1] = 1;
    }
    if (at_end) return states_[count] != 0;

    // Moves that consume the character at i.
    std::fill(next_.begin(), next_.end(), 0);
    bool any = false;
    const char16_t c = name[i];
    for (std::size_t k = 0; k < count; ++k) {
      if (!states_[k]) continue;
      switch (tokens_[k].kind) {
        case Kind::kStar:
          next_[k] = 1;
          any = true;
          break;
        case Kind::kDosStar:
          // Never past the last period: that one is left for what follows the star.
          if (last_period == std::u16string_view::npos || i < last_period) {
            next_[k] = 1;
            any = true;
          }
          break;
        case Kind::kDosQm:
          if (!at_period) {
            next_[k + 1] = 1;
            any = true;
          }
          break;
        case Kind::kDosDot:
          if (at_period) {
            next_[k + 1] = 1;
            any = true;
          }
          break;
        case Kind::kLiteral:
          if (tokens_[k].code == c) {
            next_[k + 1] = 1;
            any = true;
          }
          break;
      }
    }
    if (!any) return false;
    states_.swap(next_);
  }
}

bool MatchWildcard(std::string_view pattern, std::string_view name) {
  WildcardPattern compiled(pattern);
  return compiled.Matches(name);
}

}  // namespace morva
