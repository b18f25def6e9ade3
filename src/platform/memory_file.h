#ifndef MORVA_PLATFORM_MEMORY_FILE_H_
#define MORVA_PLATFORM_MEMORY_FILE_H_

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/file_system.h"

namespace morva {

// A ReadableFile over bytes held in memory: the media parsers' tests and fuzzers feed them through it.
class MemoryReadableFile final : public ReadableFile {
 public:
  explicit MemoryReadableFile(std::string bytes) : bytes_(std::move(bytes)) {}

  std::uint64_t size() const override { return bytes_.size(); }

  Status Read(std::uint64_t offset, std::size_t n, std::string* data) override {
    if (offset >= bytes_.size()) {
      data->clear();
    } else {
      data->assign(bytes_, static_cast<std::size_t>(offset), n);
    }
    return Status::Ok();
  }

 private:
  std::string bytes_;
};

}  // namespace morva

#endif  // MORVA_PLATFORM_MEMORY_FILE_H_
