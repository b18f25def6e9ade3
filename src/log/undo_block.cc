#include "log/undo_block.h"

#include "log/log_markers.h"
#include "log/log_writer.h"
#include "platform/engine_text.h"

namespace morva {
namespace {

// What stands between the version tag and log_markers::kUndoNamesRun; only the writer puts it in.
constexpr std::string_view kUndoFunction = " - 「";
constexpr std::string_view kFromLog = "ログから";

std::string HeaderLine(TextCodec& codec, std::string_view block, bool from_log, std::string_view run_id,
                       std::string_view end) {
  auto t = [&codec](std::string_view utf8) { return Cp932Text(codec, utf8); };
  return t(block) + std::string(kLogVersionTag) + t(kUndoFunction) + (from_log ? t(kFromLog) : std::string()) +
         t(log_markers::kUndoNamesRun) + std::string(run_id) + t(log_markers::kNamedRunEnd) + t(end);
}

}  // namespace

std::string UndoHeaderLine(TextCodec& codec, bool from_log, std::string_view run_id) {
  return HeaderLine(codec, log_markers::kUndoBlock, from_log, run_id, log_markers::kUndoHeaderEnd);
}

std::string ExtractionHeaderLine(TextCodec& codec, std::string_view run_id) {
  return HeaderLine(codec, log_markers::kExtractionBlock, true, run_id, log_markers::kExtractionHeaderEnd);
}

}  // namespace morva
