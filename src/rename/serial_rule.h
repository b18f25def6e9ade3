#ifndef MORVA_RENAME_SERIAL_RULE_H_
#define MORVA_RENAME_SERIAL_RULE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Serial numbering ("連番による名称変換"): the keyed counters that the numbering rules share, and
// name rule 4, which replaces the rule text by a prefix, a zero-filled number and a suffix.
namespace morva {

struct NameRuleInputs;

// The serial counters of one preview or run, in creation order. Name rule 4 uses the empty key; date
// naming and the control statements use keys of their own. Owned by the Session, emptied by the run
// at its start and end and by rule 4 at a directory change when it restarts per directory.
class SerialCounters {
 public:
  // Returns the next number for `key` (compared byte for byte). The first use of a key creates its
  // counter with value `start` and step `increment` and returns `start`. Every further use adds the
  // counter's step; a sum below 0 (or past the 32-bit range) is not stored, so the counter keeps
  // returning its last value and never goes negative: start 3, step -2 gives 3, 1, 1, 1, ...
  std::int32_t NextSerial(std::string_view key, std::int32_t start, std::int32_t increment);

  // Forgets every counter.
  void ClearSerials() { counters_.clear(); }

  std::size_t size() const { return counters_.size(); }

 private:
  struct Counter {
    std::string key;
    std::int32_t value;
    std::int32_t increment;
  };
  std::vector<Counter> counters_;
};

// The longest text the rule may produce, in bytes.
inline constexpr std::size_t kSerialRuleMaxText = 260;

// Rule 4 for the current target (the target of `in`): restarts the counters when FNM_RNB_OPT bit 1 is set
// and the target's directory differs from the previous target's, takes the next number of the empty
// key (first number FNM_RNB2, step FNM_RNBA), pads it with '0' to FNM_RNB3 digits and replaces *text by
// prefix + number + suffix; prefix and suffix are the parent directory's name or the strings
// FNM_RNB1 / FNM_RNB9. Returns false, leaving *text unchanged, when the result would exceed
// kSerialRuleMaxText bytes (the counter has still advanced, as for a target that failed later).
bool BuildSerialName(const NameRuleInputs& in, std::string* text);

}  // namespace morva

#endif  // MORVA_RENAME_SERIAL_RULE_H_
