#include "engine/target_steps.h"

namespace morva {

// ID3 changes arrive with their own issue. Validation refuses that job until then, so a walk never
// reaches this with it on; the step leaves the target as it is. The other steps are in
// attribute_time_steps.cc and deletion_step.cc.
void RunId3Step(const Walk&, TargetWork*) {}

void RecordUndo(const TargetWork& work, UndoList* undo) {
  UndoRecord record;
  record.current_path = work.current_path;
  if (work.change & kStepName) record.restore_path = work.previous_path;
  if (work.change & kStepAttributes) {
    // A target that had no attribute at all still has something to restore: the empty set.
    record.attributes = work.old_attributes != 0 ? work.old_attributes : kUndoEmptyAttributes;
  }
  if (work.change & kStepTimes) {
    record.creation_time = work.time_texts[0];
    record.write_time = work.time_texts[1];
    record.access_time = work.time_texts[2];
  }
  undo->Push(std::move(record));
}

}  // namespace morva
