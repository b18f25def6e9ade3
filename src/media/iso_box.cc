#include "media/iso_box.h"

namespace morva::media {
namespace {

constexpr std::uint64_t kHeaderSize = 8;
constexpr std::uint64_t kLargeHeaderSize = 16;

}  // namespace

bool BoxWalk::Next(Box* box) {
  if (count_ >= kMaxBoxes || pos_ >= end_ || end_ - pos_ < kHeaderSize) return false;
  ++count_;
  std::string_view header;
  if (!file_.Bytes(pos_, kHeaderSize, &header)) return false;
  std::uint64_t size = Be32(header, 0);
  box->type = Be32(header, 4);
  std::uint64_t header_size = kHeaderSize;
  if (size == 1) {
    if (end_ - pos_ < kLargeHeaderSize || !file_.Bytes(pos_ + kHeaderSize, 8, &header)) return false;
    size = Be64(header, 0);
    header_size = kLargeHeaderSize;
  } else if (size == 0) {
    size = end_ - pos_;
  }
  if (size < header_size || size > end_ - pos_) return false;
  box->body = pos_ + header_size;
  box->end = pos_ + size;
  pos_ = box->end;
  return true;
}

bool BoxWalk::Find(std::uint32_t type, Box* box) {
  while (Next(box)) {
    if (box->type == type) return true;
  }
  return false;
}

std::uint64_t MetaChildren(FileWindow& file, const Box& meta) {
  std::string_view head;
  if (meta.end - meta.body >= 8 && file.Bytes(meta.body, 8, &head) && Be32(head, 4) == FourCc("hdlr")) {
    return meta.body;
  }
  return meta.body + 4;
}

bool BoxBody(FileWindow& file, const Box& box, std::size_t max_bytes, std::string_view* out) {
  const std::uint64_t size = box.end - box.body;
  return file.Bytes(box.body, size < max_bytes ? static_cast<std::size_t>(size) : max_bytes, out);
}

}  // namespace morva::media
