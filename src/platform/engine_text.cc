#include "platform/engine_text.h"

#include "platform/cp932.h"
#include "platform/text_codec.h"

namespace morva {

std::string Cp932Text(TextCodec& codec, std::string_view utf8) {
  std::string out;
  if (!codec.Utf8ToCp932(utf8, &out).ok()) out.clear();
  return out;
}

namespace engine_text_internal {

std::string FormattedText(const char* buffer, std::size_t capacity, int written) {
  if (written < 0) return std::string();
  const std::size_t size = static_cast<std::size_t>(written);
  if (size < capacity) return std::string(buffer, size);
  std::string_view kept(buffer, capacity - 1);
  // The cut may have taken the trail byte of the last character and left its lead byte alone.
  if (!kept.empty() && cp932::IsLeadAt(kept, kept.size() - 1)) kept.remove_suffix(1);
  return std::string(kept);
}

}  // namespace engine_text_internal

}  // namespace morva
