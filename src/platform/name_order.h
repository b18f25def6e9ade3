#ifndef MORVA_PLATFORM_NAME_ORDER_H_
#define MORVA_PLATFORM_NAME_ORDER_H_

#include <string>
#include <string_view>

namespace morva {

// Appends the sort key of a code page 932 name to *key. Keys compared as unsigned bytes (std::string's
// operator<, memcmp) order names exactly as cp932::CompareIgnoreCase does: character codes through
// cp932::ToUpper, the shorter name first on a common prefix. Comparing prepared keys is much cheaper
// than comparing names character by character, which matters when sorting a large directory.
//
// Each upper-case code becomes one byte below 0x80 (ASCII), 0x80 and the byte for the other single
// bytes, or its lead and trail bytes (a lead byte is 0x81 or more): an encoding that keeps the order of
// the codes and in which no code's bytes are a prefix of another's.
void AppendNameSortKey(std::string_view name, std::string* key);

}  // namespace morva

#endif  // MORVA_PLATFORM_NAME_ORDER_H_
