#include "rename/control_statement.h"

#include "platform/cp932.h"
#include "platform/path_utils.h"
#include "rename/control_interpreter.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

// Counts the levels of one Interpret call; a level ends however it returns.
class LevelGuard {
 public:
  explicit LevelGuard(int* depth) : depth_(depth) { ++*depth_; }
  LevelGuard(const LevelGuard&) = delete;
  LevelGuard& operator=(const LevelGuard&) = delete;
  ~LevelGuard() { --*depth_; }

 private:
  int* depth_;
};

// The closing "/" of a nested statement that starts after the opening one at `text`[0]: the first "/"
// outside "<...>" (a variable, or a call's argument). npos when there is none.
std::size_t ClosingSlash(std::string_view text) {
  int brackets = 0;
  for (std::size_t i = 1; i < text.size();) {
    const char c = text[i];
    if (c == '/' && brackets <= 0) return i;
    if (c == '<') ++brackets;
    if (c == '>') --brackets;
    i += cp932::CharLengthAt(text, i);
  }
  return std::string_view::npos;
}

}  // namespace

int ControlInterpreter::Fail(int code, std::string_view token) {
  token_.assign(token);
  return code;
}

int ControlInterpreter::Interpret(std::string_view text, std::string* out) {
  LevelGuard level(&depth_);
  if (text.empty()) return kControlEmpty;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (cp932::IsLeadByte(b)) {
      // Always literal: its trail may be 0x5C ("ソ") and still never starts a call.
      const std::size_t n = cp932::CharLengthAt(text, i);
      if (!checking()) out->append(text.substr(i, n));
      i += n;
    } else if (b == '<') {
      // Trail bytes are 0x40 and above, so the first '>' byte is the first '>' character.
      const std::size_t close = text.find('>', i + 1);
      if (close == std::string_view::npos) return Fail(kControlUnclosedVariable, text.substr(i));
      const int r = AppendVariable(text.substr(i + 1, close - i - 1), out);
      if (r < 0) return r;
      i = close + 1;
    } else if (b == '\\') {
      const int r = CallFunction(text.substr(i), out);
      if (r < 0) return r;
      i += static_cast<std::size_t>(r);
    } else if (b == ':' || b == '>') {
      // These end the argument of a call; with no call open they are plain text a name cannot hold.
      if (depth_ == 1) return Fail(kControlPlainCharacter, text.substr(i, 1));
      return static_cast<int>(i);
    } else {
      if (checking() && !IsFileNameChar(b, false)) return Fail(kControlPlainCharacter, text.substr(i, 1));
      if (!checking()) out->push_back(static_cast<char>(b));
      ++i;
    }
    if (out->size() > kControlMaxText) return Fail(kControlTooLong, "");
  }
  return static_cast<int>(i);
}

int ControlInterpreter::ReadArgument(std::string_view text, std::string_view token, std::string* out) {
  if (text.empty()) return Fail(kControlBadFunction, token);
  if (text[0] == '"') {
    // Taken literally; a '"' byte is never the trail of a two-byte character.
    const std::size_t close = text.find('"', 1);
    if (close == std::string_view::npos) return Fail(kControlBadFunction, token);
    if (!checking()) out->assign(text.substr(1, close - 1));
    return static_cast<int>(close + 1);
  }
  if (text[0] != '/') return Fail(kControlBadFunction, token);
  const std::size_t close = ClosingSlash(text);
  if (close == std::string_view::npos) return Fail(kControlBadFunction, token);
  const std::string_view statement = text.substr(1, close - 1);
  out->clear();
  if (statement.empty()) return static_cast<int>(close + 1);
  if (!can_nest()) return Fail(kControlBadFunction, token);
  const int n = Interpret(statement, out);
  if (n < 0) return n;
  // A ':' or '>' of its own level cut the statement short.
  if (static_cast<std::size_t>(n) != statement.size()) return Fail(kControlBadFunction, token);
  return static_cast<int>(close + 1);
}

ControlResult CheckControlStatement(std::string_view statement, RegexService* regex) {
  ControlInterpreter interpreter(nullptr, regex);
  std::string nothing;
  return interpreter.Result(interpreter.Interpret(statement, &nothing));
}

ControlResult EvaluateControlStatement(const NameRuleInputs& in, std::string_view statement, std::string* output) {
  ControlInterpreter interpreter(&in, in.regex);
  std::string text;
  const int code = interpreter.Interpret(statement, &text);
  if (code >= 0) *output = std::move(text);
  return interpreter.Result(code);
}

unsigned BuildControlName(const NameRuleInputs& in, std::string* text) {
  constexpr unsigned kNameNotBuilt = 0x100;
  std::string name;
  const ControlResult result = EvaluateControlStatement(in, in.settings.fnm_usr1.view(), &name);
  if (result.code == kControlTooLong) return kNameNotBuilt;
  // Validation ran the same statement through the checking pass, so what fails here failed on this
  // target's data (a replacement too long, a service error): the name stays as it was.
  if (result.code < 0) return 0;
  if (name.size() > kControlMaxName) return kNameNotBuilt;
  *text = std::move(name);
  return 0;
}

bool ControlStatementReadsTimes(std::string_view statement) {
  for (std::size_t i = 0; i < statement.size(); ++i) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(statement[i]))) {
      ++i;  // a trail byte is never a '<'
      continue;
    }
    if (statement[i] == '<' && i + 1 < statement.size() && (statement[i + 1] == 'T' || statement[i + 1] == 't')) {
      return true;
    }
  }
  return false;
}

}  // namespace morva
