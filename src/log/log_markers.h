#ifndef MORVA_LOG_LOG_MARKERS_H_
#define MORVA_LOG_LOG_MARKERS_H_

#include <string_view>

// The fixed texts that mark the lines of the log, as UTF-8 (the log holds their code page 932 form,
// Cp932Text). The writer puts them in and the scanner, the trim and the undo from the log look for
// them, so both take them from here.
namespace morva::log_markers {

// The starts of the three kinds of block header: a run, an undo, an extraction for an undo from the log.
inline constexpr std::string_view kRunBlock = "■ MORVA - ";
inline constexpr std::string_view kUndoBlock = "◇ MORVA - ";
inline constexpr std::string_view kExtractionBlock = "▽ MORVA - ";
// A run header is kRunBlock, the version tag, then this.
inline constexpr std::string_view kRunHeaderEnd = " - 変換実行開始 ■";

// The lines of a run header after its first.
inline constexpr std::string_view kCopyKind = "変換種別：【コピー変換】";
inline constexpr std::string_view kFileCount = "指定対象ファイル数：";
inline constexpr std::string_view kTargetDirectory = "対象ディレクトリ（ファイル）：";
inline constexpr std::string_view kFunction = "変換機能：";

// The line that names the directory of the target lines after it.
inline constexpr std::string_view kDirectory = "ディレクトリ：";

}  // namespace morva::log_markers

#endif  // MORVA_LOG_LOG_MARKERS_H_
