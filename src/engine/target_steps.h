#ifndef MORVA_ENGINE_TARGET_STEPS_H_
#define MORVA_ENGINE_TARGET_STEPS_H_

#include "engine/session.h"
#include "core/target_work.h"

namespace morva {

// The steps of a run after the name step, one function each, called by the walk for the target in
// session.run.target with work->current_path as the path to change. Each records its own outcome in the
// change and failure words of *work; in preview mode each
// only computes what it would do.

// New attributes (work->new_attributes) and, in run mode, setting them.
void RunAttributeStep(Session& session, TargetWork* work);

// New creation, last-write and last-access times (work->time_texts) and, in run mode, writing them.
void RunTimestampStep(Session& session, TargetWork* work);

// Deletion of the current path (run mode only).
void RunDeletionStep(Session& session, TargetWork* work);

// The ID3 items and mode of an MP3 file and, in run mode, writing the tags.
void RunId3Step(Session& session, TargetWork* work);

// Remembers a changed target so that the run can be undone.
void RecordUndo(Session& session, const TargetWork& work);

}  // namespace morva

#endif  // MORVA_ENGINE_TARGET_STEPS_H_
