#ifndef MORVA_ENGINE_PROGRESS_TEXT_H_
#define MORVA_ENGINE_PROGRESS_TEXT_H_

#include <string>

#include "core/user_interface.h"
#include "platform/text_codec.h"

namespace morva {

// What the progress dialog of a run, a preview or an undo shows as it goes: "%d / %d 完了 （%d%%）" and
// the title "MORVA - 変換状況（%d%%）", in code page 932.
class ProgressText {
 public:
  explicit ProgressText(TextCodec& codec);

  // Sets the bar, the counts and the title of *state, one state kept through the walk, for `done`
  // targets of `total`. The title is made again only when the percentage moves: a hundred times in a
  // walk of any size.
  void Fill(int done, int total, ProgressState* state);

 private:
  std::string counts_;
  std::string title_;
  int title_percent_ = -1;
};

}  // namespace morva

#endif  // MORVA_ENGINE_PROGRESS_TEXT_H_
