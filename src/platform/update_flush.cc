// One flush per file system for many file updates.

#include <cstdint>
#include <vector>

#include "platform/file_system.h"

namespace morva {

void FlushUpdates(const std::vector<FileUpdate*>& updates) {
  // A batch holds a few dozen updates on one or two file systems: a list beats a map.
  std::vector<std::uint64_t> flushed;
  std::vector<std::uint64_t> failed;
  for (FileUpdate* update : updates) {
    const std::uint64_t volume = update->volume();
    bool done = false;
    for (std::uint64_t v : flushed) done = done || v == volume;
    bool refused = false;
    for (std::uint64_t v : failed) refused = refused || v == volume;
    if (refused) continue;
    if (done) {
      update->VolumeFlushed();
    } else if (update->FlushVolume().ok()) {
      flushed.push_back(volume);
    } else {
      failed.push_back(volume);
    }
  }
}

}  // namespace morva
