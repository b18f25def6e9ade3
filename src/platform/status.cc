#include "platform/status.h"

#include <cstring>

namespace morva {

std::string Status::ToString() const {
  if (ok()) return "OK";
  std::string text = context_;
  if (!text.empty()) text += ": ";
  text += std::strerror(code_);
  return text;
}

}  // namespace morva
