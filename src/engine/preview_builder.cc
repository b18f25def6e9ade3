#include "engine/preview_builder.h"

#include <string_view>

#include "platform/engine_text.h"
#include "engine/name_step.h"
#include "platform/host_paths.h"
#include "platform/path_utils.h"
#include "fileops/date_time_text.h"
#include "platform/cp932.h"

namespace morva {
namespace {

// A column text is at most this many bytes; a longer one is cut at a character boundary.
constexpr std::size_t kMaxColumnText = 264;

std::string CutText(std::string text) {
  if (text.size() <= kMaxColumnText) return text;
  std::size_t end = kMaxColumnText;
  if (cp932::IsTrailAt(text, end)) --end;  // the character at the cut would lose its second byte
  text.resize(end);
  return text;
}

// The first byte of `name` that a file name cannot hold (double-byte characters are not tested), or
// true for "." and "..", which name the directory itself or its parent.
bool HasForbiddenCharacter(std::string_view name) {
  return name == "." || name == ".." || HasForbiddenNameChar(name);
}

}  // namespace

PreviewBuilder::PreviewBuilder(Host& host, const Job& job, RunState& run)
    : host_(host), job_(job), run_(run), jobs_(ComputeJobSwitches(job.settings)) {
  TextCodec& c = host.codec;
  Texts& t = texts_;
  t.path_too_long_after = Cp932Text(c, "変換後パス最大長超えにより失敗");
  t.bad_pattern = Cp932Text(c, "正規表現不正またはメモリ不足により失敗");
  t.path_too_long = Cp932Text(c, "パス最大長超えにより失敗");
  t.name_too_long = Cp932Text(c, "変換後パス最大長超えにより失敗：");
  t.name_empty = Cp932Text(c, "変換後名称がNULLになるため失敗");
  t.name_bad_char = Cp932Text(c, "ファイル名として使用不可文字の存在により失敗：");
  t.name_exists = Cp932Text(c, "既に存在する名称への変換により失敗：");
  t.name_failed = Cp932Text(c, "名称変換失敗：");
  t.attributes_failed = Cp932Text(c, "属性変換失敗");
  t.times_failed = Cp932Text(c, "日時変換失敗");
  t.time_labels = {Cp932Text(c, "[作成日時]"), Cp932Text(c, "[更新日時]"), Cp932Text(c, "[アクセス日時]")};
  t.time_value_sep = Cp932Text(c, "：");
  t.arrow = Cp932Text(c, "→");
  t.deletion_failed = Cp932Text(c, "ファイル削除失敗");
  t.deletion = Cp932Text(c, "ファイル削除");
  t.wipe_level = Cp932Text(c, "（復元不可削除［レベル");
  t.wipe_level_end = Cp932Text(c, "］）");
  t.no_recycle_bin = Cp932Text(c, "（ごみ箱不使用）");
  t.recycle_bin_unusable = Cp932Text(c, "（ごみ箱使用不可）");
  t.recycle_bin_used = Cp932Text(c, "（ごみ箱使用）");
  t.id3_open_failed = Cp932Text(c, "対象ファイルオープンに失敗");
  t.id3_restored = Cp932Text(c, "中断された書き込みの安全コピーから復元（ID3情報は変換しない）");
  t.id3_leftover_copy = Cp932Text(c, "中断された書き込みの安全コピーが残存するため失敗");
  t.id3_text_unconvertible = Cp932Text(c, "ID3v2の文字コード変換に失敗");
  t.id3_items_missing = Cp932Text(c, "ID3情報項目取得不可により失敗（");
  t.id3_items_missing_end = Cp932Text(c, "）");
  t.id3_none = Cp932Text(c, "ID3情報変換なし");
  t.id3_v1_convert = Cp932Text(c, "ID3v1変換");
  t.id3_v1_add = Cp932Text(c, "ID3v1付加");
  t.id3_v2_convert = Cp932Text(c, "ID3v2変換");
  t.id3_v2_add = Cp932Text(c, "ID3v2付加");
  t.id3_item_names = {Cp932Text(c, "タイトル"), Cp932Text(c, "アーティスト"), Cp932Text(c, "アルバム"),
                      Cp932Text(c, "トラック番号"), Cp932Text(c, "リリース年"), Cp932Text(c, "コメント"),
                      Cp932Text(c, "ジャンル")};
  t.open_bracket = Cp932Text(c, "【");
  t.close_bracket = Cp932Text(c, "】");
}

std::string PreviewBuilder::NameColumn(const TargetWork& work, std::uint32_t* failure, bool* will_change) {
  const TargetContext& target = run_.target;
  const std::string& new_name = work.new_name;
  if (new_name == target.name) return new_name;

  DirectoryCache& names = DirectoryNames(host_.fs, run_, target.directory);
  const std::string* reason = nullptr;
  if (DestinationDirectory(job_, run_, target.path).size() + new_name.size() > kMaxPath) {
    reason = &texts_.name_too_long;
  } else if (new_name.empty()) {
    *failure |= kStepName;
    return texts_.name_empty;
  } else if (HasForbiddenCharacter(new_name) || !HostCanHoldName(&host_.codec, new_name)) {
    reason = &texts_.name_bad_char;
  } else if (names.Collides(target.name, new_name)) {
    reason = &texts_.name_exists;
  } else if (*failure & kStepName) {
    reason = &texts_.name_failed;
  }
  if (reason != nullptr) {
    *failure |= kStepName;
    return CutText(*reason + new_name);
  }
  *will_change = true;
  names.Rename(target.name, new_name);
  return new_name;
}

std::string PreviewBuilder::TimeColumn(const TargetWork& work, bool* will_change) const {
  if (work.failure & kStepTimes) return texts_.times_failed;
  const FindData& data = run_.target.find_data;
  const FileTime old_times[3] = {data.creation_time, data.last_write_time, data.last_access_time};
  std::string column;
  for (int i = 0; i < 3; ++i) {
    const std::string& new_text = work.time_texts[i];
    if (new_text.empty()) continue;
    std::string old_text;
    if (!format_file_time(old_times[i], true, &old_text)) old_text.clear();
    column += texts_.time_labels[i] + texts_.time_value_sep + old_text;
    if (old_text != new_text) {
      column += texts_.arrow + new_text;
      *will_change = true;
    }
    column += ", ";
  }
  if (column.size() > 10) column.resize(column.size() - 2);
  return column;
}

std::string PreviewBuilder::DeletionColumn(const TargetWork& work) const {
  if (work.failure & kStepDeletion) return texts_.deletion_failed;
  const ConversionSettings& s = job_.settings;
  std::string column = texts_.deletion;
  if (s.sw_del[1] && s.sw_del[2]) {
    column += texts_.wipe_level + std::to_string(s.del_01) + texts_.wipe_level_end;
  } else if (s.sw_del[1]) {
    column += texts_.no_recycle_bin;
  } else if (run_.recycle_bin_state == 0) {
    column += texts_.recycle_bin_unusable;
  } else {
    // The deletion step found a trash on this target's own file system that keeps it (else the target
    // failed above), whatever the home trash is like.
    column += texts_.recycle_bin_used;
  }
  return column;
}

std::string PreviewBuilder::Id3Column(const TargetWork& work, bool* will_change) const {
  if (work.id3_mode == kId3CannotOpen) return texts_.id3_open_failed;
  const ConversionSettings& s = job_.settings;
  *will_change = true;
  std::string column;
  if (work.failure & kStepId3) {
    if (work.id3_write_result == kId3Restored) return texts_.id3_restored;
    if (work.id3_write_result == kId3LeftoverCopy) return texts_.id3_leftover_copy;
    if (work.id3_write_result == kId3OpenFailed) return texts_.id3_open_failed;
    if (work.id3_write_result == kId3TextUnconvertible) return texts_.id3_text_unconvertible;
    column = texts_.id3_items_missing;
    bool first = true;
    for (std::size_t i = 0; i < work.id3_items.size(); ++i) {
      if (s.sw_id3[i] <= 0 || work.id3_items[i].has_value()) continue;
      if (!first) column += ", ";
      column += texts_.id3_item_names[i];
      first = false;
    }
    return column + texts_.id3_items_missing_end;
  }
  if (work.id3_mode == 0) {
    *will_change = false;
    return texts_.id3_none;
  }
  // The mode holds the bits of ID3_CTS that applied to this file.
  using Settings = ConversionSettings;
  const bool v1 = (work.id3_mode & (Settings::kId3ConvertV1 | Settings::kId3AddV1)) != 0;
  const bool v2 = (work.id3_mode & (Settings::kId3ConvertV2 | Settings::kId3AddV2)) != 0;
  if (work.id3_mode & Settings::kId3ConvertV1) {
    column += texts_.id3_v1_convert;
  } else if (work.id3_mode & Settings::kId3AddV1) {
    column += texts_.id3_v1_add;
  }
  if (v1 && v2) column += ", ";
  if (work.id3_mode & Settings::kId3ConvertV2) {
    column += texts_.id3_v2_convert;
  } else if (work.id3_mode & Settings::kId3AddV2) {
    column += texts_.id3_v2_add;
  }
  column += texts_.time_value_sep;
  bool any = false;
  for (std::size_t i = 0; i < work.id3_items.size(); ++i) {
    if (s.sw_id3[i] <= 0) continue;
    // The genre arrives as its name from the ID3 step, which owns the genre table.
    column += texts_.id3_item_names[i] + texts_.open_bracket + work.id3_items[i].value_or(std::string()) +
              texts_.close_bracket + ", ";
    any = true;
  }
  if (any) column.resize(column.size() - 2);
  return column;
}

void PreviewBuilder::Build(const TargetWork& work) {
  const TargetContext& target = run_.target;
  const AppSettings& app = job_.app;
  PreviewRecord record;
  record.index = static_cast<int>(run_.preview.size());
  record.is_directory = target.is_directory;
  std::uint32_t failure = work.failure;
  if (jobs_.attributes || jobs_.times) record.mutable_column(PreviewColumn::kOldAttributes) = format_attributes(target.find_data.attributes);

  // A target that is itself too long is reported as such, whatever the steps made of it.
  const std::string* general = nullptr;
  if (target.path.size() > kMaxPath) {
    general = &texts_.path_too_long;
    failure |= kFailPathTooLong;
  } else if (failure & kFailPathTooLong) {
    general = &texts_.path_too_long_after;
  } else if (failure & kFailOther) {
    general = &texts_.bad_pattern;
  }

  bool will_change = false;
  if (general != nullptr) {
    std::string* first = jobs_.name         ? &record.name_column
                         : jobs_.attributes ? &record.mutable_column(PreviewColumn::kAttributes)
                         : jobs_.times      ? &record.mutable_column(PreviewColumn::kTimes)
                         : jobs_.deletion   ? &record.mutable_column(PreviewColumn::kDeletion)
                         : jobs_.id3        ? &record.mutable_column(PreviewColumn::kId3)
                                            : nullptr;
    if (first != nullptr) *first = *general;
  } else {
    if (jobs_.name) record.name_column = NameColumn(work, &failure, &will_change);
    if (jobs_.attributes) {
      if (failure & kStepAttributes) {
        record.mutable_column(PreviewColumn::kAttributes) = texts_.attributes_failed;
      } else {
        record.mutable_column(PreviewColumn::kAttributes) = format_attributes(work.new_attributes);
        if (work.new_attributes != target.find_data.attributes) will_change = true;
      }
    }
    if (jobs_.times) record.mutable_column(PreviewColumn::kTimes) = TimeColumn(work, &will_change);
    if (jobs_.deletion) {
      record.mutable_column(PreviewColumn::kDeletion) = DeletionColumn(work);
      will_change = true;
    }
    if (jobs_.id3) record.mutable_column(PreviewColumn::kId3) = Id3Column(work, &will_change);
  }

  if (failure != 0) {
    record.state = app.sw_pre[AppSettings::kPreExcludeFailures] ? -kPreviewError : kPreviewError;
    ++run_.counters.full_failure;
  } else {
    if (will_change) {
      record.state = kPreviewWillChange;
    } else {
      record.state = app.sw_pre[AppSettings::kPreExcludeNoChange] ? -kPreviewNoChange : kPreviewNoChange;
    }
    ++run_.counters.full_success;
  }
  record.failure_word = failure;
  run_.preview.push_back(std::move(record));
}

}  // namespace morva
