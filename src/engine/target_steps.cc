#include "engine/target_steps.h"

namespace morva {

void RecordUndo(const TargetWork& work, UndoList* undo) {
  UndoRecord record;
  record.current_path = work.current_path;
  if (work.change & kStepName) record.restore_path = work.previous_path;
  if (work.change & kStepAttributes) {
    // A target that had no attribute at all still has something to restore: the empty set.
    record.attributes = work.old_attributes != 0 ? work.old_attributes : kUndoEmptyAttributes;
    record.write_bits = work.old_write_bits;
  }
  if (work.change & kStepTimes) {
    record.creation_time = work.time_texts[0];
    record.write_time = work.time_texts[1];
    record.access_time = work.time_texts[2];
  }
  undo->Push(std::move(record));
}

}  // namespace morva
