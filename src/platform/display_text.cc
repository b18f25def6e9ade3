#include "platform/display_text.h"

#include <cstdio>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {

std::string DisplayText(TextCodec& codec, std::string_view cp932) {
  std::string out;
  if (codec.Cp932ToUtf8(cp932, &out).ok()) return out;
  out.clear();
  for (std::size_t i = 0; i < cp932.size();) {
    const std::size_t length = cp932::CharLengthAt(cp932, i);
    const std::string_view one = cp932.substr(i, length);
    std::string utf8;
    if (codec.Cp932ToUtf8(one, &utf8).ok()) {
      out += utf8;
    } else {
      for (unsigned char byte : one) {
        char escape[5];
        std::snprintf(escape, sizeof(escape), "\\x%02X", byte);
        out += escape;
      }
    }
    i += length;
  }
  return out;
}

std::string DisplayPath(FileSystem& fs, TextCodec& codec, std::string_view engine_path) {
  std::string host;
  if (!engine_path.empty() && fs.ToHostPath(engine_path, &host).ok()) return host;
  return DisplayText(codec, engine_path);
}

}  // namespace morva
