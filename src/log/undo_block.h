#ifndef MORVA_LOG_UNDO_BLOCK_H_
#define MORVA_LOG_UNDO_BLOCK_H_

#include <string>
#include <string_view>

namespace morva {

class TextCodec;

// The header lines of the blocks an undo writes, without their time stamps. The scanner and the trim
// find the run they name by the identifier in them.

// "◇ MORVA - Version 6 - 「ログから元に戻す」（<run_id>）実行開始 ◇", "ログから" only for an undo from
// the log: the first line of an undo's block.
std::string UndoHeaderLine(TextCodec& codec, bool from_log, std::string_view run_id);

// "▽ MORVA - Version 6 - 「ログから元に戻す」（<run_id>）ログ抽出 ▽": the first line of the block in
// which an undo from the log reports what it read from the run's block.
std::string ExtractionHeaderLine(TextCodec& codec, std::string_view run_id);

}  // namespace morva

#endif  // MORVA_LOG_UNDO_BLOCK_H_
