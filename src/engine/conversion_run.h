#ifndef MORVA_ENGINE_CONVERSION_RUN_H_
#define MORVA_ENGINE_CONVERSION_RUN_H_

#include "engine/session.h"

namespace morva {

// Validates the job, enumerates the targets and walks them, in preview mode (nothing on disk changes;
// the preview dialog shows what would happen and may start the run) or in run mode (asks for
// confirmation, converts, shows the summary). The current settings in `session` are used as they
// stand (the front end collects them first). Returns true after a preview was shown (or the
// directory-mode target was missing), false when the person declined, validation failed, or a run
// finished; `session.counters` and `session.cancelled` tell how the last walk went.
bool StartConversion(Session& session, RunMode mode, bool copy_conversion);

}  // namespace morva

#endif  // MORVA_ENGINE_CONVERSION_RUN_H_
