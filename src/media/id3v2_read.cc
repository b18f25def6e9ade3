// The ID3v2 tag at the start of an MP3 file: header, extended header, and the text and comment frames.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "media/id3_reader.h"
#include "platform/file_system.h"

namespace morva {
namespace {

constexpr std::size_t kHeaderSize = 10;
// Frame payloads are read this far; longer ones are skipped over. Names never need more.
constexpr std::size_t kMaxPayloadRead = 511;

unsigned Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

std::uint32_t Synchsafe(std::string_view bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) v = (v << 7) | (Byte(bytes, i) & 0x7F);
  return v;
}

std::uint32_t BigEndian(std::string_view bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) v = (v << 8) | Byte(bytes, i);
  return v;
}

// The frame identifiers of the slots (versions 3 and 4, then version 2), and the layout entry recorded
// for the first frame of each (-1: none).
struct FrameSlot {
  std::string_view id, id_v2;
  std::optional<std::string> Id3v2Fields::*slot;
  int layout_index;
};

constexpr FrameSlot kFrameSlots[] = {
    {"TIT2", "TT2", &Id3v2Fields::title, Id3Layout::kTitle},
    {"TPE1", "TP1", &Id3v2Fields::artist, Id3Layout::kArtist},
    {"TALB", "TAL", &Id3v2Fields::album, Id3Layout::kAlbum},
    {"TYER", "TYE", &Id3v2Fields::year, Id3Layout::kYear},
    {"TRCK", "TRK", &Id3v2Fields::track, Id3Layout::kTrack},
    {"COMM", "COM", &Id3v2Fields::comment, Id3Layout::kComment},
    {"TCON", "TCO", &Id3v2Fields::genre, Id3Layout::kGenre},
    {"TIT1", "TT1", &Id3v2Fields::content_group, -1},
    {"TIT3", "TT3", &Id3v2Fields::subtitle, -1},
    {"TPE2", "TP2", &Id3v2Fields::band, -1},
    {"TPE3", "TP3", &Id3v2Fields::conductor, -1},
    {"TPE4", "TP4", &Id3v2Fields::remixer, -1},
};

const FrameSlot* FindSlot(std::string_view id, int version) {
  for (const FrameSlot& s : kFrameSlots) {
    if (id == (version == 2 ? s.id_v2 : s.id)) return &s;
  }
  return nullptr;
}

// How the walk reads one tag.
struct TagWalk {
  ReadableFile& file;
  int version;
  std::uint64_t tag_end;  // offset just past the tag as its header declares it
  std::size_t header_size;
  std::size_t id_size;
};

