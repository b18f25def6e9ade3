#include "cli/preview_text.h"

#include <cstdio>
#include <string>

namespace morva {

std::string FormatPreview(FileSystem& fs, TextCodec& codec, const std::vector<PreviewRecord>& records,
                          const std::vector<std::string>& targets, const JobSwitches& kinds) {
  const bool old_attributes = kinds.attributes || kinds.times;
  std::string out = "＃\t対象ファイル名";
  if (old_attributes) out += "\t属性";
  if (kinds.name) out += "\t変換後名称";
  if (kinds.attributes) out += "\t変換後属性";
  if (kinds.times) out += "\t日時変換";
  if (kinds.deletion) out += "\tファイル削除";
  if (kinds.id3) out += "\tID3情報変換";
  out += '\n';

  int to_convert = 0, succeeded = 0, failed = 0;
  for (const PreviewRecord& r : records) {
    out += std::to_string(r.index + 1) + '\t' + std::to_string(r.state) + '\t';
    out += r.is_directory ? "[Dir] " : "[File] ";
    if (r.index >= 0 && static_cast<std::size_t>(r.index) < targets.size()) {
      out += DisplayPath(fs, codec, targets[static_cast<std::size_t>(r.index)]);
    }
    if (old_attributes) out += '\t' + DisplayText(codec, r.column(PreviewColumn::kOldAttributes));
    if (kinds.name) out += '\t' + DisplayText(codec, r.name_column);
    if (kinds.attributes) out += '\t' + DisplayText(codec, r.column(PreviewColumn::kAttributes));
    if (kinds.times) out += '\t' + DisplayText(codec, r.column(PreviewColumn::kTimes));
    if (kinds.deletion) out += '\t' + DisplayText(codec, r.column(PreviewColumn::kDeletion));
    if (kinds.id3) out += '\t' + DisplayText(codec, r.column(PreviewColumn::kId3));
    out += '\n';
    if (r.state == kPreviewWillChange) ++to_convert;
    if (r.state == kPreviewError || r.state == -kPreviewError) {
      ++failed;
    } else {
      ++succeeded;
    }
  }
  char counts[256];
  std::snprintf(counts, sizeof(counts), "抽出総数：%d　　　変換対象：%d　　　成功/不要：%d　　　変換失敗：%d\n",
                static_cast<int>(records.size()), to_convert, succeeded, failed);
  out += counts;
  return out;
}

}  // namespace morva
