// The iTunes-style tags of MP4 and M4A files: the items of moov/udta/meta/ilst, each value in a `data`
// box.

#include <string>

#include "media/iso_box.h"
#include "media/tag_sink.h"

namespace morva::media {
namespace {

// A value's `data` box: type indicator and locale, then the value. Text values are read this far.
constexpr std::size_t kDataHeader = 8;
constexpr std::size_t kMaxDataRead = 2048;

struct IlstItem {
  std::uint32_t type;
  TagItem item;
};

constexpr IlstItem kTextItems[] = {
    {FourCc("\xA9nam"), TagItem::kTitle},   {FourCc("\xA9" "ART"), TagItem::kArtist},
    {FourCc("\xA9" "alb"), TagItem::kAlbum}, {FourCc("\xA9" "day"), TagItem::kYear},
    {FourCc("\xA9" "cmt"), TagItem::kComment}, {FourCc("\xA9" "gen"), TagItem::kGenre},
    {FourCc("aART"), TagItem::kAlbumArtist},
};

void ReadItem(FileWindow& file, const Box& item, TagSink* sink) {
  Box data;
  BoxWalk values(file, item.body, item.end);
  if (!values.Find(FourCc("data"), &data)) return;
  std::string_view body;
  if (!BoxBody(file, data, kMaxDataRead, &body) || body.size() < kDataHeader) return;
  const std::string_view value = body.substr(kDataHeader);
  if (item.type == FourCc("trkn")) {
    // Two reserved bytes, the track, the count of tracks: "3/12" as an ID3 track frame says it.
    if (value.size() < 6) return;
    const std::uint32_t track = Be16(value, 2), total = Be16(value, 4);
    if (track == 0) return;
    std::string text = std::to_string(track);
    if (total != 0) text += "/" + std::to_string(total);
    sink->Set(TagItem::kTrack, text);
    return;
  }
  if (item.type == FourCc("gnre")) {
    // The ID3v1 genre number plus one.
    if (value.size() < 2 || Be16(value, 0) == 0) return;
    sink->Set(TagItem::kGenre, GenreName(static_cast<int>(Be16(value, 0)) - 1));
    return;
  }
  for (const IlstItem& text : kTextItems) {
    if (item.type == text.type) sink->Set(text.item, value);
  }
}

}  // namespace

bool ReadMp4Tags(FileWindow& file, TagSink* sink) {
  Box moov, udta, meta, ilst;
  BoxWalk top(file, 0, file.size());
  if (!top.Find(FourCc("moov"), &moov)) return false;
  BoxWalk in_moov(file, moov.body, moov.end);
  if (!in_moov.Find(FourCc("udta"), &udta)) return false;
  BoxWalk in_udta(file, udta.body, udta.end);
  if (!in_udta.Find(FourCc("meta"), &meta)) return false;
  BoxWalk in_meta(file, MetaChildren(file, meta), meta.end);
  if (!in_meta.Find(FourCc("ilst"), &ilst)) return false;
  BoxWalk items(file, ilst.body, ilst.end);
  Box item;
  while (items.Next(&item)) ReadItem(file, item, sink);
  return true;
}

}  // namespace morva::media
