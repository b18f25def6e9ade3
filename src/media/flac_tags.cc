// The Vorbis comment block of a FLAC file, found by walking its metadata blocks.

#include "media/tag_sink.h"

namespace morva::media {
namespace {

constexpr std::string_view kFlacMark = "fLaC";
constexpr std::size_t kId3HeaderSize = 10;
constexpr std::size_t kBlockHeaderSize = 4;
constexpr unsigned kLastBlockFlag = 0x80;
constexpr unsigned kVorbisCommentBlock = 4;
// A comment block is read this far; beyond it (pictures stored as comments) nothing names a file.
constexpr std::size_t kMaxCommentRead = 1 << 20;
// A stream has a handful of metadata blocks; a walk of more is a damaged file.
constexpr int kMaxBlocks = 1024;

// Where the "fLaC" mark stands: at the start, or after an ID3v2 tag some taggers put in front.
bool FindFlacMark(FileWindow& file, std::uint64_t* at) {
  std::string_view head;
  if (!file.Bytes(0, kId3HeaderSize, &head)) return false;
  std::uint64_t pos = 0;
  if (head.substr(0, 3) == "ID3") {
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) size = (size << 7) | (static_cast<unsigned char>(head[i]) & 0x7F);
    pos = kId3HeaderSize + size;
  }
  std::string_view mark;
  if (!file.Bytes(pos, kFlacMark.size(), &mark) || mark != kFlacMark) return false;
  *at = pos + kFlacMark.size();
  return true;
}

}  // namespace

bool ReadFlacTags(FileWindow& file, TagSink* sink) {
  std::uint64_t pos = 0;
  if (!FindFlacMark(file, &pos)) return false;
  for (int i = 0; i < kMaxBlocks; ++i) {
    std::string_view header;
    if (!file.Bytes(pos, kBlockHeaderSize, &header)) return true;
    const unsigned flags = static_cast<unsigned char>(header[0]);
    const std::uint32_t length = (Be16(header, 1) << 8) | static_cast<unsigned char>(header[3]);
    pos += kBlockHeaderSize;
    if ((flags & ~kLastBlockFlag) == kVorbisCommentBlock) {
      const std::uint64_t available = file.size() - pos;  // pos is inside the file: the header was read
      std::uint64_t n = length < available ? length : available;
      if (n > kMaxCommentRead) n = kMaxCommentRead;
      std::string_view block;
      if (file.Bytes(pos, static_cast<std::size_t>(n), &block)) ParseVorbisComment(block, sink);
      return true;
    }
    if (flags & kLastBlockFlag) return true;
    pos += length;
  }
  return true;
}

}  // namespace morva::media
