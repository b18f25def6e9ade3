// The ID3v1 side of the tag writer: the fixed-width fields of the 128-byte block at the end of a file.

#include <cstddef>
#include <string>
#include <string_view>

#include "media/id3_write_parts.h"
#include "platform/cp932.h"

namespace morva::id3_write {
namespace {

constexpr std::size_t kBlockSize = 128;

// Where each text field lies in the block and how wide it is; the comment leaves bytes 125 and 126 to
// the ID3v1.1 track number.
struct Field {
  int item;
  std::size_t at, width;
};
constexpr Field kFields[] = {
    {kWriteTitle, 3, 30}, {kWriteArtist, 33, 30}, {kWriteAlbum, 63, 30}, {kWriteYear, 93, 4}, {kWriteComment, 97, 28},
};
constexpr std::size_t kTrackMarkAt = 125;
constexpr std::size_t kTrackAt = 126;
constexpr std::size_t kGenreAt = 127;

// `text` cut to `width` bytes, without the first half of a two-byte character the cut would split (its
// lone lead byte would join whatever follows), and zero-filled.
void PutText(std::string_view text, std::size_t at, std::size_t width, std::string* block) {
  std::size_t length = std::min(text.size(), width);
  if (length < text.size() && length > 0 && cp932::IsLeadAt(text, length - 1)) --length;
  block->replace(at, width, std::string(text.substr(0, length)) + std::string(width - length, '\0'));
}

// The track byte: the leading number of the text ("3/12" gives 3); 0 for none or one above 255.
char TrackByte(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  unsigned value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value > 255) return 0;
  }
  return static_cast<char>(value);
}

}  // namespace

void ChangeId3v1Block(const ItemTexts& texts, std::string* block) {
  for (const Field& f : kFields) {
    if (texts.items[f.item]) PutText(*texts.items[f.item], f.at, f.width, block);
  }
  if (texts.items[kWriteTrack]) {
    (*block)[kTrackMarkAt] = '\0';
    (*block)[kTrackAt] = TrackByte(*texts.items[kWriteTrack]);
  }
  if (texts.items[kWriteGenre]) (*block)[kGenreAt] = static_cast<char>(texts.genre_number);
}

std::string NewId3v1Block(const ItemTexts& texts) {
  std::string block = "TAG";
  block.resize(kBlockSize, '\0');
  ChangeId3v1Block(texts, &block);
  block[kGenreAt] = static_cast<char>(texts.genre_number);
  return block;
}

}  // namespace morva::id3_write
