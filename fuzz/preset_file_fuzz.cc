// Feeds arbitrary preset files to the reader of each kind. Besides the sanitizers' checks: no slot holds
// more than its limits, and what the writer makes of a table reads back as the same table (no entry is
// lost, the bytes settle after one round).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "platform/text_codec.h"
#include "settings/preset_file.h"

namespace {

std::size_t Named(const morva::PresetTable& table) {
  std::size_t named = 0;
  for (const morva::PresetSlot& slot : table.entries) {
    if (slot.free()) {
      if (!slot.text.empty() || slot.job != nullptr) std::abort();
      continue;
    }
    ++named;
    if (slot.name.size() > morva::kPresetNameMax || slot.text.size() > morva::kPresetTextMax) std::abort();
    if ((table.kind == morva::PresetKind::kJob) != (slot.job != nullptr)) std::abort();
  }
  return named;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  if (size < 1) return 0;
  const auto kind = static_cast<morva::PresetKind>(data[0] % 3);
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  // Most inputs get the kind's header, so the fuzzer spends its time on the entries.
  if (data[0] < 0xC0) {
    morva::PresetTable empty(kind);
    bytes.insert(0, morva::FormatPresetText(*codec, empty));
  }

  morva::PresetTable first(kind);
  morva::ParsePresetText(*codec, bytes, &first);
  const std::size_t named = Named(first);
  const std::string written = morva::FormatPresetText(*codec, first);
  morva::PresetTable second(kind);
  if (!morva::ParsePresetText(*codec, written, &second) || Named(second) != named) std::abort();
  const std::string rewritten = morva::FormatPresetText(*codec, second);
  morva::PresetTable third(kind);
  morva::ParsePresetText(*codec, rewritten, &third);
  if (morva::FormatPresetText(*codec, third) != rewritten) std::abort();
  return 0;
}
