// The ID3v1 genre names and the canonical "(n)Name" form of a genre.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "media/id3_reader.h"
#include "platform/cp932.h"

namespace morva {
namespace {

constexpr int kOther = 12;

constexpr std::array<std::string_view, 148> kGenres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop",
    "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",
    "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative",
    "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial",
    "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40",
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave",
    "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock", "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob",
    "Latin", "Revival", "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock",
    "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad",
    "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A capella", "Euro-House",
    "Dance Hall", "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie", "BritPop",
    "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal", "Black Metal", "Crossover",
    "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", "Thrash Metal", "Anime", "Jpop",
    "Synthpop",
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading decimal number of `text`; a value past the table saturates instead of overflowing.
int LeadingNumber(std::string_view text) {
  int n = 0;
  for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
    n = n * 10 + (text[i] - '0');
    if (n > 9999) return 9999;
  }
  return n;
}

// The number of a "(n)..." text: a digit right after "(", and a ")" at most three bytes after it.
// The search steps over two-byte characters whole, so a trail byte of 0x29 is never taken for ")".
int ParenthesizedNumber(std::string_view text) {
  constexpr std::size_t kMaxInside = 3;
  if (text.size() < 3 || !IsDigit(text[1])) return kOther;
  for (std::size_t i = 1; i < text.size() && i <= kMaxInside + 1;) {
    if (text[i] == ')') return LeadingNumber(text.substr(1, i - 1));
    const std::size_t len = cp932::CharLengthAt(text, i);
    i += len == 0 ? 1 : len;
  }
  return kOther;
}

}  // namespace

std::string_view GenreName(int index) {
  if (index < 0 || index >= static_cast<int>(kGenres.size())) return {};
  return kGenres[static_cast<std::size_t>(index)];
}

int NormalizeGenre(std::string_view text, std::string* out) {
  int number = kOther;
  if (text.empty()) {
    number = kOther;
  } else if (text[0] == '(') {
    number = ParenthesizedNumber(text);
  } else if (IsDigit(text[0])) {
    number = LeadingNumber(text);
  } else {
    number = -1;
    for (std::size_t i = 0; i < kGenres.size(); ++i) {
      if (cp932::CompareIgnoreCase(text, kGenres[i]) == 0) {
        number = static_cast<int>(i);
        break;
      }
    }
    if (number < 0) {
      *out = std::string(text);
      return kOther;
    }
  }
  if (GenreName(number).empty()) number = kOther;
  *out = "(" + std::to_string(number) + ")" + std::string(GenreName(number));
  return number;
}

}  // namespace morva
