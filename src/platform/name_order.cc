#include "platform/name_order.h"

#include "platform/cp932.h"

namespace morva {

void AppendNameSortKey(std::string_view name, std::string* key) {
  std::size_t i = 0;
  while (i < name.size()) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {
      key->push_back(static_cast<char>(b >= 'a' && b <= 'z' ? b - 0x20 : b));
      ++i;
      continue;
    }
    std::size_t length = 0;
    const cp932::Char c = cp932::ToUpper(cp932::CharAt(name, i, &length));
    i += length;
    if (c < 0x80) {
      key->push_back(static_cast<char>(c));
    } else if (c <= 0xFF) {
      key->push_back(static_cast<char>(0x80));
      key->push_back(static_cast<char>(c));
    } else {
      key->push_back(static_cast<char>(c >> 8));
      key->push_back(static_cast<char>(c & 0xFF));
    }
  }
}

}  // namespace morva
