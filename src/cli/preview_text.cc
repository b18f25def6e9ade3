#include "cli/preview_text.h"

#include <cstdio>
#include <string>

#include "platform/display_text.h"

namespace morva {
namespace {

// The preview's columns besides the name: which job shows it, its JSON name, its title in the dialog,
// and the step whose failure it reports (0: none).
struct DetailColumn {
  PreviewColumn column;
  std::string_view key;
  std::string_view title;
  std::uint32_t step;
};
constexpr DetailColumn kDetailColumns[] = {
    {PreviewColumn::kOldAttributes, "old_attributes", "属性", 0},
    {PreviewColumn::kAttributes, "attributes", "変換後属性", kStepAttributes},
    {PreviewColumn::kTimes, "times", "日時変換", kStepTimes},
    {PreviewColumn::kDeletion, "deletion", "ファイル削除", kStepDeletion},
    {PreviewColumn::kId3, "id3", "ID3情報変換", kStepId3},
};

bool InForce(PreviewColumn column, const JobSwitches& kinds) {
  switch (column) {
    case PreviewColumn::kOldAttributes:
      return kinds.attributes || kinds.times;
    case PreviewColumn::kAttributes:
      return kinds.attributes;
    case PreviewColumn::kTimes:
      return kinds.times;
    case PreviewColumn::kDeletion:
      return kinds.deletion;
    case PreviewColumn::kId3:
      return kinds.id3;
  }
  return false;
}

bool Fails(const PreviewRecord& record) { return record.state == kPreviewError || record.state == -kPreviewError; }

void AppendReason(std::string_view text, std::string* reason) {
  if (text.empty() || reason->find(text) != std::string::npos) return;
  if (!reason->empty()) *reason += ' ';
  *reason += text;
}

}  // namespace

ReportRow PreviewRow(FileSystem& fs, TextCodec& codec, const ConsoleText& text, const PreviewRecord& record,
                     std::string_view path, std::string_view destination_directory, const JobSwitches& kinds) {
  ReportRow row;
  row.source = DisplayPath(fs, codec, path);
  row.directory = record.is_directory;
  row.excluded = record.state < 0;
  const bool fails = Fails(record);
  row.state = fails ? kStateFail : (record.state == kPreviewWillChange ? kStateChange : kStateUnchanged);
  if (fails) row.failures = StepNames(record.failure_word);

  // A path too long, or a pattern that cannot run, is told in the first column in force.
  const bool general = (record.failure_word & (kFailPathTooLong | kFailOther)) != 0;
  bool first = true;
  if (kinds.name) {
    if (fails && ((record.failure_word & kStepName) || general)) {
      AppendReason(text.Message(DisplayText(codec, record.name_column)), &row.reason);
    }
    first = false;
  }
  for (const DetailColumn& detail : kDetailColumns) {
    if (!InForce(detail.column, kinds)) continue;
    std::string cell = text.Message(DisplayText(codec, record.column(detail.column)));
    if (fails && detail.step != 0 && ((record.failure_word & detail.step) || (general && first))) {
      AppendReason(cell, &row.reason);
    }
    if (detail.step != 0) first = false;
    row.details.push_back(ReportDetail{detail.key, text.Label(detail.title), std::move(cell)});
  }

  // Where it would be: a deleted target nowhere, one whose name fails where it is, any other under its
  // new name, in the output directory for a copy.
  const std::size_t slash = path.rfind('\\');
  const std::string_view old_name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (kinds.deletion && !fails) return row;
  if (fails && ((record.failure_word & kStepName) || general)) {
    row.target = row.source;
  } else {
    const std::string name = kinds.name && !record.name_column.empty() ? record.name_column : std::string(old_name);
    row.target = DisplayPath(fs, codec, std::string(destination_directory) + name);
  }
  return row;
}

ReportRow RunRow(FileSystem& fs, TextCodec& codec, const ConsoleText& text, const TargetLineComposer& tags,
                 std::string_view path, const TargetWork& work) {
  ReportRow row;
  row.source = DisplayPath(fs, codec, path);
  row.directory = (work.new_attributes & kAttrDirectory) != 0;
  row.changes = StepNames(work.change);
  row.failures = StepNames(work.failure);
  if (work.change != 0) {
    row.state = work.failure == 0 ? kStateChanged : kStatePartial;
  } else {
    row.state = work.failure == 0 ? kStateUnchanged : kStateFailed;
  }
  std::string reason;
  tags.AppendFailureTags(work, &reason);
  while (!reason.empty() && reason.back() == ' ') reason.pop_back();
  row.reason = text.Message(DisplayText(codec, reason));
  if (!(work.change & kStepDeletion)) {
    row.target = work.current_path.empty() ? row.source : DisplayPath(fs, codec, work.current_path);
  }
  return row;
}

void CountPreviewRecord(const PreviewRecord& record, PreviewCounts* counts) {
  ++counts->total;
  if (record.state == kPreviewWillChange) ++counts->to_convert;
  ++(Fails(record) ? counts->failed : counts->succeeded);
}

std::string PreviewCountsLine(const PreviewCounts& counts, const ConsoleText& text) {
  char line[256];
  std::snprintf(line, sizeof(line), "抽出総数：%d　　　変換対象：%d　　　成功/不要：%d　　　変換失敗：%d", counts.total,
                counts.to_convert, counts.succeeded, counts.failed);
  return text.Label(line);
}

}  // namespace morva
