#ifndef MORVA_ENGINE_VALIDATION_H_
#define MORVA_ENGINE_VALIDATION_H_

#include "engine/session.h"
#include "engine/validation_verdict.h"

namespace morva {

// Checks the target settings and the job before a preview or run (or, with `job_only`, the job
// alone before it is saved as a preset). The first failing check decides the verdict: a refusal with
// its message and the setting to change, or a question proposing a change to the job; the person is
// not spoken to and nothing on disk changes. The job changes in one way only: a usable target path of
// directory mode is put in the form enumeration uses (the verdict says so). When the verdict accepts
// the job, the sort parameters of the enumeration (in `run`) are set, and a job of replacement
// patterns has them loaded there.
ValidationVerdict ValidateJob(Host& host, Job& job, RunState& run, bool job_only);

inline ValidationVerdict ValidateJob(Session& session, bool job_only) {
  return ValidateJob(session.host, session.job, session.run, job_only);
}

}  // namespace morva

#endif  // MORVA_ENGINE_VALIDATION_H_
