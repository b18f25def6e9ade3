// Feeds arbitrary bytes to the user.DOSATTRIB reader. Besides the sanitizers' checks: a value read is
// written back as version 4, which reads back to the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/dos_attrib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view blob(reinterpret_cast<const char*>(data), size);
  morva::DosAttrib value;
  if (!morva::DecodeDosAttrib(blob, &value)) return 0;
  const std::string written = morva::EncodeDosAttrib(value);
  morva::DosAttrib back;
  if (!morva::DecodeDosAttrib(written, &back)) std::abort();
  if (back.valid_flags != value.valid_flags || back.attributes != value.attributes || back.itime != value.itime ||
      back.creation_time != value.creation_time) {
    std::abort();
  }
  return 0;
}