// Frame identifiers are capitals and digits.
bool IsFrameId(std::string_view id) {
  return std::all_of(id.begin(), id.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// The readings of the size field of `frame_header`, the one to prefer first. Tags written by this program
// carry synchsafe sizes in every version; standard ID3v2.2 and 2.3 tags (from other tools) carry plain
// numbers, and one tag holds both once this program has replaced some frames of another tool's tag.
// Version 4 sizes are always synchsafe. The two readings agree below 128, and a size with a byte of 0x80
// or more cannot be synchsafe; any other size has both readings.
struct SizeReadings {
  std::uint32_t size[2];
  int count;
};

SizeReadings ReadingsOf(int version, std::string_view frame_header) {
  const std::string_view field = version == 2 ? frame_header.substr(3, 3) : frame_header.substr(4, 4);
  const std::uint32_t synchsafe = Synchsafe(field);
  if (version == 4) return {{synchsafe, 0}, 1};
  const std::uint32_t plain = BigEndian(field);
  if (plain == synchsafe) return {{synchsafe, 0}, 1};
  for (char c : field) {
    if (static_cast<unsigned char>(c) >= 0x80) return {{plain, 0}, 1};
  }
  return {{synchsafe, plain}, 2};
}

// Follows the frames of a tag from an offset on for as long as they keep in step: every frame header has
// an identifier of capitals and digits and a size (in one of its readings) that keeps the frame inside the
// tag. In step to the end, the last frame ends exactly at the tag's end or where zero bytes run to the end
// (padding). A wrong reading of a size lands inside a payload, where text or picture bytes can pass for a
// frame header or for padding for a few bytes, but hardly ever all the way to the end.
//
// Every reading of every size is followed. The outcome is kept per offset, so each frame header that
// some reading reaches is read once however often the walk asks.
class FrameChains {
 public:
  explicit FrameChains(const TagWalk& walk) : w_(walk) {}
  FrameChains(const FrameChains&) = delete;
  FrameChains& operator=(const FrameChains&) = delete;

  // How far the frames from `offset` (at most the tag's end) keep in step: the tag's end when they do
  // all the way, else the furthest offset where a chain of frames from `offset` stops on bytes that are
  // no frame header (`offset` itself when they start there). 0 once the tag has offered more frame headers
  // than kMaxVisits to look at (no real tag comes near).
  std::uint64_t Reach(std::uint64_t offset);

 private:
  static constexpr std::size_t kMaxVisits = 1 << 14;

  // A frame header whose successors are being followed: the offsets where its readings end the frame.
  struct Visit {
    std::uint64_t offset;
    std::uint64_t next[2];
    int count;
    int tried;
    std::uint64_t reach;  // the furthest of the successors tried so far
  };

  // Decides `offset` at once when its first bytes suffice (the end of the tag, padding, no frame header,
  // no reading that fits) and records its reach; otherwise pushes it on *stack.
  void Enter(std::uint64_t offset, std::vector<Visit>* stack);
  // True when `offset` is inside the tag and every byte from it to the tag's end is zero.
  bool IsPadding(std::uint64_t offset);

  const TagWalk& w_;
  std::unordered_map<std::uint64_t, std::uint64_t> reach_;
  std::size_t visits_ = 0;
  bool gave_up_ = false;
  std::optional<std::uint64_t> zeros_from_;  // where the zero bytes that end the tag begin
};

std::uint64_t FrameChains::Reach(std::uint64_t offset) {
  if (const auto it = reach_.find(offset); it != reach_.end()) return it->second;
  // Depth first. A frame ends after its own start, so no chain comes back to an offset it has passed.
  std::vector<Visit> stack;
  Enter(offset, &stack);
  while (!stack.empty() && !gave_up_) {
    Visit& v = stack.back();
    if (v.tried < v.count) {
      const std::uint64_t next = v.next[v.tried];
      const auto it = reach_.find(next);
      if (it == reach_.end()) {
        Enter(next, &stack);  // invalidates v
        continue;
      }
      v.reach = std::max(v.reach, it->second);
      ++v.tried;
    }
    if (v.tried == v.count || v.reach == w_.tag_end) {
      reach_[v.offset] = v.reach;
      stack.pop_back();
    }
  }
  return gave_up_ ? 0 : reach_[offset];
}

void FrameChains::Enter(std::uint64_t offset, std::vector<Visit>* stack) {
  if (++visits_ > kMaxVisits) {
    gave_up_ = true;
    return;
  }
  if (offset >= w_.tag_end) {
    reach_[offset] = offset == w_.tag_end ? offset : 0;
    return;
  }
  std::string header;
  if (w_.tag_end - offset < w_.header_size || !w_.file.Read(offset, w_.header_size, &header).ok() ||
      header.size() != w_.header_size || header[0] == 0) {
    reach_[offset] = IsPadding(offset) ? w_.tag_end : offset;
    return;
  }
  Visit v{offset, {0, 0}, 0, 0, offset};
  if (IsFrameId(std::string_view(header).substr(0, w_.id_size))) {
    const SizeReadings readings = ReadingsOf(w_.version, header);
    for (int i = 0; i < readings.count; ++i) {
      const std::uint64_t end = offset + w_.header_size + readings.size[i];
      if (end <= w_.tag_end) v.next[v.count++] = end;
    }
  }
  if (v.count == 0) {
    reach_[offset] = offset;
    return;
  }
  stack->push_back(v);
}

bool FrameChains::IsPadding(std::uint64_t offset) {
  if (!zeros_from_) {
    // From the end backwards: padding is usually short, and a read that fails or comes up short (a file
    // cut inside its tag) leaves no padding to trust.
    constexpr std::uint64_t kChunk = 4096;
    std::uint64_t end = w_.tag_end;
    std::string chunk;
    while (end > kHeaderSize) {
      const std::uint64_t begin = end - std::min<std::uint64_t>(kChunk, end - kHeaderSize);
      const std::size_t n = static_cast<std::size_t>(end - begin);
      if (!w_.file.Read(begin, n, &chunk).ok() || chunk.size() != n) {
        end = w_.tag_end;
        break;
      }
      const std::size_t last = chunk.find_last_not_of('\0');
      if (last != std::string::npos) {
        end = begin + last + 1;
        break;
      }
      end = begin;
    }
    zeros_from_ = end;
  }
  return offset >= *zeros_from_ && offset < w_.tag_end;
}

// The payload size of the frame whose header `frame_header` starts at `offset`. Of two readings, the
// first after which the frames keep in step to the end of the tag wins, the synchsafe one before the
// plain one: this program's own tags end in padding that a plain reading of a size can land in as well.
// When neither keeps in step (a tag cut short, or with other bytes after its frames), the one that keeps
// in step further wins.
std::uint32_t FrameSize(const TagWalk& w, FrameChains* chains, std::string_view frame_header, std::uint64_t offset) {
  const SizeReadings readings = ReadingsOf(w.version, frame_header);
  if (readings.count == 1) return readings.size[0];
  const std::uint64_t payload_at = offset + w.header_size;
  std::uint32_t chosen = readings.size[0];
  std::uint64_t furthest = 0;
  for (std::uint32_t size : readings.size) {
    const std::uint64_t end = payload_at + size;
    const std::uint64_t reach = end > w.tag_end ? 0 : chains->Reach(end);
    if (reach == w.tag_end) return size;
    if (reach > furthest) {
      furthest = reach;
      chosen = size;
    }
  }
  return chosen;
}

// The bytes in front of the payload that the second flags byte announces: a group identifier, an
// encryption method, a decompressed size (version 3) or a data length indicator (version 4). A version 4
// compressed frame must carry the data length indicator and has no size of its own; one that lacks the
// indicator is taken to have the four bytes all the same, as version 3 has them.
std::uint32_t FlagExtras(int version, unsigned format_flags) {
  std::uint32_t extras = 0;
  if (version == 3) {
    if (format_flags & 0x20) extras += 1;
    if (format_flags & 0x40) extras += 1;
    if (format_flags & 0x80) extras += 4;
  } else if (version == 4) {
    if (format_flags & 0x40) extras += 1;
    if (format_flags & 0x04) extras += 1;
    if (format_flags & (0x08 | 0x01)) extras += 4;
  }
  return extras;
}

// Undoes unsynchronisation, which put a zero byte after every 0xFF that could otherwise be taken for the
// start of an audio frame (the byte-order marks of UTF-16 text among them).
void Resynchronise(std::string* bytes) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < bytes->size(); ++i) {
    (*bytes)[out++] = (*bytes)[i];
    if (Byte(*bytes, i) == 0xFF && i + 1 < bytes->size() && (*bytes)[i + 1] == 0) ++i;
  }
  bytes->resize(out);
}

