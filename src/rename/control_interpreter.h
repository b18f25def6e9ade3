#ifndef MORVA_RENAME_CONTROL_INTERPRETER_H_
#define MORVA_RENAME_CONTROL_INTERPRETER_H_

// The interpreter behind control_statement.h, shared by its three units: the grammar
// (control_statement.cc), the functions (control_functions.cc) and the variables
// (control_variables.cc). Not for use outside src/rename.

#include <optional>
#include <string>
#include <string_view>

#include "rename/control_statement.h"

namespace morva {

// One check or evaluation. Everything it changes while it runs (nesting depth, whether a serial
// variable was met, the offending name) lives here, so evaluations never share state.
class ControlInterpreter {
 public:
  // `in` null: the checking pass, which produces no text and reads no target.
  ControlInterpreter(const NameRuleInputs* in, RegexService* regex) : in_(in), regex_(regex) {}
  ControlInterpreter(const ControlInterpreter&) = delete;
  ControlInterpreter& operator=(const ControlInterpreter&) = delete;

  // One level of a statement, appending its text to *out: the whole of `text` at the outermost level,
  // or up to the first ":" or ">" of its own level inside a call (left for the caller). Returns the
  // bytes consumed or a ControlCode.
  int Interpret(std::string_view text, std::string* out);

  // A string argument at the start of `text`: "..." taken literally, or /statement/ evaluated (the
  // closing "/" is the first one outside "<...>"). `token` names the call for a refusal. Returns the
  // bytes consumed or a ControlCode.
  int ReadArgument(std::string_view text, std::string_view token, std::string* out);

  // Records `token` as the offending name and returns `code`, so refusals read `return Fail(...)`.
  int Fail(int code, std::string_view token);

  bool checking() const { return in_ == nullptr; }
  // The target's inputs; only while evaluating.
  const NameRuleInputs& in() const { return *in_; }
  RegexService* regex() const { return regex_; }
  bool can_nest() const { return depth_ < kControlMaxDepth; }

  // The result of a pass that returned `code`.
  ControlResult Result(int code) const { return ControlResult{code, token_, sort_}; }

 private:
  // A call at the start of `text` ("\NAME<...>"), its result appended to *out. control_functions.cc.
  int CallFunction(std::string_view text, std::string* out);
  // The variable `name` (as written between "<" and ">"), its value appended to *out. *out so far is
  // the key of an "N" serial. control_variables.cc.
  int AppendVariable(std::string_view name, std::string* out);
  int AppendSerial(std::string_view name, std::string* out);
  int AppendTime(std::string_view name, std::string* out);
  int AppendExif(std::string_view name, std::string* out);
  int AppendId3(std::string_view name, std::string* out);

  // Whether the Exif reader holds the target's values, asked of it once per evaluation.
  bool ExifLoaded();
  // The tag versions of the target as the reader gives them (0 none), reading the file again only when
  // `unicode_v1` differs from the last read of this evaluation.
  int Id3Versions(bool unicode_v1);

  const NameRuleInputs* in_;
  RegexService* regex_;
  int depth_ = 0;
  bool serial_used_ = false;
  std::string token_;
  std::optional<ControlSort> sort_;
  std::optional<bool> exif_loaded_;
  int id3_read_as_ = -1;  // the unicode flag of this evaluation's last ID3 read; -1 none yet
  int id3_versions_ = 0;
};

}  // namespace morva

#endif  // MORVA_RENAME_CONTROL_INTERPRETER_H_
