#include "rename/control_statement.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "engine/name_step.h"
#include "platform/regex_service.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

class ControlStatementTest : public testing::EngineFixture {
 protected:
  ControlStatementTest() {
    session.host.regex = regex.get();
    // A target no file stands behind: only its name parts and context are read.
    TargetContext& t = session.run.target;
    t.path = "Z:\\none\\trip\\photo.jpg";
    t.name = "photo.jpg";
    t.base = "photo";
    t.extension = "jpg";
    t.directory = "Z:\\none\\trip";
    t.parent_name = "trip";
    t.volume_label = "DISK";
  }

  ControlResult Check(const std::string& statement) { return CheckControlStatement(S(statement), regex.get()); }

  // The evaluated statement in UTF-8, or "<code>" when it is refused.
  std::string Evaluate(const std::string& statement) {
    std::string out;
    const ControlResult r = EvaluateControlStatement(NameRuleInputsOf(session.walk()), S(statement), &out);
    return r.code < 0 ? "<" + std::to_string(r.code) + ">" : U(out);
  }

  // `levels` calls of UPPER around "x".
  static std::string Nested(int levels) {
    std::string s;
    for (int i = 0; i < levels; ++i) s += "\\UPPER<";
    s += "x";
    return s + std::string(static_cast<std::size_t>(levels), '>');
  }

  std::unique_ptr<RegexService> regex = NewPcre2RegexService(codec.get());
};