// The text of a comment payload (encoding, language, description, text): after the description's
// terminator, one zero byte or, in UTF-16, one zero unit aligned with the description's units. Absent
// when the description has no terminator within the bytes read.
std::optional<std::string_view> CommentText(std::string_view payload, int encoding) {
  constexpr std::size_t kDescriptionAt = 4;
  if (payload.size() <= kDescriptionAt) return std::nullopt;
  if (encoding == 1 || encoding == 2) {
    for (std::size_t i = kDescriptionAt; i + 1 < payload.size(); i += 2) {
      if (payload[i] == 0 && payload[i + 1] == 0) return payload.substr(i + 2);
    }
    return std::nullopt;
  }
  const std::size_t end = payload.find('\0', kDescriptionAt);
  if (end == std::string_view::npos) return std::nullopt;
  return payload.substr(end + 1);
}

// The header of a tag and where its frames begin: false when there is no tag of version 2 to 4, or its
// extended header leaves no telling where the frames begin (one that cannot hold its own size field or
// does not fit in the tag). The extended header's size counts itself in version 4 but not in version 3.
bool ReadHeader(ReadableFile& file, Id3v2Header* out) {
  std::string header;
  if (!file.Read(0, kHeaderSize, &header).ok() || header.size() != kHeaderSize) return false;
  if (header.compare(0, 3, "ID3") != 0) return false;
  int version = static_cast<int>(Byte(header, 3));
  if (version == 3 && Byte(header, 4) == 1) version = 4;
  if (version < 2 || version > 4) return false;
  out->version = version;
  out->flags = static_cast<std::uint8_t>(header[5]);
  out->tag_size = Synchsafe(std::string_view(header).substr(6, 4));
  out->extended_size = 0;
  if (version > 2 && (out->flags & 0x40)) {
    std::string size_field;
    if (!file.Read(kHeaderSize, 4, &size_field).ok() || size_field.size() != 4) return false;
    const std::uint64_t declared = Synchsafe(size_field);
    const std::uint64_t extended_size = version == 3 ? declared + 4 : declared;
    if (extended_size < 4 || extended_size > out->tag_size) return false;
    out->extended_size = static_cast<std::uint32_t>(extended_size);
  }
  return true;
}

