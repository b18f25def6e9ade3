#ifndef MORVA_ENGINE_PLAN_H_
#define MORVA_ENGINE_PLAN_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/preview_record.h"
#include "platform/file_system.h"

namespace morva {

// What the name rule gave one target in a preview: a new name or none, and the failure bits it set. A
// run after the preview takes it instead of applying the rule again, so that serial numbers, dates and
// tags come out as the preview showed them whatever changed or was excluded since.
struct PlannedName {
  bool named = false;
  std::string new_name;
  std::uint32_t rule_failure = 0;
};

// One target as the preview saw it.
struct PlannedTarget {
  bool walked = false;          // the preview reached it (it had not vanished since the listing)
  FileIdentity identity;        // the entry the preview saw there
  std::uint32_t attributes = 0;  // its attributes then (file or directory, for the log line of a failure)
  PlannedName name;             // with a name job
};

// A preview's result, which the front end holds while it shows the records and hands back to the run
// that follows: the run converts exactly these targets, those the person left in, as the preview saw
// them. A target that is no longer the entry the preview saw fails, and an entry that appeared since
// is not touched.
struct Plan {
  std::vector<std::string> paths;      // the targets in conversion order
  std::vector<PlannedTarget> targets;  // by position in `paths`
  std::vector<PreviewRecord> records;  // one per target walked; record.index is its position
};

}  // namespace morva

#endif  // MORVA_ENGINE_PLAN_H_
