// Feeds arbitrary bytes to the reader of the table of user-defined codes and to the codec. Besides the
// sanitizers' checks: every entry read is written back as a line that reads back to the same entry, the
// reader stops at the end of a line, and text the codec takes from UTF-8 or code page 932 converts back
// to exactly the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"
#include "platform/user_area_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<morva::user_area::Entry> entries;
  const std::size_t read = morva::user_area::ParseLines(text, &entries);
  if (read > size || (read > 0 && text[read - 1] != '\n')) std::abort();
  for (const morva::user_area::Entry& entry : entries) {
    std::vector<morva::user_area::Entry> again;
    const std::string line = morva::user_area::FormatLine(entry);
    if (morva::user_area::ParseLines(line, &again) != line.size() || again.size() != 1 ||
        again[0].code != entry.code || again[0].character != entry.character) {
      std::abort();
    }
  }

  // Made once: reading the C library's tables takes a moment.
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  if (codec == nullptr) return 0;
  std::string cp932, utf8;
  if (codec->Utf8ToCp932(text, &cp932).ok()) {
    if (!codec->Cp932ToUtf8(cp932, &utf8).ok() || utf8 != text) std::abort();
  }
  if (codec->Cp932ToUtf8(text, &utf8).ok()) {
    // Code page 932 has a few codes for one character (the NEC and IBM forms): the way back gives one
    // of them, which must stand for the same character.
    std::string back, shown;
    if (!codec->Utf8ToCp932(utf8, &back).ok() || !codec->Cp932ToUtf8(back, &shown).ok() || shown != utf8) {
      std::abort();
    }
  }
  return 0;
}