// How a walk over the frames ended.
enum class WalkEnd { kTagEnd, kPadding, kCut };

// Visits the frames of a tag in order, as every reader of this program finds them: visit(offset, frame
// header, payload size) for each, until it returns false (kCut), the frames reach the tag's declared end
// (kTagEnd; the last frame may run past it), a zero byte stands where a frame header should (kPadding,
// *end at that byte), or a frame header or payload is cut off by the end of the file (kCut). *end is
// where the walk stopped.
template <typename Visit>
WalkEnd WalkFrames(ReadableFile& file, const Id3v2Header& h, std::uint64_t* end, Visit visit) {
  const TagWalk walk{file, h.version, kHeaderSize + std::uint64_t{h.tag_size},
                     h.version == 2 ? std::size_t{6} : std::size_t{10}, h.version == 2 ? std::size_t{3} : std::size_t{4}};
  FrameChains chains(walk);
  const std::uint64_t file_size = file.size();
  std::uint64_t consumed = h.extended_size;
  std::string frame_header;
  while (consumed < h.tag_size) {
    const std::uint64_t offset = kHeaderSize + consumed;
    *end = offset;
    if (!file.Read(offset, walk.header_size, &frame_header).ok()) return WalkEnd::kCut;
    // The padding can be shorter than a frame header and end the file (a tag alone): its first zero is
    // all that tells it.
    if (!frame_header.empty() && frame_header[0] == 0) return WalkEnd::kPadding;
    if (frame_header.size() != walk.header_size) return WalkEnd::kCut;
    const std::uint32_t size = FrameSize(walk, &chains, frame_header, offset);
    if (offset + walk.header_size + size > file_size) return WalkEnd::kCut;
    // Every frame moves the walk on by at least its header, whatever its size says.
    consumed += walk.header_size + size;
    if (!visit(offset, std::string_view(frame_header), size)) return WalkEnd::kCut;
  }
  *end = kHeaderSize + consumed;
  return WalkEnd::kTagEnd;
}

}  // namespace

