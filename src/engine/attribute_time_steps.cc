// The attribute step and the timestamp step of the walk: a target's attributes and times changed in
// place, after its name step.

#include <array>
#include <string>

#include "engine/media_probe.h"
#include "engine/run_journal.h"
#include "engine/target_steps.h"
#include "fileops/date_time_text.h"
#include "fileops/name_date.h"

namespace morva {
namespace {

// The times in the order of SW_DTT: creation, last write, last access.
constexpr int kTimeCount = 3;

// The attribute bit that each SW_ATR switch (and the ATR_ONB bit of the same position) changes.
constexpr std::uint32_t kSwitchedAttribute[4] = {kAttrReadOnly, kAttrHidden, kAttrArchive, kAttrSystem};

// A direct date and time, or an Exif date split into its date and time, as a file time.
bool TextToTime(std::string_view date, std::string_view time, FileTime* out) {
  return validate_date_time(date, time, false) && local_text_to_file_time(date, time, out);
}

}  // namespace

std::uint32_t ComputeNewAttributes(const ConversionSettings& settings, std::uint32_t current) {
  std::uint32_t attributes = current;
  for (int i = 0; i < 4; ++i) {
    if (!settings.sw_atr[i]) continue;
    if (settings.atr_onb & (1u << i)) {
      attributes |= kSwitchedAttribute[i];
    } else {
      attributes &= ~kSwitchedAttribute[i];
    }
  }
  return attributes;
}

DirectTimes DirectTimesOf(const ConversionSettings& settings) {
  DirectTimes direct;
  for (std::size_t i = 0; i < direct.size(); ++i) {
    FileTime value = 0;
    if (settings.sw_dtt[i] == 1 && TextToTime(settings.dtt_date[i].view(), settings.dtt_time[i].view(), &value)) {
      direct[i] = value;
    }
  }
  return direct;
}

int ComputeNewTimes(const Walk& walk, const DirectTimes& direct, std::string_view path,
                    std::array<FileTime, 3>* times) {
  const ConversionSettings& s = walk.job.settings;
  const TargetContext& target = walk.run.target;
  const FindData& data = target.find_data;
  // What each time is before the step, so that one job can swap two of them.
  const FileTime current[kTimeCount] = {data.creation_time, data.last_write_time, data.last_access_time};
  // The time each mode 2 and mode 3 copies: creation takes last write or last access, last write takes
  // creation or last access, last access takes creation or last write.
  constexpr int kOther[kTimeCount][2] = {{1, 2}, {0, 2}, {0, 1}};

  bool exif_read = false, have_exif = false, name_read = false, have_name_date = false;
  FileTime exif_time = 0, name_time = 0;
  int produced = 0;
  for (int i = 0; i < kTimeCount; ++i) {
    FileTime value = 0;
    bool ok = false;
    switch (s.sw_dtt[i]) {
      case 1:
        ok = direct[static_cast<std::size_t>(i)].has_value();
        value = direct[static_cast<std::size_t>(i)].value_or(0);
        break;
      case 2:
      case 3:
        value = current[kOther[i][s.sw_dtt[i] - 2]];
        ok = true;
        break;
      case 4:
        if (!exif_read) {
          exif_read = true;
          std::string text;  // "YYYY:MM:DD hh:mm:ss"
          have_exif = !target.is_directory && HasExifDate(walk.exif, walk.job.app, path, &text) &&
                      text.size() >= 19 && TextToTime(std::string_view(text).substr(0, 10),
                                                      std::string_view(text).substr(11, 8), &exif_time);
        }
        value = exif_time;
        ok = have_exif;
        break;
      case 5:
        if (!name_read) {
          name_read = true;
          // The name the target had before the job, in the preview and the run alike, so that the preview
          // predicts the run even when the name step renames the target first.
          have_name_date = date_from_file_name(target.base, static_cast<NameDateFormat>(s.sw_dtt[3] == 1),
                                               static_cast<NameTimeFormat>(s.sw_dtt[4] & 3), &name_time);
        }
        value = name_time;
        ok = have_name_date;
        break;
      default:
        break;
    }
    if (!ok) continue;
    (*times)[static_cast<std::size_t>(i)] = value;
    produced |= 1 << i;
  }
  return produced;
}

void RunAttributeStep(const Walk& walk, TargetWork* work, RunJournal* journal) {
  const std::uint32_t current = walk.run.target.find_data.attributes;
  const std::uint32_t wanted = ComputeNewAttributes(walk.job.settings, current);
  work->new_attributes = wanted;
  if (walk.run.mode == RunMode::kPreview || wanted == current) return;
  if (journal != nullptr) journal->NoteAttributes(current, wanted);
  if (walk.host.fs.SetAttributes(work->current_path, wanted).ok()) {
    work->change |= kStepAttributes;
    work->old_attributes = current;
    if ((wanted & kAttrReadOnly) && !(current & kAttrReadOnly)) {
      work->old_write_bits = walk.run.target.find_data.write_bits;
    }
  } else {
    work->failure |= kStepAttributes;
    work->new_attributes = current;
  }
}

void RunTimestampStep(const Walk& walk, const DirectTimes& direct, TargetWork* work, RunJournal* journal) {
  const ConversionSettings& s = walk.job.settings;
  std::array<FileTime, 3> wanted{};
  const int produced = ComputeNewTimes(walk, direct, work->current_path, &wanted);
  for (int i = 0; i < kTimeCount; ++i) {
    if (s.sw_dtt[i] > 0 && !(produced & (1 << i))) {
      work->failure |= kStepTimes;
      return;
    }
  }
  if (produced == 0) return;

  if (walk.run.mode == RunMode::kPreview) {
    for (int i = 0; i < kTimeCount; ++i) {
      if ((produced & (1 << i)) && !format_file_time(wanted[i], true, &work->time_texts[i])) {
        work->failure |= kStepTimes;
        return;
      }
    }
    return;
  }

  const FindData& data = walk.run.target.find_data;
  const FileTime current[kTimeCount] = {data.creation_time, data.last_write_time, data.last_access_time};
  int change = 0;
  for (int i = 0; i < kTimeCount; ++i) {
    if (!(produced & (1 << i)) || wanted[i] == current[i]) continue;
    // The old time goes to the log and the undo record; a time that cannot be written down could not be
    // put back, so it is not changed.
    if (!format_file_time(current[i], true, &work->time_texts[i]) ||
        !format_file_time(wanted[i], true, &work->new_time_texts[i])) {
      work->time_texts = {};
      work->new_time_texts = {};
      work->failure |= kStepTimes;
      return;
    }
    change |= 1 << i;
  }
  if (change == 0) return;  // not needed

  FileSystem& fs = walk.host.fs;
  const std::string& path = work->current_path;
  // Read-only stops a change of the creation time, kept beside the file; a directory's read-only flag
  // stops nothing.
  const std::uint32_t attributes = work->new_attributes;
  const bool lift_read_only = (attributes & kAttrReadOnly) && !(attributes & kAttrDirectory);
  if (journal != nullptr) journal->NoteTimes(work->time_texts, work->new_time_texts, lift_read_only, attributes);
  bool ok = !lift_read_only || fs.SetAttributes(path, attributes & ~kAttrReadOnly).ok();
  if (ok) {
    ok = fs.SetTimes(path, (change & 1) ? &wanted[0] : nullptr, (change & 4) ? &wanted[2] : nullptr,
                     (change & 2) ? &wanted[1] : nullptr)
             .ok();
  }
  // The times are set, but a target left without its read-only flag is not as it was: that is a failure
  // too, and the flag is still asked for in the undo.
  const bool restored = !lift_read_only || fs.SetAttributes(path, attributes).ok();
  if (ok) work->change |= kStepTimes;
  if (!ok || !restored) work->failure |= kStepTimes;
  if (!ok) {
    work->time_texts = {};
    work->new_time_texts = {};
  }
}

}  // namespace morva
