#ifndef MORVA_ENGINE_TARGET_STEPS_H_
#define MORVA_ENGINE_TARGET_STEPS_H_

#include "core/target_work.h"
#include "core/undo_list.h"
#include "engine/run_state.h"

namespace morva {

// The steps of a run after the name step, one function each, called by the walk for the target in
// walk.run.target with work->current_path as the path to change. Each records its own outcome in the
// change and failure words of *work; in preview mode each
// only computes what it would do.

// New attributes (work->new_attributes) and, in run mode, setting them.
void RunAttributeStep(const Walk& walk, TargetWork* work);

// New creation, last-write and last-access times (work->time_texts) and, in run mode, writing them.
void RunTimestampStep(const Walk& walk, TargetWork* work);

// Deletion of the current path (run mode only): into the trash, or permanently, its contents overwritten
// first when the job asks for it; sets kStepDeletion in the change or the failure word.
void RunDeletionStep(const Walk& walk, TargetWork* work);

// The ID3 items and mode of an MP3 file and, in run mode, writing the tags.
void RunId3Step(const Walk& walk, TargetWork* work);

// Remembers a changed target so that the run can be undone.
void RecordUndo(const TargetWork& work, UndoList* undo);

}  // namespace morva

#endif  // MORVA_ENGINE_TARGET_STEPS_H_
