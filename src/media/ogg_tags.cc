// The comment header of an Ogg Vorbis or Opus stream: the second packet of the first logical stream,
// put together from the segments of as many pages as it spans.

#include <algorithm>
#include <string>

#include "media/tag_sink.h"

namespace morva::media {
namespace {

constexpr std::size_t kPageHeaderSize = 27;
constexpr std::size_t kSegmentCountAt = 26;
constexpr std::size_t kSerialAt = 14;
constexpr unsigned kLacingEnd = 255;  // a segment of 255 bytes continues its packet
// The comment packet is kept this far; pictures stored as comments can make it megabytes.
constexpr std::size_t kMaxPacket = 1 << 20;
// The headers come in the first pages; a walk that has not found them by then gives up.
constexpr int kMaxPages = 256;

constexpr std::string_view kVorbisComment("\x03vorbis", 7);
constexpr std::string_view kOpusTags = "OpusTags";

// Collects the first two packets of the stream whose first page opens the file.
class PacketReader {
 public:
  explicit PacketReader(FileWindow& file) : file_(file) {}

  // The second packet (at most kMaxPacket bytes of it); false when the stream ends before it begins.
  bool SecondPacket(std::string* packet) {
    std::uint64_t pos = 0;
    bool have_serial = false;
    std::uint32_t serial = 0;
    int packet_index = 0;
    for (int page = 0; page < kMaxPages; ++page) {
      std::string_view header;
      if (!file_.Bytes(pos, kPageHeaderSize, &header) || header.substr(0, 4) != "OggS") break;
      const std::size_t segments = static_cast<unsigned char>(header[kSegmentCountAt]);
      const std::uint32_t page_serial = Le32(header, kSerialAt);
      std::string_view table;
      if (!file_.Bytes(pos + kPageHeaderSize, segments, &table)) break;
      const std::string lacing(table);  // the next read replaces the window's bytes
      std::size_t page_bytes = 0;
      for (char c : lacing) page_bytes += static_cast<unsigned char>(c);
      const std::uint64_t data = pos + kPageHeaderSize + segments;
      if (!have_serial) {
        have_serial = true;
        serial = page_serial;
      }
      if (page_serial == serial) {
        // One read for the page's data (at most 255 x 255 bytes) when part of it is kept.
        std::string_view bytes;
        const bool keep = packet_index <= 1 && file_.Bytes(data, page_bytes, &bytes);
        std::size_t at = 0;
        for (std::size_t s = 0; s < segments; ++s) {
          const unsigned size = static_cast<unsigned char>(lacing[s]);
          if (packet_index == 1) {
            if (!keep) return !packet->empty();
            const std::size_t room = kMaxPacket - packet->size();
            packet->append(bytes.substr(at, std::min<std::size_t>(size, room)));
          }
          at += size;
          if (size < kLacingEnd && ++packet_index == 2) return true;
        }
      }
      pos = data + page_bytes;
    }
    return !packet->empty();  // a packet cut off by the file's end keeps what it has
  }

 private:
  FileWindow& file_;
};

}  // namespace

bool ReadOggTags(FileWindow& file, TagSink* sink, TagFormat* format) {
  std::string packet;
  if (!PacketReader(file).SecondPacket(&packet)) return false;
  const std::string_view p(packet);
  if (p.substr(0, kVorbisComment.size()) == kVorbisComment) {
    *format = TagFormat::kVorbis;
    return ParseVorbisComment(p.substr(kVorbisComment.size()), sink);
  }
  if (p.substr(0, kOpusTags.size()) == kOpusTags) {
    *format = TagFormat::kOpus;
    return ParseVorbisComment(p.substr(kOpusTags.size()), sink);
  }
  return false;
}

}  // namespace morva::media