TEST_F(ControlStatementTest, EvaluatesWhatTheCheckAccepts) {
  struct Case {
    std::string statement, expected;
  };
  const std::vector<Case> cases = {
      {"<F>_<E>", "photo_jpg"},
      {"<f>@<D>-<v>", "photo@trip-DISK"},
      {"\\UPPER<<F>>", "PHOTO"},
      {"\\upper<x>", "X"},
      {"\\UPPER<\\LEFT<<F>:3>>", "PHO"},
      // The second byte of "ソ" is a back slash and starts nothing.
      {"ソ\\UPPER<ソa>", "ソソA"},
      {"\\UPPER<aａ:d>\\LOWER<ABＡ:S>", "aＡabＡ"},
      {"\\LEFT<abcdef:3>", "abc"},
      {"\\LEFT<abcdef:3,N>", "def"},
      {"\\RIGHT<abcdef:2>", "ef"},
      {"\\MID<abcdef:2,3>", "bcd"},
      {"\\MID<abcdef:2,3,N>", "aef"},
      {"\\MID<abcdef:5>", "ef"},
      {"\\LEFT<aあb:2>", "aあ"},
      {"\\LEFT<aあb:2,C>", "a"},
      {"\\RIGHT<aあb:2>", "あb"},
      {"\\RIGHT<aあb:2,cn>", "aあ"},
      {"\\MID<aあb:3,2>", "あb"},
      {"\\MID<aあb:3,2,C>", "b"},
      {"\\INSSTR<abc:1,\"-\">", "a-bc"},
      {"\\INSRSTR<abc:1,\"-\">", "ab-c"},
      {"\\INSSTR<abc:0,\"-\">", "-abc"},
      {"\\INSSTR<aあ:2,/<E>/>", "aあjpg"},
      {"\\INSSTR<aあ:2,\"-\",c>", "a-あ"},
      {"\\CHGSTR<a.b.c:\".\",\"_\">", "a_b_c"},
      {"\\CHGMSTR<a.b.c:\"[.]\",\"_\">", "a_b_c"},
      {"\\CHGSTR<<F>:\"o\",/<E>/>", "phjpgtjpg"},
      {"\\CHGSTRI<ABab:\"a\",//>", "Bb"},
      {"\\CHGMSTRI<ABab:\"a([a-z])\",\"$1\">", "Bb"},
      // A back slash keeps the double quote after it inside the pattern.
      {"\\CHGMSTR<ab:\"\\\"?b\",\"c\">", "ac"},
      {"\\DELCHR<a 1あ:3>", "aあ"},
      {"\\DELCHR<a　１ 1:3,s>", "a　１"},
      {"\\DELCHR<a　１Ａ!:14,D>", "a　!"},
      {"\\BEAMEQ<a5b12:3>", "a005b012"},
      {"\\BEAMEQ<a5b12:3,e>", "a5b012"},
      {"\\DBLCHR<abc:1>", "ａｂｃ"},
      {"\\DBLCHR<ab1>", "ａｂ１"},
      {"\\SGLCHR<ＡＢ１カ:3>", "AB1カ"},
      {"\\SPCCUT<　 a b 　>", "a b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    const ControlResult checked = Check(c.statement);
    EXPECT_EQ(checked.code, static_cast<int>(S(c.statement).size())) << checked.token;
    EXPECT_FALSE(checked.sort.has_value());
    EXPECT_EQ(Evaluate(c.statement), c.expected);
  }
}

TEST_F(ControlStatementTest, RefusesWithTheOffendingName) {
  struct Case {
    std::string statement;
    int code;
    std::string token;
  };
  const std::vector<Case> cases = {
      {"\\UPPER<abc", kControlBadFunction, "\\UPPER<...>"},
      {"\\UPPER", kControlBadFunction, "\\UPPER"},
      {"\\UPPER<", kControlEmpty, "\\UPPER<...>"},
      {"\\LEFT<:3>", kControlBadFunction, "\\LEFT<...>"},
      {"\\FOO<x>", kControlUnknownFunction, "\\FOO<...>"},
      {"\\ソ<x>", kControlUnknownFunction, "\\ソ<...>"},
      {"<F", kControlUnclosedVariable, "<F"},
      {"a:b", kControlPlainCharacter, ":"},
      {"a>b", kControlPlainCharacter, ">"},
      {"a/b", kControlPlainCharacter, "/"},
      {"\\UPPER<a|b>", kControlPlainCharacter, "|"},
      {"<C>_<C>", kControlSecondSerial, "<C>"},
      {"<X>", kControlUnknownVariable, "<X>"},
      {"<>", kControlUnknownVariable, "<>"},
      {"<FX>", kControlBadVariable, "<FX>"},
      {"<JXX>", kControlBadVariable, "<JXX>"},
      {"<MTT,X>", kControlBadVariable, "<MTT,X>"},
      {"<TW-FOO>", kControlBadVariable, "<TW-FOO>"},
      {"<TX>", kControlBadVariable, "<TX>"},
      {"<C-9>", kControlBadVariable, "<C-9>"},
      {"<C-2,100000>", kControlBadVariable, "<C-2,100000>"},
      {"<C-2+100>", kControlBadVariable, "<C-2+100>"},
      {"<C-2,5-0>", kControlBadVariable, "<C-2,5-0>"},
      {"<CNSUF>", kControlBadVariable, "<CNSUF>"},
      {"<CSXF>", kControlBadVariable, "<CSXF>"},
      {"\\CHGMSTR<x:\"(\",\"y\">", kControlBadPattern, "\\CHGMSTR<...>"},
      {"\\CHGMSTR<x:\"\",\"y\">", kControlBadPattern, "\\CHGMSTR<...>"},
      {"\\CHGSTR<x:\"\",\"y\">", kControlBadFunction, "\\CHGSTR<...>"},
      {"\\CHGSTRI<x:\"\",\"y\">", kControlBadFunction, "\\CHGSTRI<...>"},
      {"\\CHGSTR<x:\"a\",b>", kControlBadFunction, "\\CHGSTR<...>"},
      {"\\CHGSTR<x:\"a\",/a:b/>", kControlBadFunction, "\\CHGSTR<...>"},
      // What fails inside an argument passes up as it is.
      {"\\CHGSTR<x:\"a\",/<Q>/>", kControlUnknownVariable, "<Q>"},
      {"\\DBLCHR<x:96>", kControlBadFunction, "\\DBLCHR<...>"},
      {"\\DBLCHR<x:1,4>", kControlBadFunction, "\\DBLCHR<...>"},
      {"\\LEFT<x:201>", kControlBadFunction, "\\LEFT<...>"},
      {"\\LEFT<x:3,X>", kControlBadFunction, "\\LEFT<...>"},
      {"\\MID<x:1,2,3>", kControlBadFunction, "\\MID<...>"},
      {"\\INSSTR<x:1,\"-\",D>", kControlBadFunction, "\\INSSTR<...>"},
      {"\\SPCCUT<x:1>", kControlBadFunction, "\\SPCCUT<...>"},
      {"\\BEAMEQ<x:9>", kControlBadFunction, "\\BEAMEQ<...>"},
      {"\\FILFIX<x:q>", kControlBadFunction, "\\FILFIX<...>"},
      {"\\DELCHR<x:16>", kControlBadFunction, "\\DELCHR<...>"},
      // Nesting is bounded: the call one level too deep is refused, and thousands of levels end quickly.
      {Nested(kControlMaxDepth - 1), static_cast<int>(Nested(kControlMaxDepth - 1).size()), ""},
      {Nested(kControlMaxDepth), kControlBadFunction, "\\UPPER<...>"},
      {Nested(20000), kControlBadFunction, "\\UPPER<...>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement.substr(0, 40));
    const ControlResult r = Check(c.statement);
    EXPECT_EQ(r.code, c.code);
    if (c.code < 0) {
      EXPECT_EQ(U(r.token), c.token);
    }
  }
  // Letters of a variable name in either case; the serial flag is a fresh one for every pass.
  EXPECT_EQ(Evaluate("<c-3,10+5>"), "010");
  EXPECT_EQ(Evaluate("<c-3,10+5>"), "015");
}

TEST_F(ControlStatementTest, SerialVariableReportsTheOrderOfTheTargets) {
  struct Case {
    std::string statement;
    std::optional<ControlSort> sort;
  };
  const std::vector<Case> cases = {
      {"<F>", std::nullopt},
      {"<C>", ControlSort{false, true, 0}},
      {"<CSUW>", ControlSort{true, true, 1}},
      {"<cdsdb-3,0-1>", ControlSort{true, false, 4 + 64}},
      {"\\LEFT<<CSUE>:1>", ControlSort{true, true, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    const ControlResult r = Check(c.statement);
    ASSERT_GE(r.code, 0);
    ASSERT_EQ(r.sort.has_value(), c.sort.has_value());
    if (!c.sort) continue;
    EXPECT_EQ(r.sort->on, c.sort->on);
    EXPECT_EQ(r.sort->ascending, c.sort->ascending);
    EXPECT_EQ(r.sort->key, c.sort->key);
  }
}

TEST_F(ControlStatementTest, TextsAreBounded) {
  // An intermediate text past the bound is refused before it grows further, even where a function
  // would cut it down again.
  session.run.target.base = std::string(250, 'f');
  std::string many;
  for (int i = 0; i < 300; ++i) many += "<F>";
  EXPECT_EQ(Evaluate("\\LEFT<" + many + ":3>"), "<" + std::to_string(kControlTooLong) + ">");
  EXPECT_EQ(Evaluate("\\LEFT<<F><F>:3>"), "fff");
  // A replacement whose result would pass the name limit is refused as a malformed call.
  EXPECT_EQ(Evaluate("\\CHGSTR<<F>:\"f\",\"ff\">"), "<" + std::to_string(kControlBadFunction) + ">");
}

}  // namespace
}  // namespace morva
