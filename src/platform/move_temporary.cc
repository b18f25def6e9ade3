#include "platform/move_temporary.h"

#include <cstdint>

#include "platform/path_utils.h"

namespace morva {

std::string MoveTemporaryName(std::string_view to) {
  // FNV-1a: a fixed function, so that every version of the program finds what another left.
  constexpr std::uint64_t kOffsetBasis = 14695981039346656037ull;
  constexpr std::uint64_t kPrime = 1099511628211ull;
  std::uint64_t hash = kOffsetBasis;
  for (const char c : to) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kPrime;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = ".morva-";
  for (int i = 15; i >= 0; --i) name.push_back(kHex[(hash >> (4 * i)) & 0xF]);
  name += ".tmp";
  return name;
}

std::string MoveTemporaryPath(std::string_view to) {
  const std::size_t slash = FindLastChar(to, '\\');
  if (slash == std::string_view::npos) return std::string();
  return std::string(to.substr(0, slash + 1)) + MoveTemporaryName(to);
}

}  // namespace morva
