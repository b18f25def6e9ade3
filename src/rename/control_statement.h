#ifndef MORVA_RENAME_CONTROL_STATEMENT_H_
#define MORVA_RENAME_CONTROL_STATEMENT_H_

// Name rule 7, "変換制御文による名称変換": the new name comes from a control statement, a one-line template
// in code page 932 (FNM_USR1). Plain characters stand for themselves, variables in angle brackets stand
// for facts about the target ("<F>" its base name, "<TW-YEAR>" the year it was last written, "<C-3>" a
// serial number), and functions transform the text of their argument ("\UPPER<<F>>", "\LEFT<<F>:3>").
//
// One interpreter both checks a statement (job validation, before any target is known) and evaluates it
// for a target (preview and run). Both walk the statement the same way, so a statement that passes the
// check can afterwards fail only on what a target's data makes of it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morva {

struct NameRuleInputs;
class RegexService;

// Why a statement was refused. Job validation shows each with its own message.
enum ControlCode : int {
  kControlUnknownVariable = -1,  // "<X>": no variable family starts with that letter
  kControlUnknownFunction = -2,  // "\X<...>": not one of the 17 function names
  kControlPlainCharacter = -3,   // a character that may not stand as plain text ("a/b", ":" outside a call)
  kControlSecondSerial = -4,     // a second serial variable
  kControlEmpty = -5,            // nothing where a statement must be ("\UPPER<" at the very end)
  kControlBadVariable = -6,      // a known family with a wrong name, suffix, number or range
  kControlBadFunction = -7,      // a malformed call: options, ranges, a missing ">", a result too long
  kControlUnclosedVariable = -8, // "<" without ">"
  kControlBadPattern = -9,       // a replacement pattern that does not compile
  kControlTooLong = -10,         // a text grew past kControlMaxText while being built
};

// Calls nest at most this deep; a deeper one is refused as kControlBadFunction, so no statement can
// exhaust the stack.
inline constexpr int kControlMaxDepth = 64;

// The longest text any level of a statement may build, in bytes. Variables can be long (an Exif
// description fills up to 64 KiB) and a statement may name many of them; a text past this is refused
// as kControlTooLong instead of growing without bound.
inline constexpr std::size_t kControlMaxText = 64 * 1024;

// The longest name the rule may produce, in bytes, as for every other rule.
inline constexpr std::size_t kControlMaxName = 260;

// The order in which a serial variable wants each directory's entries enumerated. The engine copies it
// into its own sort parameters before the enumeration.
struct ControlSort {
  bool on = false;
  bool ascending = true;
  int key = 0;  // 0 name, 1 last write, 2 creation, 3 Exif date, 4 number in the name; +64 the last number
};

// What one check or evaluation of a statement ends with.
struct ControlResult {
  int code = 0;  // the bytes of the statement consumed (its length), or a ControlCode
  // The function ("\NAME<...>") or variable ("<NAME>") a negative code is about, as the statement
  // writes it; empty when the code concerns no one name.
  std::string token;
  // Checking only: the order the statement's serial variable asks for ("S" flag: on, with its direction
  // and key; without "S": off); absent when the statement has no serial variable.
  std::optional<ControlSort> sort;
};

// The checking pass: reads `statement` without a target, producing nothing. Variables and functions are
// checked for their form, plain text for characters a name cannot hold, and regular expressions by the
// quick screen and by `regex` (null refuses every regular expression, as the run could not use one).
ControlResult CheckControlStatement(std::string_view statement, RegexService* regex);

// Evaluates `statement` for the target of `in`. On success (code >= 0) *output is the text built;
// otherwise *output is left as it was. Serial variables advance the counters of `in`.
ControlResult EvaluateControlStatement(const NameRuleInputs& in, std::string_view statement, std::string* output);

// Whether `statement` may read a target's times (a time variable "<T..."): the only part of a target's
// listing a statement reads besides its name and kind. Errs towards true: a "<T" anywhere counts.
bool ControlStatementReadsTimes(std::string_view statement);

// Rule 7 for the target of `in`: *text becomes the evaluated FNM_USR1. A statement refused on this
// target's data leaves *text unchanged and is no failure; a text past kControlMaxText or a name past
// kControlMaxName returns the failure bit 0x100 (name not built), *text unchanged. Otherwise 0.
unsigned BuildControlName(const NameRuleInputs& in, std::string* text);

}  // namespace morva

#endif  // MORVA_RENAME_CONTROL_STATEMENT_H_
