#ifndef MORVA_ENGINE_PREVIEW_BUILDER_H_
#define MORVA_ENGINE_PREVIEW_BUILDER_H_

#include <array>
#include <string>

#include "core/job_switches.h"
#include "engine/session.h"
#include "core/target_work.h"

namespace morva {

// Builds the preview records of one preview walk. The preview touches nothing on disk, so the checks the
// file system would make in the run (name taken, forbidden characters, empty name, path too long) are
// made here, against a listing of the target's directory that follows the renames accepted so far: the
// preview predicts the run's failures. One builder lives for one walk.
class PreviewBuilder {
 public:
  PreviewBuilder(Host& host, const Job& job, RunState& run);
  PreviewBuilder(const PreviewBuilder&) = delete;
  PreviewBuilder& operator=(const PreviewBuilder&) = delete;

  // Describes the target in the run's target after the preview steps left `work`: appends one
  // PreviewRecord (the next index) to the run's preview and counts it (full success for will-change and
  // no-change, full failure for an error). The record's failure word is `work.failure` plus what the
  // checks found.
  void Build(const TargetWork& work);

 private:
  struct Texts {
    std::string path_too_long_after;  // "変換後パス最大長超えにより失敗"
    std::string bad_pattern;          // "正規表現不正またはメモリ不足により失敗"
    std::string path_too_long;        // "パス最大長超えにより失敗"
    std::string name_too_long;        // "変換後パス最大長超えにより失敗："
    std::string name_empty;           // "変換後名称がNULLになるため失敗"
    std::string name_bad_char;        // "ファイル名として使用不可文字の存在により失敗："
    std::string name_exists;          // "既に存在する名称への変換により失敗："
    std::string name_failed;          // "名称変換失敗："
    std::string attributes_failed;    // "属性変換失敗"
    std::string times_failed;         // "日時変換失敗"
    std::array<std::string, 3> time_labels;
    std::string time_value_sep;       // "："
    std::string arrow;                // "→"
    std::string deletion_failed;
    std::string deletion;
    std::string wipe_level;           // "（復元不可削除［レベル%d］）" cut at the number
    std::string wipe_level_end;
    std::string no_recycle_bin;
    std::string recycle_bin_unusable;
    std::string recycle_bin_used;
    std::string id3_open_failed;
    std::string id3_restored, id3_leftover_copy;  // a safety copy left by a killed write
    std::string id3_text_unconvertible;
    std::string id3_items_missing;    // "ID3情報項目取得不可により失敗（"
    std::string id3_items_missing_end;
    std::string id3_none;
    std::string id3_v1_convert, id3_v1_add, id3_v2_convert, id3_v2_add;
    std::array<std::string, 7> id3_item_names;
    std::string open_bracket, close_bracket;  // "【" "】"
  };

  // The name column; may add kStepName to *failure and set *will_change.
  std::string NameColumn(const TargetWork& work, std::uint32_t* failure, bool* will_change);
  std::string TimeColumn(const TargetWork& work, bool* will_change) const;
  std::string DeletionColumn(const TargetWork& work) const;
  std::string Id3Column(const TargetWork& work, bool* will_change) const;

  Host& host_;
  const Job& job_;
  RunState& run_;
  JobSwitches jobs_;
  Texts texts_;
};

}  // namespace morva

#endif  // MORVA_ENGINE_PREVIEW_BUILDER_H_
