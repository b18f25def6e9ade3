#include "cli/json_writer.h"

#include <string>

#include <gtest/gtest.h>

#include "cli/target_report.h"

namespace morva {
namespace {

// Every byte a name could hold comes out as valid JSON in valid UTF-8: escapes for what JSON forbids,
// U+FFFD for each byte that is no well-formed UTF-8, the rest as it is.
TEST(JsonWriterTest, EscapesWhatJsonForbidsAndReplacesWhatIsNoUtf8) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"plain/a.jpg", "\"plain/a.jpg\""},
      {"tab\there", "\"tab\\there\""},
      {"line\nbreak\r", "\"line\\nbreak\\r\""},
      {"q\"uote\\back", "\"q\\\"uote\\\\back\""},
      {std::string("nul\0x\x01\x1f\x7f", 8), "\"nul\\u0000x\\u0001\\u001f\\u007f\""},
      {"写真 é \U0001F600", "\"写真 é \U0001F600\""},
      {"\xff", "\"\\ufffd\""},                        // never a UTF-8 byte
      {"a\x80z", "\"a\\ufffdz\""},                     // a stray continuation byte
      {"\xe5\x86", "\"\\ufffd\\ufffd\""},              // a sequence cut short
      {"\xc0\xaf", "\"\\ufffd\\ufffd\""},              // an overlong slash
      {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},   // a surrogate
      {"\xf4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},  // above U+10FFFF
      {"\xe5\x86\x99\xe5", "\"写\\ufffd\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    std::string out;
    AppendJsonString(c.in, &out);
    EXPECT_EQ(out, c.out);
  }
  JsonObject object;
  object.AddString("source", "a\"b").AddNumber("total", -3).AddBool("done", true).AddStrings("steps", {"name", "t\t"});
  EXPECT_EQ(object.Text(), "{\"source\":\"a\\\"b\",\"total\":-3,\"done\":true,\"steps\":[\"name\",\"t\\t\"]}");
  EXPECT_EQ(JsonObject().AddStrings("none", {}).Text(), "{\"none\":[]}");
}

TEST(JsonWriterTest, TextCellsStayOneLineAndColumnsAlignByDisplayWidth) {
  EXPECT_EQ(CellText("a\tb\nc\rd\x01\x7f" "e\\f"), "a\\tb\\nc\\rd\\x01\\x7fe\\f");
  const struct {
    std::string text;
    std::size_t width;
  } widths[] = {{"abc", 3}, {"写真", 4}, {"ｶﾅ", 2}, {"e\u0301", 1}, {"\U0001F600", 2}, {"\xff", 1}, {"", 0}};
  for (const auto& w : widths) EXPECT_EQ(DisplayWidth(w.text), w.width) << w.text;
  EXPECT_EQ(AlignedColumns({{"写真", "x"}, {"abcde", "y"}, {"a"}}), "写真   x\nabcde  y\na\n");
}

}  // namespace
}  // namespace morva
