// Where container tag values go, and the Vorbis comment block of FLAC and Ogg files.

#include "media/tag_sink.h"

#include <cctype>

namespace morva::media {
namespace {

// Values are read this far, as ID3 frame payloads are; names never need more.
constexpr std::size_t kMaxValueBytes = 511;
// A Vorbis comment block names its entries' count; a count beyond what the block could hold is a lie
// that must not make the parser spin.
constexpr std::size_t kVorbisEntryHeader = 4;

// `utf8` cut to at most kMaxValueBytes without splitting a character.
std::string_view CutValue(std::string_view utf8) {
  if (utf8.size() <= kMaxValueBytes) return utf8;
  std::size_t end = kMaxValueBytes;
  while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  return utf8.substr(0, end);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

void TagSink::Set(TagItem item, std::string_view utf8) {
  utf8 = utf8.substr(0, utf8.find('\0'));
  if (utf8.empty()) return;
  // A year is what the naming rule wants of a date: "2019-05-01" and "2019-05-01T07:00:00Z" give "2019".
  if (item == TagItem::kYear && utf8.size() > 4 && IsDigit(utf8[0]) && IsDigit(utf8[1]) && IsDigit(utf8[2]) &&
      IsDigit(utf8[3]) && !IsDigit(utf8[4])) {
    utf8 = utf8.substr(0, 4);
  }
  found_ = true;
  if (fields_ == nullptr) return;
  std::optional<std::string>* slot = nullptr;
  switch (item) {
    case TagItem::kTitle: slot = &fields_->title; break;
    case TagItem::kArtist: slot = &fields_->artist; break;
    case TagItem::kAlbum: slot = &fields_->album; break;
    case TagItem::kYear: slot = &fields_->year; break;
    case TagItem::kTrack: slot = &fields_->track; break;
    case TagItem::kComment: slot = &fields_->comment; break;
    case TagItem::kGenre: slot = &fields_->genre; break;
    case TagItem::kAlbumArtist: slot = &fields_->band; break;
  }
  if (slot->has_value()) return;
  *slot = DecodeId3Text(codec_, 3, CutValue(utf8));
}

std::optional<TagItem> ItemOfTextKey(std::string_view key) {
  struct Name {
    std::string_view key;
    TagItem item;
  };
  // Vorbis comment field names and APE item keys; DESCRIPTION is the older Vorbis name of a comment.
  static constexpr Name kNames[] = {
      {"TITLE", TagItem::kTitle},         {"ARTIST", TagItem::kArtist},     {"ALBUM", TagItem::kAlbum},
      {"DATE", TagItem::kYear},           {"YEAR", TagItem::kYear},         {"TRACKNUMBER", TagItem::kTrack},
      {"TRACK", TagItem::kTrack},         {"COMMENT", TagItem::kComment},   {"DESCRIPTION", TagItem::kComment},
      {"GENRE", TagItem::kGenre},         {"ALBUMARTIST", TagItem::kAlbumArtist},
      {"ALBUM ARTIST", TagItem::kAlbumArtist},
  };
  for (const Name& n : kNames) {
    if (EqualsIgnoringCase(key, n.key)) return n.item;
  }
  return std::nullopt;
}

bool ParseVorbisComment(std::string_view block, TagSink* sink) {
  if (block.size() < 4) return false;
  const std::uint64_t vendor_length = Le32(block, 0);
  if (vendor_length > block.size() - 4 || block.size() - 4 - vendor_length < 4) return false;
  std::size_t pos = 4 + static_cast<std::size_t>(vendor_length);
  const std::uint32_t count = Le32(block, pos);
  pos += 4;
  for (std::uint32_t i = 0; i < count && block.size() - pos >= kVorbisEntryHeader; ++i) {
    const std::uint32_t length = Le32(block, pos);
    pos += 4;
    if (length > block.size() - pos) break;  // cut short: the entries before the cut stand
    const std::string_view entry = block.substr(pos, length);
    pos += length;
    const std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos) continue;
    if (const std::optional<TagItem> item = ItemOfTextKey(entry.substr(0, eq))) sink->Set(*item, entry.substr(eq + 1));
  }
  return true;
}

}  // namespace morva::media
