#ifndef MORVA_CORE_PREVIEW_RECORD_H_
#define MORVA_CORE_PREVIEW_RECORD_H_

#include <cstdint>
#include <string>
#include <vector>

namespace morva {

// Preview states. A negative state is the same state with the target excluded from the run.
inline constexpr std::int16_t kPreviewWillChange = 1;
inline constexpr std::int16_t kPreviewError = 2;
inline constexpr std::int16_t kPreviewNoChange = 3;

// The columns of the jobs besides naming.
enum class PreviewColumn {
  kOldAttributes,  // attribute letters before conversion (attribute or time job)
  kAttributes,     // the new attribute letters, or "属性変換失敗"
  kTimes,          // the time change, or "日時変換失敗"
  kDeletion,
  kId3,
};

// How the person ended a preview shown to them.
enum class PreviewChoice {
  kCancel,   // "キャンセル" or closed
  kRun,      // "変換開始"
  kCopyRun,  // "コピー変換", the output directory chosen and stored in the application settings
};

// What the run would do to one target, in words. Texts are code page 932; an empty text is an absent
// column. A preview holds one per target, so a record is kept small: the target's path is the run's
// (its targets at `index`), and the columns of the other jobs take room only in a job that has them.
struct PreviewRecord {
  int index = 0;                   // the target's position in the run's targets
  std::int16_t state = kPreviewNoChange;
  bool is_directory = false;       // for the "[Dir] " / "[File] " prefix
  std::uint32_t failure_word = 0;
  std::string name_column;         // the new name, or why naming fails

  // The text of `column`; empty when the job has no such column.
  const std::string& column(PreviewColumn column) const {
    static const std::string kEmpty;
    const auto i = static_cast<std::size_t>(column);
    return i < other_columns_.size() ? other_columns_[i] : kEmpty;
  }
  std::string& mutable_column(PreviewColumn column) {
    const auto i = static_cast<std::size_t>(column);
    if (other_columns_.size() <= i) other_columns_.resize(i + 1);
    return other_columns_[i];
  }

 private:
  std::vector<std::string> other_columns_;
};

}  // namespace morva

#endif  // MORVA_CORE_PREVIEW_RECORD_H_
