// Feeds arbitrary text to the English catalogues (the messages and the labels) to translate. Besides the
// sanitizers' checks (and libFuzzer's for slow inputs: text arguments are matched with backtracking):
// every source holds Japanese, so a text of ASCII bytes alone comes back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/message_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const morva::MessageCatalogue messages(morva::EnglishMessages());
  static const morva::MessageCatalogue labels(morva::EnglishLabels());
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  for (const morva::MessageCatalogue* catalogue : {&messages, &labels}) {
    if (ascii && catalogue->Translate(text) != text) std::abort();
  }
  return 0;
}
