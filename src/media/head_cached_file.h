#ifndef MORVA_MEDIA_HEAD_CACHED_FILE_H_
#define MORVA_MEDIA_HEAD_CACHED_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace morva {

// A view of an open file that serves reads inside its first bytes from one read of them. A tag parser
// reads a header, then each frame's header and payload: a dozen small reads of the same few kilobytes,
// each a system call without this.
class HeadCachedFile final : public ReadableFile {
 public:
  static constexpr std::size_t kHeadSize = 4096;

  // `file` must outlive this object. The head is its first `head_size` bytes.
  explicit HeadCachedFile(ReadableFile& file, std::size_t head_size = kHeadSize) : file_(file), head_size_(head_size) {}

  // Reads the head. On failure every read goes to the file itself.
  void Load() {
    loaded_ = file_.Read(0, head_size_, &head_).ok();
    if (!loaded_) head_.clear();
  }

  std::uint64_t size() const override { return file_.size(); }

  Status Read(std::uint64_t offset, std::size_t n, std::string* data) override {
    // A head shorter than asked for is the whole file.
    const bool whole = loaded_ && head_.size() < head_size_;
    if (loaded_ && (whole || (offset <= head_.size() && n <= head_.size() - offset))) {
      if (offset >= head_.size()) {
        data->clear();
      } else {
        data->assign(head_, static_cast<std::size_t>(offset), n);
      }
      return Status::Ok();
    }
    return file_.Read(offset, n, data);
  }

 private:
  ReadableFile& file_;
  std::size_t head_size_;
  std::string head_;
  bool loaded_ = false;
};

}  // namespace morva

#endif  // MORVA_MEDIA_HEAD_CACHED_FILE_H_
