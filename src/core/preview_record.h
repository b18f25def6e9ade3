#ifndef MORVA_CORE_PREVIEW_RECORD_H_
#define MORVA_CORE_PREVIEW_RECORD_H_

#include <cstdint>
#include <string>

namespace morva {

// Preview states. A negative state is the same state with the target excluded from the run.
inline constexpr std::int16_t kPreviewWillChange = 1;
inline constexpr std::int16_t kPreviewError = 2;
inline constexpr std::int16_t kPreviewNoChange = 3;

// What the run would do to one target, in words. Texts are code page 932; an empty text is an absent
// column.
struct PreviewRecord {
  int index = 0;                   // position in the preview, from 0 (also the target's position)
  std::int16_t state = kPreviewNoChange;
  bool is_directory = false;       // for the "[Dir] " / "[File] " prefix
  std::string path;                // the target's full path
  std::string old_attributes;      // attribute letters before conversion (attribute or time job)
  std::string name_column;         // the new name, or why naming fails
  std::string attribute_column;    // the new attribute letters, or "属性変換失敗"
  std::string time_column;         // the time change, or "日時変換失敗"
  std::string deletion_column;
  std::string id3_column;
  std::uint32_t failure_word = 0;
};

}  // namespace morva

#endif  // MORVA_CORE_PREVIEW_RECORD_H_
