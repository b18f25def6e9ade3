// The APE tag at the end of a file (Monkey's Audio, WavPack, Musepack, and MP3 files tagged by some
// players), found by its 32-byte footer at the very end or just before an ID3v1 block.

#include "media/tag_sink.h"

namespace morva::media {
namespace {

constexpr std::size_t kFooterSize = 32;
constexpr std::size_t kId3v1Size = 128;
constexpr std::string_view kPreamble = "APETAGEX";
constexpr std::size_t kSizeAt = 12, kCountAt = 16;
constexpr std::size_t kItemHeader = 8;  // value size, flags
// Item flags bits 1-2: 0 is UTF-8 text; binary values and links name nothing.
constexpr std::uint32_t kItemKindMask = 0x6;
// The items are read this far; a cover picture may follow the text items.
constexpr std::size_t kMaxItemsRead = 1 << 20;

// The footer ending at `end`; false when there is none.
bool FooterAt(FileWindow& file, std::uint64_t end, std::string_view* footer) {
  return end >= kFooterSize && file.Bytes(end - kFooterSize, kFooterSize, footer) &&
         footer->substr(0, kPreamble.size()) == kPreamble;
}

}  // namespace

bool ReadApeTags(FileWindow& file, TagSink* sink) {
  std::uint64_t end = file.size();
  std::string_view footer;
  if (!FooterAt(file, end, &footer)) {
    std::string_view id3v1;
    if (end < kId3v1Size || !file.Bytes(end - kId3v1Size, 3, &id3v1) || id3v1 != "TAG") return false;
    end -= kId3v1Size;
    if (!FooterAt(file, end, &footer)) return false;
  }
  // The size counts the items and the footer, not a header before them.
  const std::uint64_t size = Le32(footer, kSizeAt);
  const std::uint32_t count = Le32(footer, kCountAt);
  if (size < kFooterSize || size > end) return false;
  const std::uint64_t items_at = end - size;
  std::uint64_t items_size = size - kFooterSize;
  if (items_size > kMaxItemsRead) items_size = kMaxItemsRead;
  std::string_view items;
  if (!file.Bytes(items_at, static_cast<std::size_t>(items_size), &items)) return false;

  std::size_t pos = 0;
  for (std::uint32_t i = 0; i < count && items.size() - pos > kItemHeader; ++i) {
    const std::uint32_t value_size = Le32(items, pos);
    const std::uint32_t flags = Le32(items, pos + 4);
    pos += kItemHeader;
    const std::size_t key_end = items.find('\0', pos);
    if (key_end == std::string_view::npos) break;
    const std::string_view key = items.substr(pos, key_end - pos);
    pos = key_end + 1;
    if (value_size > items.size() - pos) break;  // cut short: the items before the cut stand
    const std::string_view value = items.substr(pos, value_size);
    pos += value_size;
    if ((flags & kItemKindMask) != 0) continue;
    if (const std::optional<TagItem> item = ItemOfTextKey(key)) sink->Set(*item, value);
  }
  return true;
}

}  // namespace morva::media
