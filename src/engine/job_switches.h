#ifndef MORVA_ENGINE_JOB_SWITCHES_H_
#define MORVA_ENGINE_JOB_SWITCHES_H_

#include "engine/conversion_settings.h"

namespace morva {

// Which of the five kinds of change a job makes.
struct JobSwitches {
  bool name = false;        // SW_FNM != 0
  bool attributes = false;  // any SW_ATR entry
  bool times = false;       // any of the three SW_DTT times set
  bool deletion = false;    // SW_DEL[0]
  bool id3 = false;         // any SW_ID3 source set
};

inline JobSwitches JobSwitchesOf(const ConversionSettings& s) {
  JobSwitches j;
  j.name = s.sw_fnm != 0;
  for (bool on : s.sw_atr) j.attributes = j.attributes || on;
  for (int i = 0; i < 3; ++i) j.times = j.times || s.sw_dtt[i] > 0;
  j.deletion = s.sw_del[0];
  for (auto source : s.sw_id3) j.id3 = j.id3 || source > 0;
  return j;
}

}  // namespace morva

#endif  // MORVA_ENGINE_JOB_SWITCHES_H_
