// The 17 functions of the control statements: reading each call's options and transforming its
// evaluated argument. While checking, the options are read and checked the same way and nothing is
// transformed.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "platform/decimal_text.h"
#include "platform/regex_service.h"
#include "rename/control_interpreter.h"
#include "rename/control_text.h"
#include "rename/general_rule.h"
#include "rename/id3_rule.h"
#include "rename/replace_rule.h"
#include "rename/width_rule.h"

namespace morva {
namespace {

// One call once its argument is evaluated.
struct Call {
  ControlInterpreter& interpreter;
  std::string_view token;    // "\NAME<...>" as written
  std::string text;          // the evaluated argument; empty while checking
  std::string_view options;  // from the ':' or '>' that ended the argument to the end of the statement
  std::string result;

  int Bad() { return interpreter.Fail(kControlBadFunction, token); }
  bool checking() const { return interpreter.checking(); }
};

using Handler = int (*)(Call& call);

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// The comma-separated options of a call that takes no string: none for "\F<text>", else those between
// ':' and '>'.
struct Options {
  static constexpr std::size_t kMax = 4;  // more than any function takes
  std::array<std::string_view, kMax> part;
  std::size_t count = 0;
  std::size_t consumed = 0;  // up to and including the '>'
};

// False when there is no '>' or more parts than kMax.
bool SplitOptions(std::string_view options, Options* out) {
  if (options[0] == '>') {
    out->consumed = 1;
    return true;
  }
  const std::size_t close = options.find('>');
  if (close == std::string_view::npos) return false;
  std::string_view rest = options.substr(1, close - 1);
  while (true) {
    if (out->count == Options::kMax) return false;
    const std::size_t comma = rest.find(',');
    out->part[out->count++] = rest.substr(0, comma);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  out->consumed = close + 1;
  return true;
}

// A decimal number in [low, high], or nullopt.
std::optional<int> Number(std::string_view text, int low, int high) {
  const std::optional<int> n = DigitsOnly(text, 6);
  if (!n || *n < low || *n > high) return std::nullopt;
  return n;
}

bool IsLetter(std::string_view text, char upper) { return text.size() == 1 && Upper(text[0]) == upper; }

// "s" (one-byte characters), "d" (two-byte characters); nullopt for anything else.
std::optional<int> WidthSelector(std::string_view text) {
  if (IsLetter(text, 'S')) return kControlHalfWidth;
  if (IsLetter(text, 'D')) return kControlFullWidth;
  return std::nullopt;
}

// The flags of the byte-range functions: at least one of "N" and "C".
bool ReadSelection(std::string_view text, ByteSelection* how) {
  if (text.empty()) return false;
  for (char c : text) {
    if (Upper(c) == 'N') {
      how->complement = true;
    } else if (Upper(c) == 'C') {
      how->exclude_cut = true;
    } else {
      return false;
    }
  }
  return true;
}

template <bool kUpper>
int CaseFunction(Call& call) {
  Options o;
  if (!SplitOptions(call.options, &o) || o.count > 1) return call.Bad();
  int widths = kControlBothWidths;
  if (o.count == 1) {
    const std::optional<int> selected = WidthSelector(o.part[0]);
    if (!selected) return call.Bad();
    widths = *selected;
  }
  if (!call.checking()) call.result = MapCase(call.text, kUpper, widths);
  return static_cast<int>(o.consumed);
}

template <bool kToFullWidth>
int WidthFunction(Call& call) {
  Options o;
  if (!SplitOptions(call.options, &o) || o.count > 2) return call.Bad();
  int classes = kToFullWidth ? 0xBF : 0xFF;  // every class; to full width, katakana rather than hiragana
  int kana = kWidthKanaSymbols | kWidthLoneMarks;
  if (o.count >= 1) {
    const std::optional<int> c = Number(o.part[0], 1, 127);
    // A half-width kana letter has a katakana and a hiragana full-width form; only one may be chosen.
    if (!c || (kToFullWidth && (*c & kWidthKatakana) && (*c & kWidthHiragana))) return call.Bad();
    classes = *c;
  }
  if (o.count == 2) {
    const std::optional<int> k = Number(o.part[1], 1, 3);
    if (!k) return call.Bad();
    kana = *k;
  }
  if (!call.checking()) {
    call.result = std::move(call.text);
    if (!ConvertWidth(&call.result, kToFullWidth, classes, kana)) return call.Bad();
  }
  return static_cast<int>(o.consumed);
}

// The quoted target of a replacement at the start of `text`; inside it a back slash before a double
// quote keeps both, so the pattern can hold a double quote. Returns the bytes consumed, or 0.
std::size_t ReadTarget(std::string_view text, std::string* target) {
  if (text.empty() || text[0] != '"') return 0;
  for (std::size_t i = 1; i < text.size();) {
    if (text[i] == '"') {
      target->assign(text.substr(1, i - 1));
      return i + 1;
    }
    // A two-byte character goes whole: "ソ" ends in 0x5C and escapes nothing.
    const std::size_t n = text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '"' ? 2 : cp932::CharLengthAt(text, i);
    i += n;
  }
  return 0;
}

template <bool kIgnoreCase, bool kRegex>
int ReplaceFunction(Call& call) {
  std::string_view rest = call.options;
  if (rest[0] != ':') return call.Bad();
  std::string target;
  const std::size_t target_length = ReadTarget(rest.substr(1), &target);
  if (target_length == 0) return call.Bad();
  std::size_t pos = 1 + target_length;
  if (pos >= rest.size() || rest[pos] != ',') return call.Bad();
  ++pos;
  std::string replacement;
  const int r = call.interpreter.ReadArgument(rest.substr(pos), call.token, &replacement);
  if (r < 0) return r;
  pos += static_cast<std::size_t>(r);
  if (pos >= rest.size() || rest[pos] != '>') return call.Bad();
  ++pos;

  RegexService* regex = call.interpreter.regex();
  if (kRegex) {
    if (!CheckPattern(target)) return call.interpreter.Fail(kControlBadPattern, call.token);
    if (call.checking() && (regex == nullptr || !regex->Compiles(target, kIgnoreCase))) {
      return call.interpreter.Fail(kControlBadPattern, call.token);
    }
  } else if (target.empty()) {
    // An empty string would match between every two characters.
    return call.Bad();
  }
  if (!call.checking()) {
    call.result = std::move(call.text);
    const int replaced = ReplaceString(regex, &call.result, target, replacement, kIgnoreCase, kRegex);
    if (replaced == kReplaceRegexFailed) return call.interpreter.Fail(kControlBadPattern, call.token);
    if (replaced != kReplaceOk) return call.Bad();
  }
  return static_cast<int>(pos);
}

int TrimFunction(Call& call) {
  Options o;
  if (!SplitOptions(call.options, &o) || o.count != 0) return call.Bad();
  if (!call.checking()) call.result = std::string(TrimSpaces(call.text));
  return static_cast<int>(o.consumed);
}

enum class Range { kLeft, kMid, kRight };

template <Range kRange>
int RangeFunction(Call& call) {
  Options o;
  if (!SplitOptions(call.options, &o) || o.count == 0) return call.Bad();
  const std::optional<int> first = Number(o.part[0], 1, 200);
  if (!first) return call.Bad();
  std::optional<int> length = kRange == Range::kMid ? 200 : *first;
  ByteSelection how;
  std::size_t next = 1;
  if (kRange == Range::kMid && o.count >= 2) {
    // "p,n", "p,flags" or "p,n,flags".
    if (std::optional<int> n = Number(o.part[1], 1, 200)) {
      length = n;
      next = 2;
    } else if (o.count == 3) {
      return call.Bad();
    }
  }
  if (o.count > next + 1) return call.Bad();
  if (o.count == next + 1 && !ReadSelection(o.part[next], &how)) return call.Bad();
  if (!call.checking()) {
    const auto n = static_cast<std::size_t>(*length);
    switch (kRange) {
      case Range::kLeft: call.result = LeftBytes(call.text, n, how); break;
      case Range::kMid: call.result = MidBytes(call.text, static_cast<std::size_t>(*first - 1), n, how); break;
      case Range::kRight: call.result = RightBytes(call.text, n, how); break;
    }
  }
  return static_cast<int>(o.consumed);
}

template <bool kFromEnd>
int InsertFunction(Call& call) {
  std::string_view rest = call.options;
  if (rest[0] != ':') return call.Bad();
  const std::size_t comma = rest.find(',');
  if (comma == std::string_view::npos) return call.Bad();
  const std::optional<int> n = Number(rest.substr(1, comma - 1), 0, 200);
  if (!n) return call.Bad();
  std::size_t pos = comma + 1;
  std::string insertion;
  const int r = call.interpreter.ReadArgument(rest.substr(pos), call.token, &insertion);
  if (r < 0) return r;
  pos += static_cast<std::size_t>(r);
  bool other_way = false;
  if (pos < rest.size() && rest[pos] == ',') {
    if (pos + 1 >= rest.size() || Upper(rest[pos + 1]) != 'C') return call.Bad();
    other_way = true;
    pos += 2;
  }
  if (pos >= rest.size() || rest[pos] != '>') return call.Bad();
  ++pos;
  if (!call.checking()) {
    call.result = InsertBytes(call.text, insertion, static_cast<std::size_t>(*n), kFromEnd, other_way);
  }
  return static_cast<int>(pos);
}

int DeleteFunction(Call& call) {
  Options o;
  if (!SplitOptions(call.options, &o) || o.count == 0 || o.count > 2) return call.Bad();
  const std::optional<int> classes = Number(o.part[0], 1, 15);
  if (!classes) return call.Bad();
  int widths = kControlBothWidths;
  if (o.count == 2) {
    const std::optional<int> selected = WidthSelector(o.part[1]);
    if (!selected) return call.Bad();
    widths = *selected;
  }
  if (!call.checking()) call.result = DeleteClasses(call.text, *classes, widths);
  return static_cast<int>(o.consumed);
}

int PadFunction(Call& call) {
  Options o;
  if (!SplitOptions(call.options, &o) || o.count == 0 || o.count > 2) return call.Bad();
  const std::optional<int> width = Number(o.part[0], 1, 8);
  if (!width || (o.count == 2 && !IsLetter(o.part[1], 'E'))) return call.Bad();
  if (!call.checking()) {
    call.result = std::move(call.text);
    if (!PadDigits(&call.result, *width, o.count == 2)) return call.Bad();
  }
  return static_cast<int>(o.consumed);
}

int FixFunction(Call& call) {
  Options o;
  if (!SplitOptions(call.options, &o) || o.count != 1) return call.Bad();
  const bool to_full_width = IsLetter(o.part[0], 'M');
  if (!to_full_width && !IsLetter(o.part[0], 'D')) return call.Bad();
  if (!call.checking()) call.result = FixFileChars(call.text, to_full_width);
  return static_cast<int>(o.consumed);
}

struct Function {
  std::string_view name;
  Handler run;
};

constexpr Function kFunctions[] = {
    {"UPPER", CaseFunction<true>},
    {"LOWER", CaseFunction<false>},
    {"DBLCHR", WidthFunction<true>},
    {"SGLCHR", WidthFunction<false>},
    {"CHGSTR", ReplaceFunction<false, false>},
    {"CHGSTRI", ReplaceFunction<true, false>},
    {"CHGMSTR", ReplaceFunction<false, true>},
    {"CHGMSTRI", ReplaceFunction<true, true>},
    {"SPCCUT", TrimFunction},
    {"LEFT", RangeFunction<Range::kLeft>},
    {"MID", RangeFunction<Range::kMid>},
    {"RIGHT", RangeFunction<Range::kRight>},
    {"INSSTR", InsertFunction<false>},
    {"INSRSTR", InsertFunction<true>},
    {"DELCHR", DeleteFunction},
    {"BEAMEQ", PadFunction},
    {"FILFIX", FixFunction},
};

}  // namespace

int ControlInterpreter::CallFunction(std::string_view text, std::string* out) {
  const std::size_t open = text.find('<', 1);
  if (open == std::string_view::npos) return Fail(kControlBadFunction, text);
  const std::string_view name = text.substr(1, open - 1);
  const std::string token = "\\" + std::string(name) + "<...>";
  const Function* function = nullptr;
  for (const Function& f : kFunctions) {
    if (SameName(f.name, name)) function = &f;
  }
  if (function == nullptr) return Fail(kControlUnknownFunction, token);
  if (!can_nest()) return Fail(kControlBadFunction, token);

  const std::string_view inner = text.substr(open + 1);
  if (inner.empty()) return Fail(kControlEmpty, token);
  Call call{*this, token, {}, {}, {}};
  const int n = Interpret(inner, &call.text);
  if (n < 0) return n;
  if (n == 0) return Fail(kControlBadFunction, token);
  call.options = inner.substr(static_cast<std::size_t>(n));
  if (call.options.empty()) return Fail(kControlBadFunction, token);  // no ':' or '>' closes the argument
  const int used = function->run(call);
  if (used < 0) return used;
  out->append(call.result);
  return static_cast<int>(open + 1) + n + used;
}

}  // namespace morva
