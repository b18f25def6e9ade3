#include "log/run_block.h"

#include "platform/engine_text.h"
#include "platform/path_utils.h"
#include "fileops/date_time_text.h"
#include "log/job_summary.h"
#include "log/log_markers.h"
#include "log/log_writer.h"

namespace morva {

std::vector<std::string> RunHeaderLines(Host& host, const Job& job, bool copy_conversion) {
  TextCodec& codec = host.codec;
  const AppSettings& app = job.app;
  std::vector<std::string> lines;
  lines.push_back(Cp932Text(codec, log_markers::kRunBlock) + std::string(kLogVersionTag) +
                  Cp932Text(codec, log_markers::kRunHeaderEnd));
  if (copy_conversion) {
    lines.push_back(Cp932Text(codec, log_markers::kCopyKind) + Cp932Text(codec, log_markers::kOutputDirectory) +
                    std::string(app.cpdir.view()) + Cp932Text(codec, log_markers::kOutputDirectoryEnd));
  }
  const bool list_mode = app.set_0 == 2;
  lines.push_back(Cp932Text(codec, list_mode ? "変換対象指定方式：【指定ファイルの変換】"
                                             : "変換対象指定方式：【指定ディレクトリ下の変換】"));
  if (list_mode) {
    lines.push_back(Cp932Text(codec, log_markers::kFileCount) + std::to_string(app.list_items.size()));
  } else {
    lines.push_back(Cp932Text(codec, log_markers::kTargetDirectory) + app.dirfil[0].value_or(std::string()));
    std::string settings = Cp932Text(codec, "変換対象設定内容：");
    if (app.sw_set[AppSettings::kSetRecurse]) settings += Cp932Text(codec, "【サブディレクトリ内も対象】");
    if (app.sw_set[AppSettings::kSetWildcard]) {
      settings += Cp932Text(codec, "【対象ファイルワイルドカード指定 '") + std::string(app.set_11.view()) +
                  Cp932Text(codec, "'】");
    }
    if (app.sw_set[AppSettings::kSetDirectories]) {
      settings += Cp932Text(codec, "【ディレクトリも対象】");
      if (app.sw_set[AppSettings::kSetItself]) settings += Cp932Text(codec, "【指定のディレクトリ自身も対象】");
      if (app.sw_set[AppSettings::kSetDirectoriesOnly]) settings += Cp932Text(codec, "【ディレクトリのみを対象】");
    }
    if (app.sw_set[AppSettings::kSetExifOnly]) settings += Cp932Text(codec, "【Exif情報があるファイルのみを対象】");
    if (app.sw_set[AppSettings::kSetId3Only]) settings += Cp932Text(codec, "【ID3情報があるファイルのみを対象】");
    lines.push_back(std::move(settings));
  }
  lines.push_back(Cp932Text(codec, log_markers::kFunction) + JobSummary(codec, job.settings));
  return lines;
}

std::string DirectoryLine(TextCodec& codec, std::string_view directory) {
  return Cp932Text(codec, log_markers::kDirectory) + std::string(directory);
}

TargetLineComposer::TargetLineComposer(TextCodec& codec, bool log_successes, bool copy_only)
    : log_successes_(log_successes), copy_only_(copy_only) {
  auto t = [&codec](std::string_view utf8) { return Cp932Text(codec, utf8); };
  // The undo from the log knows a success by its tag's start and reads the fields it names back.
  auto done = [&t](std::string_view change) { return t(log_markers::kSuccessTag) + t(change) + "] "; };
  auto field = [&t](std::string_view mark) { return " " + t(mark); };
  done_[0] = done("名称変換");
  done_[1] = done("属性変換");
  done_[2] = done("日時変換");
  done_[3] = done("ファイル削除");
  done_[4] = done("ID3情報変換");
  not_needed_ = t("[☆変換不要] ");
  copy_failed_ = t("[▲コピー失敗] ");
  failed_[0] = t("[▲名称変換失敗] ");
  failed_[1] = t("[▲属性変換失敗] ");
  failed_[2] = t("[▲日時変換失敗] ");
  failed_[3] = t("[▲ファイル削除失敗] ");
  id3_failed_ = t("[▲ID3情報変換失敗");
  id3_details_[0] = t("(バックアップ失敗)");
  id3_details_[1] = t("(ファイルオープン失敗)");
  id3_details_[2] = t("(文字コード変換失敗)");
  id3_details_[3] = t("(ID3v2解析失敗)");
  id3_details_[4] = t("(メモリ不足)");
  id3_details_[5] = t("(中断された書き込みの安全コピーから復元)");
  id3_details_[6] = t("(中断された書き込みの安全コピーが残存)");
  too_long_ = t("[▲パス長超過で失敗] ");
  other_ = t("[▲その他要因で失敗] ");
  target_ = field(log_markers::kTargetField);
  old_attributes_ = field(log_markers::kOldAttributesField);
  for (int i = 0; i < 3; ++i) old_times_[i] = field(log_markers::kOldTimeFields[i]);
  arrow_ = t(" →");
  new_name_ = field(log_markers::kNewNameField);
  new_attributes_ = t(" *属性変換<");
  new_times_[0] = t(" *作成日時変換<");
  new_times_[1] = t(" *更新日時変換<");
  new_times_[2] = t(" *アクセス日時変換<");
  deleted_ = t(" *ファイル削除");
  id3_done_ = t(" *ID3情報変換");
}

void TargetLineComposer::AppendFailureTags(const TargetWork& work, std::string* out) const {
  if (work.failure & kStepName) *out += copy_only_ ? copy_failed_ : failed_[0];
  for (int bit = 1; bit < 4; ++bit) {
    if (work.failure & (1u << bit)) *out += failed_[bit];
  }
  if (work.failure & kStepId3) {
    *out += id3_failed_;
    if (work.id3_write_result <= -1 && work.id3_write_result >= -7) *out += id3_details_[-work.id3_write_result - 1];
    *out += "] ";
  }
  if (work.failure & kFailPathTooLong) *out += too_long_;
  if (work.failure & kFailOther) *out += other_;
}

bool TargetLineComposer::Compose(std::string_view path, const TargetWork& work, std::string* line) const {
  std::string& out = *line;
  out.clear();
  if (log_successes_) {
    for (int bit = 0; bit < 5; ++bit) {
      if (work.change & (1u << bit)) out += done_[bit];
    }
    if (work.change == 0 && work.failure == 0) out += not_needed_;
  }
  const std::size_t before_failures = out.size();
  AppendFailureTags(work, &out);
  if (!log_successes_ && out.size() == before_failures) return false;

  // A drive root ("Z:\") has no name after its separator: the whole path stands for it.
  const std::size_t slash = path.size() <= 3 ? std::string_view::npos : FindLastChar(path, '\\');
  out += target_;
  out += slash == std::string_view::npos ? path : path.substr(slash + 1);
  out += log_markers::kFieldEnd;
  if (work.change == 0) return true;

  const bool attributes = (work.change & kStepAttributes) != 0;
  const bool times = (work.change & kStepTimes) != 0;
  if (attributes) out += old_attributes_ + format_attributes(work.old_attributes) + log_markers::kFieldEnd;
  if (times) {
    for (int i = 0; i < 3; ++i) {
      if (!work.time_texts[i].empty()) out += old_times_[i] + work.time_texts[i] + log_markers::kFieldEnd;
    }
  }
  out += arrow_;
  if (work.change & kStepName) out += new_name_ + work.new_name + log_markers::kFieldEnd;
  if (attributes) out += new_attributes_ + format_attributes(work.new_attributes) + log_markers::kFieldEnd;
  if (times) {
    for (int i = 0; i < 3; ++i) {
      if (!work.time_texts[i].empty()) out += new_times_[i] + work.new_time_texts[i] + log_markers::kFieldEnd;
    }
  }
  if (work.change & kStepDeletion) out += deleted_;
  if (work.change & kStepId3) out += id3_done_;
  return true;
}

}  // namespace morva
