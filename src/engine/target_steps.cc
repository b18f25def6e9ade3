#include "engine/target_steps.h"

namespace morva {

// Attribute, timestamp, deletion and ID3 changes and the undo list arrive with their own issues.
// Validation refuses those jobs until then, so a walk never reaches these with one of them on; the
// steps leave the target as it is.
void RunAttributeStep(Session&, TargetWork*) {}
void RunTimestampStep(Session&, TargetWork*) {}
void RunDeletionStep(Session&, TargetWork*) {}
void RunId3Step(Session&, TargetWork*) {}
void RecordUndo(Session&, const TargetWork&) {}

}  // namespace morva
