#include "engine/progress_text.h"

#include "platform/engine_text.h"

namespace morva {

ProgressText::ProgressText(TextCodec& codec)
    : counts_(Cp932Text(codec, "%d / %d 完了 （%d%%）")), title_(Cp932Text(codec, "MORVA - 変換状況（%d%%）")) {}

void ProgressText::Fill(int done, int total, ProgressState* state) {
  const int percent = total > 0 ? static_cast<int>(static_cast<long long>(done) * 100 / total) : 0;
  state->position = done;
  state->total = total;
  state->counts = Format(counts_, done, total, percent);
  if (percent != title_percent_ || state->title.empty()) {
    state->title = Format(title_, percent);
    title_percent_ = percent;
  }
}

}  // namespace morva
