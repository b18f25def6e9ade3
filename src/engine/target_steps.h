#ifndef MORVA_ENGINE_TARGET_STEPS_H_
#define MORVA_ENGINE_TARGET_STEPS_H_

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "core/conversion_settings.h"
#include "core/target_work.h"
#include "core/undo_list.h"
#include "engine/run_state.h"

namespace morva {

class RunJournal;

// The steps of a run after the name step, one function each, called by the walk for the target in
// walk.run.target with work->current_path as the path to change. Each records its own outcome in the
// change and failure words of *work; in preview mode each
// only computes what it would do.

// The attributes the job gives a target whose attributes are `current`: each attribute switched on in
// SW_ATR is set or cleared by its ATR_ONB bit; every other bit stays.
std::uint32_t ComputeNewAttributes(const ConversionSettings& settings, std::uint32_t current);

// The direct times of the job (SW_DTT mode 1: DTT_11/12, DTT_21/22, DTT_31/32), read once for a walk
// rather than once per target; a time whose direct value is not valid, or not asked for, is absent.
using DirectTimes = std::array<std::optional<FileTime>, 3>;
DirectTimes DirectTimesOf(const ConversionSettings& settings);

// The creation, last-write and last-access times (in that order in *times) that the modes of SW_DTT give
// the target in walk.run.target, from its times before the step, `direct`, the Exif date (OPT_2) of the
// file at `path` (where the name step left it) or the date in the name it had before the job. Returns the
// bit set of the times produced: 1 creation, 2 last write, 4 last access; a time whose mode is set but
// which cannot be had is left out.
int ComputeNewTimes(const Walk& walk, const DirectTimes& direct, std::string_view path,
                    std::array<FileTime, 3>* times);

// New attributes (work->new_attributes) and, in run mode when they differ, setting them: success
// remembers the old ones for the undo, failure falls back to them. `journal` (null in preview mode)
// notes the change before it is made.
void RunAttributeStep(const Walk& walk, TargetWork* work, RunJournal* journal);

// New times. Preview mode: work->time_texts receive the new times. Run mode: the times that differ are
// written (a read-only file is writable for the moment and read-only again afterwards), with their old
// texts in work->time_texts and the new in work->new_time_texts; a time asked for that cannot be had,
// or a failed write, fails the step and changes nothing. `journal` (null in preview mode) notes the
// change before it is made.
void RunTimestampStep(const Walk& walk, const DirectTimes& direct, TargetWork* work, RunJournal* journal);

// Deletion of the current path: into the trash, or permanently, its contents overwritten first when the
// job asks for it; sets kStepDeletion in the change or the failure word. Preview mode deletes nothing
// and sets the failure when the deletion would fail before it began (FileSystem::ProbeDeletion).
void RunDeletionStep(const Walk& walk, TargetWork* work);

// The ID3 items and mode of an MP3 file and, in run mode, writing the tags. With `pending`, a write
// whose flush may wait for one of many files is handed over unfinished (see WriteId3); the target's
// change then still depends on its Finish.
void RunId3Step(const Walk& walk, TargetWork* work, std::unique_ptr<Id3PendingWrite>* pending);

// Remembers a changed target so that the run can be undone.
void RecordUndo(const TargetWork& work, UndoList* undo);

}  // namespace morva

#endif  // MORVA_ENGINE_TARGET_STEPS_H_
