// Feeds arbitrary bytes to the readers of the conversion log: the line stream with a window far smaller
// than the lines, the run scanner, the trim and the extraction of every run listed. A log is a text a
// person may edit, so no byte sequence may crash them or make them read outside the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/session.h"
#include "core/quiet_user_interface.h"
#include "log/log_lines.h"
#include "log/log_scan.h"
#include "log/log_trim.h"
#include "undo/undo_from_log.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  static const std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  const std::string input(reinterpret_cast<const char*>(data), size);
  morva::MemoryReadableFile file{input};

  // The pieces of a stream put together are the file, whatever its window.
  for (std::size_t window : {std::size_t{7}, morva::LogLineStream::kFewLinesBuffer}) {
    morva::LogLineStream stream(file, 0, window);
    morva::LogLine line;
    std::string joined;
    while (stream.Next(&line)) {
      if (line.offset != joined.size() || line.full.size() > window || line.full.empty()) std::abort();
      joined.append(line.full);
    }
    if (joined != input) std::abort();
  }

  std::vector<morva::LoggedRun> runs;
  const int found = morva::ScanRunsIn(*codec, file, &runs);
  if (found < 0 || found > morva::kMaxLoggedRuns || static_cast<std::size_t>(found) != runs.size()) std::abort();
  for (const morva::LoggedRun& run : runs) {
    if (run.position >= size || input.compare(run.position, run.id.size(), run.id) != 0) std::abort();
  }

  std::string trimmed;
  if (morva::TrimLogText(*codec, input, 1 + static_cast<int>(size % 3), &trimmed) && trimmed.size() > size) {
    std::abort();
  }

  morva::QuietUserInterface ui(false);  // an extraction's question ends it
  morva::Session session(*codec, *fs, ui);
  session.job.app.sw_opt[1] = true;  // nothing is written anywhere
  for (const morva::LoggedRun& run : runs) {
    morva::RunHasUndoableTargets(*codec, file, run);
    morva::ExtractionCounts counts;
    morva::ExtractRun(session.log_context(), &session.undo, file, run, &counts);
    if (counts.success + counts.not_needed + counts.failure != counts.total) std::abort();
  }
  return 0;
}