bool ListId3v2Frames(ReadableFile& file, Id3v2Frames* out) {
  *out = Id3v2Frames{};
  if (!ReadHeader(file, &out->header)) return false;
  const WalkEnd how = WalkFrames(file, out->header, &out->frames_end,
                                 [out](std::uint64_t offset, std::string_view frame_header, std::uint32_t size) {
                                   out->frames.push_back(Id3v2FrameSpan{offset, std::string(frame_header), size});
                                   return true;
                                 });
  out->padded = how == WalkEnd::kPadding;
  out->complete = how != WalkEnd::kCut;
  return true;
}

int ReadId3v2(ReadableFile& file, TextCodec& codec, bool first_comment_wins, Id3v2Fields* fields,
              Id3Layout* layout) {
  if (layout != nullptr) *layout = Id3Layout{};
  Id3v2Header h;
  if (!ReadHeader(file, &h)) return 0;
  const int version = h.version;
  if (layout != nullptr) {
    layout->version = version;
    layout->tag_size = h.tag_size;
    layout->extended_header_size = h.extended_size;
  }
  if (fields == nullptr && layout == nullptr) return version;
  if (fields != nullptr) *fields = Id3v2Fields{};

  const std::size_t id_size = version == 2 ? 3 : 4;
  // In version 4 the header's flag says every frame is unsynchronised, the frame's own flag that it is.
  const bool all_unsynchronised = version == 4 && (h.flags & 0x80);
  std::optional<std::string> recording_time;  // TDRC: the version 4 frame that replaced TYER
  std::string payload;
  std::uint64_t end = 0;
  const auto visit = [&](std::uint64_t offset, std::string_view frame_header, std::uint32_t size) {
    const unsigned format_flags = version == 2 ? 0 : Byte(frame_header, 9);
    const std::uint32_t extras = FlagExtras(version, format_flags);
    if (extras > size) return true;
    const std::string_view id = frame_header.substr(0, id_size);
    const FrameSlot* slot = FindSlot(id, version);
    if (layout != nullptr && slot != nullptr && slot->layout_index >= 0 &&
        layout->frame_sizes[slot->layout_index] < 0) {
      layout->frame_sizes[slot->layout_index] = static_cast<std::int32_t>(size);
    }
    if (fields == nullptr) return true;
    const bool is_comment = id.substr(0, 3) == "COM";
    const bool is_tdrc = id == "TDRC";
    if (slot == nullptr && !is_tdrc) return true;
    if (is_comment && first_comment_wins && fields->comment.has_value()) return true;

    const std::uint64_t payload_at = offset + frame_header.size();
    const std::size_t want = std::min<std::size_t>(size - extras, kMaxPayloadRead);
    if (!file.Read(payload_at + extras, want, &payload).ok()) return false;
    if (version == 4 && (all_unsynchronised || (format_flags & 0x02))) Resynchronise(&payload);
    if (payload.empty()) return true;
    const int encoding = static_cast<int>(Byte(payload, 0));
    std::string_view text = std::string_view(payload).substr(1);
    if (is_comment) {
      const std::optional<std::string_view> comment = CommentText(payload, encoding);
      if (!comment) return true;
      text = *comment;
    }
    std::string value = DecodeId3Text(codec, encoding, text);
    if (is_tdrc) {
      recording_time = std::move(value);
    } else {
      fields->*(slot->slot) = std::move(value);
    }
    return true;
  };
  if (WalkFrames(file, h, &end, visit) == WalkEnd::kPadding && layout != nullptr) {
    layout->padding_size = static_cast<std::uint32_t>(kHeaderSize + h.tag_size - end);
  }
  // Version 4 tags from other tools carry the year as the recording time only.
  if (fields != nullptr && !fields->year && recording_time) fields->year = std::move(recording_time);
  return version;
}

}  // namespace morva
