#include "core/job_switches.h"

#include <algorithm>

namespace morva {

JobSwitches ComputeJobSwitches(const ConversionSettings& settings) {
  JobSwitches jobs;
  jobs.name = NameRuleOf(settings.sw_fnm) != NameRule::kNone;
  jobs.attributes = std::any_of(settings.sw_atr.begin(), settings.sw_atr.end(), [](bool on) { return on; });
  // Entries 3 and 4 of SW_DTT are the forms of dates read from names, not times to change.
  jobs.times = std::any_of(settings.sw_dtt.begin(), settings.sw_dtt.begin() + 3, [](std::int16_t m) { return m > 0; });
  jobs.deletion = settings.sw_del[0];
  jobs.id3 = std::any_of(settings.sw_id3.begin(), settings.sw_id3.end(), [](std::int16_t s) { return s > 0; });
  return jobs;
}

}  // namespace morva
