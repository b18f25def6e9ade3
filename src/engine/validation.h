#ifndef MORVA_ENGINE_VALIDATION_H_
#define MORVA_ENGINE_VALIDATION_H_

#include "engine/session.h"

namespace morva {

// Checks the target settings and the job before a preview or run (or, with `job_only`, the job
// alone before it is saved as a preset). The first failing check shows its message, brings the page
// and control of the offending setting to the front, and makes the result false; nothing on disk
// changes. On success the sort parameters of the enumeration (in `run`) are set, and a job of
// replacement patterns has them loaded there.
bool ValidateJob(Host& host, Job& job, RunState& run, bool job_only);

inline bool ValidateJob(Session& session, bool job_only) {
  return ValidateJob(session.host, session.job, session.run, job_only);
}

}  // namespace morva

#endif  // MORVA_ENGINE_VALIDATION_H_
