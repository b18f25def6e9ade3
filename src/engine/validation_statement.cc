// Job validation of name rule 7, the control statement: an empty statement, then the interpreter's
// checking pass, whose refusal is shown with the name it stopped at and whose serial variable decides
// the order of the enumeration.

#include <string>
#include <string_view>

#include "core/user_interface.h"
#include "engine/validation_checks.h"
#include "rename/control_statement.h"

namespace morva::validation_internal {
namespace {

// The message of a refused statement. `token` is code page 932 as the statement writes it, so the
// message is put together after the program's own texts are converted.
std::string MessageOf(Host& host, const ControlResult& r) {
  auto around = [&](std::string_view before, std::string_view after) {
    return Cp932(host, before) + r.token + Cp932(host, after);
  };
  switch (r.code) {
    case kControlUnknownVariable:
      return around("変数　", "　は不正です。");
    case kControlUnknownFunction:
      return around("関数　", "　は不正です。");
    case kControlPlainCharacter:
      return Cp932(host, "通常文字として指定できない以下の文字が指定されています。\n" + std::string(kForbiddenCharsText));
    case kControlSecondSerial:
      return Cp932(host, "連番変数を指定した後に再度連番変数の指定がされています。");
    case kControlEmpty:
      return around("", "　関数内の指定がありません。");
    case kControlBadVariable:
      return around("変数の指定　", "　に誤りがあります。");
    case kControlBadFunction:
      return around("関数の指定　", "　に誤りがあります。");
    case kControlUnclosedVariable:
      return Cp932(host, "'<' に対応する '>' がありません。または、指定できない文字が指定されています。");
    case kControlBadPattern:
      return Cp932(host, "文字列置換の正規表現に誤りがあります。");
    default:
      return Cp932(host, "変換制御文に誤りがあります。");
  }
}

}  // namespace

bool CheckControlRule(ValidationContext& ctx) {
  const int page = kPageNameRuleBase + 7;
  const std::string_view statement = ctx.job.settings.fnm_usr1.view();
  if (statement.empty()) return RefuseUtf8(ctx, page, "FNM_USR1", "変換制御文が指定されていません。");
  const ControlResult result = CheckControlStatement(statement, ctx.host.regex);
  if (result.code < 0) return Refuse(ctx, page, "FNM_USR1", MessageOf(ctx.host, result));
  if (result.sort) {
    ctx.run.sort.on = result.sort->on;
    ctx.run.sort.ascending = result.sort->ascending;
    ctx.run.sort.key = result.sort->key;
  }
  return true;
}

}  // namespace morva::validation_internal
