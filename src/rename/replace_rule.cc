#include "rename/replace_rule.h"

#include <algorithm>

#include "platform/cp932.h"
#include "platform/decimal_text.h"
#include "platform/regex_service.h"

namespace morva {
namespace {

// The value of a text of decimal digits; 0 for an empty text, any other byte, or more digits than a
// count in a name could use.
int DigitsValue(std::string_view digits) { return DigitsOnly(digits, 6).value_or(0); }

// Whether byte `pos` (counted from 1) of `text` is the second byte of a two-byte character.
bool IsTrailByte(std::string_view text, long pos) {
  return pos >= 1 && pos <= static_cast<long>(text.size()) && cp932::IsTrailAt(text, static_cast<std::size_t>(pos - 1));
}

int ReplacePlain(std::string* text, std::string_view target, std::string_view replacement, bool ignore_case) {
  if (target.empty()) return kReplaceOk;
  const std::string& in = *text;
  std::string out;
  std::size_t length = in.size();  // the length the text has with the replacements made so far
  std::size_t copied = 0;
  for (std::size_t at = cp932::Find(in, target, 0, ignore_case); at != std::string::npos;
       at = cp932::Find(in, target, at + target.size(), ignore_case)) {
    length = length + replacement.size() - target.size();
    if (length > kMaxReplacedLength) return kReplaceTooLong;
    out.append(in, copied, at - copied);
    out.append(replacement);
    copied = at + target.size();
  }
  if (copied == 0) return kReplaceOk;  // no match: nothing to rebuild
  out.append(in, copied, std::string::npos);
  *text = std::move(out);
  return kReplaceOk;
}

}  // namespace

int ReplaceString(RegexService* regex, std::string* text, std::string_view target, std::string_view replacement,
                  bool ignore_case, bool use_regex) {
  if (!use_regex) return ReplacePlain(text, target, replacement, ignore_case);
  if (regex == nullptr) return kReplaceRegexFailed;
  std::string result;
  const int rc = regex->Replace(*text, target, replacement, ignore_case, &result);
  if (rc == RegexService::kTooLong) return kReplaceTooLong;
  if (rc != RegexService::kOk) return kReplaceRegexFailed;
  if (result.size() > kMaxReplacedLength) return kReplaceTooLong;
  *text = std::move(result);
  return kReplaceOk;
}

PositionReplacement PositionReplacementOf(const ConversionSettings& settings) {
  PositionReplacement r;
  r.from_end = settings.fnm_ckn4 == 1;
  r.position = settings.fnm_ckn5 ? DigitsValue(settings.fnm_ckn6.view()) : 1;
  r.backward = settings.fnm_ckn7 == 0;
  r.all = settings.fnm_ckn8 != 2;
  r.count = DigitsValue(settings.fnm_ckn9.view());
  r.take_whole = settings.fnm_ckna != 2;
  r.replacement = std::string(settings.fnm_ckn3.view());
  return r;
}

int ReplaceAtPosition(const PositionReplacement& r, std::string* text) {
  const std::string& in = *text;
  const long length = static_cast<long>(in.size());
  // Bytes start .. end (from 1) give way to the replacement; end = start - 1 removes nothing.
  long start = 1;
  long end = 0;
  if (length > 0) {
    const long count = r.all ? length : r.count;
    start = std::clamp<long>(r.from_end ? length - r.position + 1 : r.position, 1, length);
    if (count > 0) {
      end = std::clamp<long>(r.backward ? start - count + 1 : start + count - 1, 1, length);
      if (start > end) std::swap(start, end);
      if (IsTrailByte(in, start)) start += r.take_whole ? -1 : 1;
      if (IsTrailByte(in, end + 1)) end += r.take_whole ? 1 : -1;
    } else {
      if (!r.backward) ++start;
      if (IsTrailByte(in, start)) start += r.take_whole ? -1 : 1;
      end = start - 1;
    }
  }
  // Fitting to characters never moves start past end + 1: a start on a trail byte moves forward only
  // onto end + 1 at most, since the end cannot sit on the lead byte before it.
  const std::size_t head = static_cast<std::size_t>(start - 1);
  const std::size_t tail = static_cast<std::size_t>(end);
  const std::size_t new_length = head + r.replacement.size() + (in.size() - tail);
  if (new_length > kMaxReplacedLength) return kReplaceTooLong;
  std::string out;
  out.reserve(new_length);
  out.append(in, 0, head);
  out.append(r.replacement);
  out.append(in, tail, std::string::npos);
  *text = std::move(out);
  return kReplaceOk;
}

bool CheckPattern(std::string_view pattern) {
  if (pattern.empty()) return false;
  const std::size_t n = pattern.size();
  auto is_one_of = [](char c, std::string_view set) { return set.find(c) != std::string_view::npos; };
  for (std::size_t i = 0; i < n;) {
    const char c = pattern[i];
    if (cp932::IsLeadByte(static_cast<unsigned char>(c))) {
      i += 2;
      continue;
    }
    const bool last = i + 1 == n;
    const char next = last ? '\0' : pattern[i + 1];
    switch (c) {
      case '(':
        if (last || is_one_of(next, ")*+?{|")) return false;
        break;
      case ')':
      case '*':
      case '+':
      case '?':
      case '{':
        if (i == 0) return false;
        break;
      case '.':
      case '|':
        if (i == 0 || last || next == ')') return false;
        break;
      case '[':
        if (last || is_one_of(next, "*?]|")) return false;
        if (next == '^' && i + 2 < n && pattern[i + 2] == ']') return false;
        break;
      case '\\':
        if (last) return false;
        // An escaped backslash is done with; any other escaped byte is screened in its own right.
        i += next == '\\' ? 2 : 1;
        continue;
      default:
        break;
    }
    ++i;
  }
  return true;
}

}  // namespace morva
