#ifndef MORVA_MEDIA_ISO_BOX_H_
#define MORVA_MEDIA_ISO_BOX_H_

#include <cstdint>
#include <string_view>

#include "media/byte_view.h"

// The boxes ("atoms") of the ISO base media file format that MP4, MOV, 3GP, M4A, HEIC and AVIF files are
// made of. Private to the readers of src/media.
namespace morva::media {

// A box type's four characters as one big-endian number: FourCc("moov").
constexpr std::uint32_t FourCc(const char (&s)[5]) {
  return (std::uint32_t{static_cast<unsigned char>(s[0])} << 24) |
         (std::uint32_t{static_cast<unsigned char>(s[1])} << 16) |
         (std::uint32_t{static_cast<unsigned char>(s[2])} << 8) | static_cast<unsigned char>(s[3]);
}

struct Box {
  std::uint32_t type = 0;
  std::uint64_t body = 0;  // the first byte after the header (size, type and any 64-bit size)
  std::uint64_t end = 0;   // one past the box's last byte
};

// The boxes that follow each other from `begin` up to `end`. A size of 0 runs to `end`; a box whose
// header does not fit or whose size is smaller than its header or reaches past `end` ends the walk, as
// does a count of kMaxBoxes (a file of millions of empty boxes must not cost millions of reads).
class BoxWalk {
 public:
  static constexpr int kMaxBoxes = 4096;

  BoxWalk(FileWindow& file, std::uint64_t begin, std::uint64_t end) : file_(file), pos_(begin), end_(end) {}

  // The next box; false at the end of the walk.
  bool Next(Box* box);

  // The next box of `type`, skipping others; false when there is none.
  bool Find(std::uint32_t type, Box* box);

 private:
  FileWindow& file_;
  std::uint64_t pos_;
  std::uint64_t end_;
  int count_ = 0;
};

// Where the children of the `meta` box `meta` start: after its version and flags, except in files that
// write it the QuickTime way, as a plain box whose first child (the handler) follows the header at once.
std::uint64_t MetaChildren(FileWindow& file, const Box& meta);

// The body of `box` as bytes, at most `max_bytes` of it (reads past that are the caller's business).
// False when the read fails.
bool BoxBody(FileWindow& file, const Box& box, std::size_t max_bytes, std::string_view* out);

}  // namespace morva::media

#endif  // MORVA_MEDIA_ISO_BOX_H_
