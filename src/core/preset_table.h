#ifndef MORVA_CORE_PRESET_TABLE_H_
#define MORVA_CORE_PRESET_TABLE_H_

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/conversion_settings.h"

namespace morva {

// The three kinds of named preset, each with its own table and file.
enum class PresetKind {
  kJob = 0,          // a whole job ("変換設定")
  kStatement = 1,    // the text of a control statement ("変換制御文")
  kReplacement = 2,  // a target string and its replacement ("文字列置換設定")
};

inline constexpr std::size_t kPresetSlotCount = 40;
inline constexpr std::size_t kPresetNameMax = 40;   // bytes of a name
inline constexpr std::size_t kPresetTextMax = 200;  // bytes of a statement or replacement payload

// One slot of a table. An empty name marks a free slot, whose payload is empty too.
struct PresetSlot {
  std::string name;
  std::unique_ptr<ConversionSettings> job;  // kJob: the stored job
  std::string text;  // kStatement: the statement; kReplacement: the target string, a tab, the replacement

  bool free() const { return name.empty(); }
  void Clear() {
    name.clear();
    job.reset();
    text.clear();
  }
};

// The table of one kind: 40 slots (named `entries`: Qt reserves the word "slots") and the name last saved
// or loaded, which the save dialog proposes.
struct PresetTable {
  explicit PresetTable(PresetKind k) : kind(k) {}

  void Clear() {
    for (PresetSlot& slot : entries) slot.Clear();
  }
  // The slot whose name is `name` byte for byte (names differing only in case are distinct presets);
  // -1 when none.
  int Find(std::string_view name) const {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (!entries[i].free() && entries[i].name == name) return static_cast<int>(i);
    }
    return -1;
  }
  // The first free slot; -1 when all 40 are taken.
  int FirstFree() const {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].free()) return static_cast<int>(i);
    }
    return -1;
  }

  PresetKind kind;
  std::array<PresetSlot, kPresetSlotCount> entries;
  std::string last_name;
};

// The three tables of one program, read at start-up.
struct Presets {
  PresetTable& of(PresetKind kind) {
    return kind == PresetKind::kJob ? job : kind == PresetKind::kStatement ? statement : replacement;
  }

  PresetTable job{PresetKind::kJob};
  PresetTable statement{PresetKind::kStatement};
  PresetTable replacement{PresetKind::kReplacement};
};

}  // namespace morva

#endif  // MORVA_CORE_PRESET_TABLE_H_
