#ifndef MORVA_CLI_JSON_WRITER_H_
#define MORVA_CLI_JSON_WRITER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

// Appends `text` to *out as a JSON string, quotes included. The quote, the backslash and every control
// character (U+0000-U+001F, U+007F) are escaped; bytes that are no well-formed UTF-8 (a stray
// continuation byte, a cut or overlong sequence, a surrogate, a code above U+10FFFF) become U+FFFD
// each, so the result is valid JSON in valid UTF-8 whatever bytes a name holds.
void AppendJsonString(std::string_view text, std::string* out);

// One JSON object built member by member, in the order added, written on one line: the unit of the
// console's --json output (one object per line). Keys are the program's own ASCII names; they are
// escaped like any text all the same.
class JsonObject {
 public:
  JsonObject& AddString(std::string_view key, std::string_view text);
  JsonObject& AddNumber(std::string_view key, std::int64_t number);
  JsonObject& AddBool(std::string_view key, bool value);
  JsonObject& AddStrings(std::string_view key, const std::vector<std::string>& texts);

  // The object: "{...}" without a line break.
  std::string Text() const { return "{" + members_ + "}"; }

 private:
  void Key(std::string_view key);

  std::string members_;
};

}  // namespace morva

#endif  // MORVA_CLI_JSON_WRITER_H_
