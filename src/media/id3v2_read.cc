// The ID3v2 tag at the start of an MP3 file: header, extended header, and the text and comment frames.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// True when a frame ending at `offset` is followed by what a tag can hold next: the end of the tag,
// padding, or a frame identifier of capitals and digits.
bool FollowedByFrame(const TagWalk& w, std::uint64_t offset) {
  if (offset == w.tag_end) return true;
  if (offset > w.tag_end) return false;
  std::string id;
  if (!w.file.Read(offset, w.id_size, &id).ok() || id.size() != w.id_size) return false;
  if (id[0] == 0) return true;
  return std::all_of(id.begin(), id.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// The payload size of the frame whose header `frame_header` starts at `offset`. Tags written by this
// program carry synchsafe sizes in every version; standard ID3v2.2 and 2.3 tags (from other tools)
// carry plain numbers. The two readings agree below 128. Above, a size with a byte of 0x80 or more
// cannot be synchsafe; otherwise the reading after which the next frame header stands wins, the synchsafe
// one first, so a picture frame of another tool does not derail the walk.
std::uint32_t FrameSize(const TagWalk& w, std::string_view frame_header, std::uint64_t offset) {
  const std::string_view field = w.version == 2 ? frame_header.substr(3, 3) : frame_header.substr(4, 4);
  const std::uint32_t synchsafe = Synchsafe(field);
  if (w.version == 4) return synchsafe;
  const std::uint32_t plain = BigEndian(field);
  if (plain == synchsafe) return synchsafe;
  for (char c : field) {
    if (static_cast<unsigned char>(c) >= 0x80) return plain;
  }
  const std::uint64_t payload_at = offset + w.header_size;
  if (FollowedByFrame(w, payload_at + synchsafe)) return synchsafe;
  if (FollowedByFrame(w, payload_at + plain)) return plain;
  return synchsafe;
}

// The bytes in front of the payload that the second flags byte announces: a group identifier, an
// encryption method, a decompressed size.
std::uint32_t FlagExtras(int version, unsigned format_flags) {
  std::uint32_t extras = 0;
  if (version == 3) {
    if (format_flags & 0x20) extras += 1;
    if (format_flags & 0x40) extras += 1;
    if (format_flags & 0x80) extras += 4;
  } else if (version == 4) {
    if (format_flags & 0x40) extras += 1;
    if (format_flags & 0x04) extras += 1;
    if (format_flags & 0x08) extras += 4;
  }
  return extras;
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

}  // namespace

int ReadId3v2(ReadableFile& file, TextCodec& codec, bool first_comment_wins, Id3v2Fields* fields,
              Id3Layout* layout) {
  if (layout != nullptr) *layout = Id3Layout{};
  std::string header;
  if (!file.Read(0, kHeaderSize, &header).ok() || header.size() != kHeaderSize) return 0;
  if (header.compare(0, 3, "ID3") != 0) return 0;
  int version = static_cast<int>(Byte(header, 3));
  if (version == 3 && Byte(header, 4) == 1) version = 4;
  if (version < 2 || version > 4) return 0;
  const std::uint32_t tag_size = Synchsafe(std::string_view(header).substr(6, 4));

  // The extended header's size counts itself in version 4 but not in version 3. One that cannot hold
  // its own size field or that does not fit in the tag leaves no telling where the frames begin.
  std::uint64_t consumed = 0;
  if (version > 2 && (Byte(header, 5) & 0x40)) {
    std::string size_field;
    if (!file.Read(kHeaderSize, 4, &size_field).ok() || size_field.size() != 4) return 0;
    const std::uint64_t declared = Synchsafe(size_field);
    const std::uint64_t extended_size = version == 3 ? declared + 4 : declared;
    if (extended_size < 4 || extended_size > tag_size) return 0;
    consumed = extended_size;
  }
  if (layout != nullptr) {
    layout->version = version;
    layout->tag_size = tag_size;
    layout->extended_header_size = static_cast<std::uint32_t>(consumed);
  }
  if (fields == nullptr && layout == nullptr) return version;
  if (fields != nullptr) *fields = Id3v2Fields{};

  const TagWalk walk{file, version, kHeaderSize + tag_size, version == 2 ? std::size_t{6} : std::size_t{10},
                     version == 2 ? std::size_t{3} : std::size_t{4}};
  const std::uint64_t file_size = file.size();
  std::optional<std::string> recording_time;  // TDRC: the version 4 frame that replaced TYER
  std::string frame_header, payload;
  while (consumed < tag_size) {
    const std::uint64_t offset = kHeaderSize + consumed;
    if (!file.Read(offset, walk.header_size, &frame_header).ok() || frame_header.size() != walk.header_size) break;
    if (frame_header[0] == 0) {
      if (layout != nullptr) layout->padding_size = static_cast<std::uint32_t>(tag_size - consumed);
      break;
    }
    const std::uint32_t size = FrameSize(walk, frame_header, offset);
    const std::uint64_t payload_at = offset + walk.header_size;
    if (payload_at + size > file_size) break;
    // Every frame moves the walk on by at least its header, whatever its size says.
    consumed += walk.header_size + size;

    const std::uint32_t extras = version == 2 ? 0 : FlagExtras(version, Byte(frame_header, 9));
    if (extras > size) continue;
    const std::string_view id = std::string_view(frame_header).substr(0, walk.id_size);
    const FrameSlot* slot = FindSlot(id, version);
    if (layout != nullptr && slot != nullptr && slot->layout_index >= 0 &&
        layout->frame_sizes[slot->layout_index] < 0) {
      layout->frame_sizes[slot->layout_index] = static_cast<std::int32_t>(size);
    }
    if (fields == nullptr) continue;
    const bool is_comment = id.substr(0, 3) == "COM";
    const bool is_tdrc = id == "TDRC";
    if (slot == nullptr && !is_tdrc) continue;
    if (is_comment && first_comment_wins && fields->comment.has_value()) continue;

    const std::size_t want = std::min<std::size_t>(size - extras, kMaxPayloadRead);
    if (!file.Read(payload_at + extras, want, &payload).ok()) break;
    if (payload.empty()) continue;
    const int encoding = static_cast<int>(Byte(payload, 0));
    std::string_view text = std::string_view(payload).substr(1);
    if (is_comment) {
      const std::optional<std::string_view> comment = CommentText(payload, encoding);
      if (!comment) continue;
      text = *comment;
    }
    std::string value = DecodeId3Text(codec, encoding, text);
    if (is_tdrc) {
      recording_time = std::move(value);
    } else {
      fields->*(slot->slot) = std::move(value);
    }
  }
  // Version 4 tags from other tools carry the year as the recording time only.
  if (fields != nullptr && !fields->year && recording_time) fields->year = std::move(recording_time);
  return version;
}

}  // namespace morva
