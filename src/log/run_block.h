#ifndef MORVA_LOG_RUN_BLOCK_H_
#define MORVA_LOG_RUN_BLOCK_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "core/job.h"
#include "core/target_work.h"

namespace morva {

class TextCodec;

// The lines of a run's block in the log, without their time stamps. The log reader that rebuilds undo
// records from a run takes these lines apart again, so every marker and bracket is fixed.

// The header lines of a run, in order: the run-start line (whose time stamp becomes the run's
// identifier), the copy-conversion line, how targets are given, the target directory and its settings
// or the number of listed targets, and "変換機能：" with the job summary.
std::vector<std::string> RunHeaderLines(Host& host, const Job& job, bool copy_conversion);

// "ディレクトリ：" + `directory`.
std::string DirectoryLine(TextCodec& codec, std::string_view directory);

// The tags and field names of target lines, converted to code page 932 once per run.
class TargetLineComposer {
 public:
  // `log_successes` is SW_OPT[0] (successful and not-needed targets are logged too); `copy_only` is a
  // copy conversion without a name rule, whose failed name step is a failed copy.
  TargetLineComposer(TextCodec& codec, bool log_successes, bool copy_only);

  // Replaces *line by the target line of a finished target whose full path was `path`. Returns false
  // (the target is not logged) when successes are not logged and nothing failed.
  bool Compose(std::string_view path, const TargetWork& work, std::string* line) const;
  // Appends to *out the failure tags of the line Compose gives `work` ("[▲名称変換失敗] " and so on),
  // nothing when nothing failed: the reason a front end shows beside a failed target.
  void AppendFailureTags(const TargetWork& work, std::string* out) const;

 private:
  bool log_successes_;
  bool copy_only_;
  // Success tags by change bit (name, attributes, times, deletion, ID3), then the rest.
  std::string done_[5];
  std::string not_needed_;
  std::string copy_failed_;
  // Failure tags by failure bit (name, attributes, times, deletion); ID3 apart for its detail.
  std::string failed_[4];
  std::string id3_failed_;
  std::string id3_details_[7];  // by -result - 1
  std::string too_long_;
  std::string other_;
  std::string target_;
  std::string old_attributes_;
  std::string old_times_[3];
  std::string arrow_;
  std::string new_name_;
  std::string new_attributes_;
  std::string new_times_[3];
  std::string deleted_;
  std::string id3_done_;
};

}  // namespace morva

#endif  // MORVA_LOG_RUN_BLOCK_H_
