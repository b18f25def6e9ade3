// The ID3v2 side of the tag writer: frames of the given items, a new tag, and an existing tag with some
// frames replaced and every other frame copied byte for byte.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/id3_reader.h"
#include "media/id3_write_parts.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

namespace morva::id3_write {
namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::uint32_t kMaxSynchsafe = 0x0FFFFFFF;
constexpr std::size_t kFlagsAt = 5;             // the header's flags byte
constexpr std::uint8_t kUnsynchronised = 0x80;  // its unsynchronisation flag

// Frame identifiers of the items (Id3WriteItem order) in versions 3 and 4, and in version 2.
constexpr std::string_view kIds[] = {"TIT2", "TPE1", "TALB", "TRCK", "TYER", "COMM", "TCON"};
constexpr std::string_view kIdsV2[] = {"TT2", "TP1", "TAL", "TRK", "TYE", "COM", "TCO"};
// Version 4 has no TYER: its year is the recording time. Tags of either version may carry both (a TYER
// of an older writer in version 4, a TDRC of a tool that writes version 4 frames into version 3 tags);
// the first of each is replaced, so that no reader is left with the old year.
constexpr std::string_view kRecordingTime = "TDRC";

std::string_view NewFrameId(int version, int item) {
  if (version == 2) return kIdsV2[item];
  if (version == 4 && item == kWriteYear) return kRecordingTime;
  return kIds[item];
}

// The item whose frame `id` is, and which of its identifiers it is (a year has two); -1 for none.
int ItemOf(int version, std::string_view id, int* slot) {
  *slot = 0;
  for (int item = 0; item < 7; ++item) {
    if (id == (version == 2 ? kIdsV2[item] : kIds[item])) return item;
  }
  if (version > 2 && id == kRecordingTime) {
    *slot = 1;
    return kWriteYear;
  }
  return -1;
}

bool IsFrameId(std::string_view id) {
  return std::all_of(id.begin(), id.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

void AppendBigEndian(std::uint32_t value, int digits, std::string* out) {
  for (int i = digits - 1; i >= 0; --i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Encoding bytes of text frames.
constexpr char kEncodingCp932 = 0;  // declared Latin-1; this program's readers take it as code page 932
constexpr char kEncodingUtf16 = 1;  // UTF-16 with a byte-order mark
constexpr char kEncodingUtf8 = 3;   // version 4 only

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The payload of a frame of `item` in a tag of `version`: the encoding byte, a comment's language and
// empty description, and the text without a terminator. Plain ASCII reads the same under every
// encoding and stays one byte a character. False when the text has no Unicode form.
bool FramePayload(const FrameTextForm& form, int version, int item, std::string_view text, std::string* payload) {
  payload->clear();
  if (form.cp932_text || IsAscii(text)) {
    payload->push_back(kEncodingCp932);
    if (item == kWriteComment) payload->append("jpn\0", 4);
    payload->append(text);
    return true;
  }
  if (version == 4) {
    std::string utf8;
    if (!form.codec.Cp932ToUtf8(text, &utf8).ok()) return false;
    payload->push_back(kEncodingUtf8);
    if (item == kWriteComment) payload->append("jpn\0", 4);
    payload->append(utf8);
    return true;
  }
  std::u16string units;
  if (!form.codec.Cp932ToUtf16(text, &units).ok()) return false;
  // Little-endian after its mark, as the mark says; the empty description has its own mark, as every
  // Unicode string of these versions must.
  const auto append_units = [payload](std::u16string_view u) {
    payload->append("\xFF\xFE", 2);
    for (char16_t unit : u) {
      payload->push_back(static_cast<char>(unit & 0xFF));
      payload->push_back(static_cast<char>(unit >> 8));
    }
  };
  payload->push_back(kEncodingUtf16);
  if (item == kWriteComment) {
    payload->append("jpn", 3);
    append_units(u"");
    payload->append(2, '\0');
  }
  append_units(units);
  return true;
}

// The payloads of the given items in a tag of `version`; false when one has no Unicode form.
bool FramePayloads(const ItemTexts& texts, const FrameTextForm& form, int version,
                   std::array<std::string, 7>* payloads) {
  for (int item = 0; item < 7; ++item) {
    if (texts.items[item] && !FramePayload(form, version, item, *texts.items[item], &(*payloads)[item])) return false;
  }
  return true;
}

// One frame: identifier, payload size, flags (versions 3 and 4), payload. Sizes are written as the
// version defines them (plain numbers in versions 2 and 3, synchsafe in version 4), so that every other
// reader finds the frames after a long one; this program reads both forms.
void AppendFrame(int version, std::string_view id, const std::string& payload, std::string* out) {
  out->append(id);
  const auto size = static_cast<std::uint32_t>(payload.size());
  if (version == 2) {
    AppendBigEndian(size, 3, out);
  } else if (version == 3) {
    AppendBigEndian(size, 4, out);
  } else {
    AppendSynchsafe(size, 4, out);
  }
  if (version != 2) out->append(2, '\0');
  out->append(payload);
}

// Tags of version 2 and 3 are unsynchronised as a whole: a zero byte follows every 0xFF that could be
// taken for audio, frame headers included, and the frame sizes no longer tell where frames end. Only a
// tag where no such zero was inserted can be copied frame by frame.
bool HasInsertedZeros(std::string_view tag) { return tag.find(std::string_view("\xFF\x00", 2)) != std::string_view::npos; }

// Whether the tag `tag` (header, frames from `frames_begin`, padding) reads frame by frame as it was
// put together. Sizes of versions 2 and 3 have two readings, and the reader takes the one that keeps
// the frames in step to the end of the tag; bytes copied from another tool's frame can pass for a chain
// of frames that ends in the padding of the new tag, and such a tag is not written.
bool ReadsAsBuilt(const std::string& tag, std::uint64_t frames_begin, const std::vector<std::uint64_t>& starts,
                  std::uint64_t frames_size) {
  MemoryReadableFile file(tag);
  Id3v2Frames read;
  if (!ListId3v2Frames(file, &read) || !read.complete || read.frames.size() != starts.size()) return false;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    if (read.frames[i].offset != frames_begin + starts[i]) return false;
  }
  return read.frames_end == frames_begin + frames_size;
}

}  // namespace

void AppendSynchsafe(std::uint32_t value, int digits, std::string* out) {
  for (int i = digits - 1; i >= 0; --i) out->push_back(static_cast<char>((value >> (7 * i)) & 0x7F));
}

int NewId3v2Tag(const ItemTexts& texts, const FrameTextForm& form, std::uint32_t padding, std::string* tag) {
  constexpr int kVersion = 3;
  std::array<std::string, 7> payloads;
  if (!FramePayloads(texts, form, kVersion, &payloads)) return kId3TextUnconvertible;
  std::string frames;
  std::vector<std::uint64_t> starts;
  for (int item = 0; item < 7; ++item) {
    if (!texts.items[item]) continue;
    starts.push_back(frames.size());
    AppendFrame(kVersion, NewFrameId(kVersion, item), payloads[item], &frames);
  }
  tag->assign("ID3\x03\x00\x00", 6);
  AppendSynchsafe(static_cast<std::uint32_t>(frames.size()) + padding, 4, tag);
  tag->append(frames);
  tag->append(padding, '\0');
  return ReadsAsBuilt(*tag, kHeaderSize, starts, frames.size()) ? kId3Written : kId3TagUnreadable;
}

int ChangeId3v2Tag(ReadableFile& file, const ItemTexts& texts, const FrameTextForm& form, bool never_use_padding,
                   std::string* head, std::uint64_t* old_head_size) {
  Id3v2Frames tag;
  if (!ListId3v2Frames(file, &tag) || !tag.complete) return kId3TagUnreadable;
  const Id3v2Header& h = tag.header;
  const std::uint64_t tag_end = kHeaderSize + h.tag_size;
  if (tag_end > file.size()) return kId3TagUnreadable;
  // A compressed version 2 tag has no frames to copy.
  if (h.version == 2 && (h.flags & 0x40)) return kId3TagUnreadable;
  const std::size_t id_size = h.version == 2 ? 3 : 4;
  for (const Id3v2FrameSpan& f : tag.frames) {
    if (!IsFrameId(std::string_view(f.header).substr(0, id_size))) return kId3TagUnreadable;
    if (f.offset + f.header.size() + f.size > tag_end) return kId3TagUnreadable;
  }

  std::string old;
  if (!file.Read(0, static_cast<std::size_t>(tag_end), &old).ok() || old.size() != tag_end) return kId3TagUnreadable;
  if (h.version < 4 && (h.flags & kUnsynchronised) && HasInsertedZeros(std::string_view(old).substr(kHeaderSize))) {
    return kId3TagUnreadable;
  }
  std::array<std::string, 7> payloads;
  if (!FramePayloads(texts, form, h.version, &payloads)) return kId3TextUnconvertible;

  // The first comment frame is replaced; others (in other languages, with descriptions) stay. A text
  // frame may stand once in a tag; where a tag has it twice, both get the new text, so that no reader
  // keeps the old one, whichever of the two it takes.
  bool replaced[7][2] = {};
  std::string frames;
  std::vector<std::uint64_t> starts;  // where each frame starts in `frames`
  for (const Id3v2FrameSpan& f : tag.frames) {
    starts.push_back(frames.size());
    const std::string_view id = std::string_view(f.header).substr(0, id_size);
    int slot = 0;
    const int item = ItemOf(h.version, id, &slot);
    if (item >= 0 && texts.items[item] && (item != kWriteComment || !replaced[item][slot])) {
      AppendFrame(h.version, id, payloads[item], &frames);
      replaced[item][slot] = true;
    } else {
      frames.append(old, static_cast<std::size_t>(f.offset), f.header.size() + f.size);
    }
  }
  for (int item = 0; item < 7; ++item) {
    if (texts.items[item] && !replaced[item][0] && !replaced[item][1]) {
      starts.push_back(frames.size());
      AppendFrame(h.version, NewFrameId(h.version, item), payloads[item], &frames);
    }
  }

  // The padding absorbs a tag that grows by no more than it holds, so that the tag keeps its size and the
  // audio after it stays where it is.
  const std::uint64_t frames_begin = kHeaderSize + h.extended_size;
  const std::uint64_t old_frames = tag.frames_end - frames_begin;
  const std::uint64_t old_padding = tag_end - tag.frames_end;
  const bool grows = frames.size() > old_frames;
  const std::uint64_t growth = grows ? frames.size() - old_frames : 0;
  const bool absorbed = grows && !never_use_padding && growth <= old_padding;
  const std::uint64_t padding = absorbed ? old_padding - growth : old_padding;
  const std::uint64_t new_size = h.extended_size + frames.size() + padding;
  if (new_size > kMaxSynchsafe) return kId3TagUnreadable;

  head->assign(old, 0, 6);
  AppendSynchsafe(static_cast<std::uint32_t>(new_size), 4, head);
  head->append(old, kHeaderSize, h.extended_size);
  head->append(frames);
  head->append(static_cast<std::size_t>(padding), '\0');
  // A tag of versions 2 and 3 marked unsynchronised is read with the zero after every 0xFF taken out.
  // This one holds no such pair (see above), so without the mark it reads the same; UTF-16 text may hold
  // one ("ｱ一" is 71 FF 00 4E), which must stay: the mark goes.
  if (h.version < 4 && (h.flags & kUnsynchronised) && HasInsertedZeros(std::string_view(*head).substr(kHeaderSize))) {
    (*head)[kFlagsAt] = static_cast<char>(h.flags & ~kUnsynchronised);
  }
  if (!ReadsAsBuilt(*head, frames_begin, starts, frames.size())) return kId3TagUnreadable;
  *old_head_size = tag_end;
  std::string footer;
  if (file.Read(tag_end, kHeaderSize, &footer).ok() && footer.size() == kHeaderSize && footer.compare(0, 3, "3DI") == 0) {
    head->append(footer, 0, 6);
    AppendSynchsafe(static_cast<std::uint32_t>(new_size), 4, head);
    *old_head_size += kHeaderSize;
  }
  return kId3Written;
}

}  // namespace morva::id3_write
