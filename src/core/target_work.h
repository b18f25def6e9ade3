#ifndef MORVA_CORE_TARGET_WORK_H_
#define MORVA_CORE_TARGET_WORK_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace morva {

// Bits of the failure word and the change word of one target. The first five name the job step; the
// failure word alone also has the two causes.
inline constexpr std::uint32_t kStepName = 0x01;  // name change, or the copy of copy conversion
inline constexpr std::uint32_t kStepAttributes = 0x02;
inline constexpr std::uint32_t kStepTimes = 0x04;
inline constexpr std::uint32_t kStepDeletion = 0x08;
inline constexpr std::uint32_t kStepId3 = 0x10;
inline constexpr std::uint32_t kFailPathTooLong = 0x100;
inline constexpr std::uint32_t kFailOther = 0x200;  // a regular expression or memory

// ID3 mode of a target whose file cannot be opened.
inline constexpr int kId3CannotOpen = 255;

// The working state of the target being converted, reset for each target.
struct TargetWork {
  std::uint32_t failure = 0;
  std::uint32_t change = 0;
  std::string current_path;   // what later steps work on: the old path, the new path or the copy
  std::string previous_path;  // the old path after a move or copy, else empty
  std::string new_name;       // the name the name step computed (the old name when it did not run)
  std::uint32_t old_attributes = 0;  // before a successful attribute change, else 0
  // The write permission bits a successful change to read-only took (FindData::write_bits), else 0.
  std::uint32_t old_write_bits = 0;
  std::uint32_t new_attributes = 0;
  // Creation, last write, last access: in run mode the old times of the times changed, in preview mode
  // the new times; "YYYY/MM/DD hh:mm:ss.SSS" local time, empty when not touched.
  std::array<std::string, 3> time_texts;
  // Run mode: the new times of the times changed, in the same form, for the log; else empty.
  std::array<std::string, 3> new_time_texts;
  // Title, artist, album, track number, release year, comment, genre.
  std::array<std::optional<std::string>, 7> id3_items;
  int id3_mode = 0;
  int id3_write_result = 0;
};

}  // namespace morva

#endif  // MORVA_CORE_TARGET_WORK_H_
