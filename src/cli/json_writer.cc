#include "cli/json_writer.h"

namespace morva {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::string_view kReplacementCharacter = "\\ufffd";

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0 when it starts with a
// byte that begins none (the ranges of Unicode's table of well-formed byte sequences).
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const auto continuation = [&](std::size_t i, unsigned char low, unsigned char high) {
    return i < text.size() && byte(i) >= low && byte(i) <= high;
  };
  const unsigned char b = byte(0);
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return continuation(1, 0x80, 0xBF) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    const unsigned char low = b == 0xE0 ? 0xA0 : 0x80;   // no overlong form
    const unsigned char high = b == 0xED ? 0x9F : 0xBF;  // no surrogate
    return continuation(1, low, high) && continuation(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    const unsigned char low = b == 0xF0 ? 0x90 : 0x80;   // no overlong form
    const unsigned char high = b == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    return continuation(1, low, high) && continuation(2, 0x80, 0xBF) && continuation(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

}  // namespace

void AppendJsonString(std::string_view text, std::string* out) {
  out->push_back('"');
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceLength(text.substr(i));
    if (length == 0) {
      out->append(kReplacementCharacter);
      ++i;
      continue;
    }
    if (length > 1) {
      out->append(text.substr(i, length));
      i += length;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(text[i++]);
    switch (c) {
      case '"':
        out->append("\\\"");
        break;
      case '\\':
        out->append("\\\\");
        break;
      case '\n':
        out->append("\\n");
        break;
      case '\t':
        out->append("\\t");
        break;
      case '\r':
        out->append("\\r");
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out->append("\\u00");
          out->push_back(kHexDigits[c >> 4]);
          out->push_back(kHexDigits[c & 0xF]);
        } else {
          out->push_back(static_cast<char>(c));
        }
    }
  }
  out->push_back('"');
}

void JsonObject::Key(std::string_view key) {
  if (!members_.empty()) members_.push_back(',');
  AppendJsonString(key, &members_);
  members_.push_back(':');
}

JsonObject& JsonObject::AddString(std::string_view key, std::string_view text) {
  Key(key);
  AppendJsonString(text, &members_);
  return *this;
}

JsonObject& JsonObject::AddNumber(std::string_view key, std::int64_t number) {
  Key(key);
  members_ += std::to_string(number);
  return *this;
}

JsonObject& JsonObject::AddBool(std::string_view key, bool value) {
  Key(key);
  members_ += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::AddStrings(std::string_view key, const std::vector<std::string>& texts) {
  Key(key);
  members_.push_back('[');
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) members_.push_back(',');
    AppendJsonString(texts[i], &members_);
  }
  members_.push_back(']');
  return *this;
}

}  // namespace morva
