#include "rename/serial_rule.h"

#include <limits>

#include "engine/session.h"

namespace morva {
namespace {

// The value of a decimal text with an optional leading '-'; validation has made sure of the form, so
// any other byte ends the number and an over-long text saturates instead of overflowing.
std::int32_t DecimalValue(std::string_view text) {
  bool negative = false;
  std::size_t i = 0;
  if (!text.empty() && text[0] == '-') {
    negative = true;
    i = 1;
  }
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) {
      value = std::numeric_limits<std::int32_t>::max();
      break;
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

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

bool BuildSerialName(Session& session, std::string* text) {
  const ConversionSettings& s = session.settings;
  const TargetContext& target = session.target;
  if ((s.fnm_rnb_opt & ConversionSettings::kSerialPerDirectory) && target.directory != target.previous_directory)
    session.serials.ClearSerials();

  const std::int32_t n =
      session.serials.NextSerial("", DecimalValue(s.fnm_rnb2.view()), DecimalValue(s.fnm_rnba.view()));
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
