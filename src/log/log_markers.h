#ifndef MORVA_LOG_LOG_MARKERS_H_
#define MORVA_LOG_LOG_MARKERS_H_

#include <string_view>

// The fixed texts that mark the lines of the log, as UTF-8 (the log holds their code page 932 form,
// Cp932Text). The writers put them in and the scanner, the trim and the undo from the log look for
// them, so both take them from here. Texts that only a writer puts in stay with that writer.
namespace morva::log_markers {

// The starts of the three kinds of block header: a run, an undo, an extraction for an undo from the log.
inline constexpr std::string_view kRunBlock = "■ MORVA - ";
inline constexpr std::string_view kUndoBlock = "◇ MORVA - ";
inline constexpr std::string_view kExtractionBlock = "▽ MORVA - ";
// A run header is kRunBlock, the version tag, then this.
inline constexpr std::string_view kRunHeaderEnd = " - 変換実行開始 ■";

// An undo header is kUndoBlock, the version tag, " - 「", "ログから" when the run is undone from the log,
// kUndoNamesRun, the identifier of the run undone, kNamedRunEnd and kUndoHeaderEnd; an extraction header
// the same with kExtractionBlock and kExtractionHeaderEnd (UndoHeaderLine, ExtractionHeaderLine). The
// scanner and the trim find the identifier by the texts around it.
inline constexpr std::string_view kUndoNamesRun = "元に戻す」（";
inline constexpr std::string_view kNamedRunEnd = "）";
inline constexpr std::string_view kUndoHeaderEnd = "実行開始 ◇";
inline constexpr std::string_view kExtractionHeaderEnd = "ログ抽出 ▽";
// The trim takes the identifier as many bytes before the end of either header.
static_assert(kUndoHeaderEnd.size() == kExtractionHeaderEnd.size());

// The lines of a run header after its first.
inline constexpr std::string_view kCopyKind = "変換種別：【コピー変換】";
// After kCopyKind: the output directory's path between these two.
inline constexpr std::string_view kOutputDirectory = "【出力先：";
inline constexpr std::string_view kOutputDirectoryEnd = "】";
inline constexpr std::string_view kFileCount = "指定対象ファイル数：";
inline constexpr std::string_view kTargetDirectory = "対象ディレクトリ（ファイル）：";
inline constexpr std::string_view kFunction = "変換機能：";
// The job summaries after kFunction that start with these are jobs no undo can take back.
inline constexpr std::string_view kDeletionFunction = "【ファイル削除";
inline constexpr std::string_view kId3Function = "【ID3情報変換";

// The line that names the directory of the target lines after it.
inline constexpr std::string_view kDirectory = "ディレクトリ：";

// A target line of a run: its tags, then " " and kTargetField, the target's name and kFieldEnd, then
// the other fields, each " ", its mark, the value and kFieldEnd. Every success tag starts with
// kSuccessTag; the undo from the log takes the lines that carry one, and reads these fields from them.
inline constexpr std::string_view kSuccessTag = "[○";
inline constexpr std::string_view kTargetField = "*対象<";
inline constexpr std::string_view kNewNameField = "*名称変換<";
inline constexpr std::string_view kOldAttributesField = "*属性<";
// The old creation, last-write and last-access times.
inline constexpr std::string_view kOldTimeFields[3] = {"*作成日時<", "*更新日時<", "*アクセス日時<"};
inline constexpr char kFieldEnd = '>';

// The line of an extraction for a target line it cannot read back: this tag, the fields it could not
// read, kReadErrorTarget, the target's full path and kFieldEnd, then the rest of the target line.
inline constexpr std::string_view kReadErrorTag = "[▲戻しログ読取エラー（";
inline constexpr std::string_view kReadErrorTarget = "）] *対象<";

// The line a run or an undo cancelled by the person writes before its verdict.
inline constexpr std::string_view kCancelled = "ユーザによって途中キャンセルされています。";

// The counts line that closes the block of a run, of an undo and of an extraction (printf formats).
inline constexpr std::string_view kRunCounts = "完全成功：%d / 一部成功：%d / 変換不要：%d / 完全失敗：%d / 総数：%d";
inline constexpr std::string_view kUndoCounts = "完全成功：%d / 一部成功：%d / 完全失敗：%d / 総数：%d";
inline constexpr std::string_view kExtractionCounts = "成功：%d / 不要：%d / 失敗：%d / 総数：%d";
// Readers know a counts line by its start: a run's and an undo's by kFullSuccessCount (the trim by
// kFullSuccess alone), an extraction's by kSuccessCount.
inline constexpr std::string_view kFullSuccess = "完全成功";
inline constexpr std::string_view kFullSuccessCount = "完全成功：";
inline constexpr std::string_view kSuccessCount = "成功：";
// A counts line of a run or an undo as the readers also take it, with a full-width slash.
inline constexpr std::string_view kFullSuccessSlash = "完全成功／";
static_assert(kRunCounts.starts_with(kFullSuccessCount) && kUndoCounts.starts_with(kFullSuccessCount));
static_assert(kFullSuccessCount.starts_with(kFullSuccess));
static_assert(kExtractionCounts.starts_with(kSuccessCount));

}  // namespace morva::log_markers

#endif  // MORVA_LOG_LOG_MARKERS_H_
