#include "platform/engine_text.h"

#include "platform/text_codec.h"

namespace morva {

std::string Cp932Text(TextCodec& codec, std::string_view utf8) {
  std::string out;
  if (!codec.Utf8ToCp932(utf8, &out).ok()) out.clear();
  return out;
}

}  // namespace morva
