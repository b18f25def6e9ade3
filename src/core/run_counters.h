#ifndef MORVA_CORE_RUN_COUNTERS_H_
#define MORVA_CORE_RUN_COUNTERS_H_

#include <cstdint>

namespace morva {

// The five counters of a run or of an undo.
struct RunCounters {
  std::int32_t full_success = 0;     // "完全成功"
  std::int32_t partial_success = 0;  // "一部成功"
  std::int32_t not_needed = 0;       // "変換不要"
  std::int32_t full_failure = 0;     // "完全失敗"
  std::int32_t processed = 0;        // "総数"
};

}  // namespace morva

#endif  // MORVA_CORE_RUN_COUNTERS_H_
