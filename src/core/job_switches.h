#ifndef MORVA_CORE_JOB_SWITCHES_H_
#define MORVA_CORE_JOB_SWITCHES_H_

#include "core/conversion_settings.h"

namespace morva {

// Which of the five conversion jobs a settings record asks for. Validation and the run read the same
// switches, so both derive them here.
struct JobSwitches {
  // A name rule is selected: SW_FNM is not 0. The settings reader stores only 0-8 (a value outside is
  // refused and the field keeps what it had), so for a record read from a file this is SW_FNM 1-8; a
  // number outside that a record was given by hand counts as a name job, which validation refuses
  // with its number rather than have the job silently do nothing.
  bool name = false;
  bool attributes = false;  // an attribute is changed (any SW_ATR)
  bool times = false;       // a creation, last-write or last-access time is changed (SW_DTT[0..2] > 0)
  bool deletion = false;    // the targets are deleted (SW_DEL[0])
  bool id3 = false;         // an ID3 item is converted (any SW_ID3 > 0)

  bool any() const { return name || attributes || times || deletion || id3; }
};

// The job switches of `settings`. Cannot fail.
JobSwitches ComputeJobSwitches(const ConversionSettings& settings);

}  // namespace morva

#endif  // MORVA_CORE_JOB_SWITCHES_H_
