#include "rename/serial_rule.h"

#include <limits>

#include "rename/name_rule.h"
#include "platform/decimal_text.h"

namespace morva {

std::int32_t SerialCounters::NextSerial(std::string_view key, std::int32_t start, std::int32_t increment) {
  for (Counter& c : counters_) {
    if (c.key != key) continue;
    const std::int64_t next = static_cast<std::int64_t>(c.value) + c.increment;
    if (next >= 0 && next <= std::numeric_limits<std::int32_t>::max()) c.value = static_cast<std::int32_t>(next);
    return c.value;
  }
  counters_.push_back(Counter{std::string(key), start, increment});
  return start;
}

bool BuildSerialName(const NameRuleInputs& in, std::string* text) {
  const ConversionSettings& s = in.settings;
  const TargetContext& target = in.target;
  if ((s.fnm_rnb_opt & ConversionSettings::kSerialPerDirectory) && target.directory != target.previous_directory)
    in.serials.ClearSerials();

  const std::int32_t n =
      // Validation has made sure of the form of both numbers: digits, the increment with a "-".
      in.serials.NextSerial("", LeadingInt(s.fnm_rnb2.view()), LeadingInt(s.fnm_rnba.view()));
  std::string number = std::to_string(n);
  const std::size_t width = s.fnm_rnb3 > 0 ? static_cast<std::size_t>(s.fnm_rnb3) : 0;
  if (number.size() < width) number.insert(0, width - number.size(), '0');

  const std::string_view prefix = s.fnm_rnb0 == 1 ? std::string_view(target.parent_name) : s.fnm_rnb1.view();
  const std::string_view suffix = s.fnm_rnb8 == 1 ? std::string_view(target.parent_name) : s.fnm_rnb9.view();
  // A long parent directory name used on both sides can pass the limit on its own.
  if (prefix.size() + number.size() + suffix.size() > kSerialRuleMaxText) return false;

  std::string result;
  result.reserve(prefix.size() + number.size() + suffix.size());
  result.append(prefix).append(number).append(suffix);
  *text = std::move(result);
  return true;
}

}  // namespace morva
