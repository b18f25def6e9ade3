#ifndef MORVA_PLATFORM_MESSAGE_CATALOGUE_H_
#define MORVA_PLATFORM_MESSAGE_CATALOGUE_H_

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

// One message of a catalogue: the program's Japanese text, the key (as gettext keys by the source
// text), and its translation. Both are UTF-8 and may hold the printf conversions the engine formats
// with: %d and %zu (a number), %s (a text) and %% (a percent sign). The translation holds the same
// conversions in the same order.
struct CatalogueEntry {
  std::string_view source;
  std::string_view translation;
};

// The English translations of the messages the engine and the log put before the person: the engine
// keeps writing Japanese (the log stays Japanese), and a front end translates what it shows.
std::span<const CatalogueEntry> EnglishMessages();

// The English of the console's own words (its listings' states and titles) and of the settings keys'
// places (page, label and values, as `morva-cli keys` lists them): whole texts, kept apart from the
// messages so that a short word such as "属性" never matches inside a path a message shows.
std::span<const CatalogueEntry> EnglishLabels();

// Translates finished messages: texts the engine put together from its own texts, numbers and paths.
// Read from the start, each place takes the longest entry whose source matches there, with a number
// for each %d and %zu and any text for each %s, and gives its translation with those arguments in
// their places; what no entry matches (a path in a message, a separator) is kept as it is. A message
// made of several texts is so translated piece by piece, and an entry for a whole combination (two
// sentences) wins over its pieces. Nothing of the text is ever lost.
class MessageCatalogue {
 public:
  explicit MessageCatalogue(std::span<const CatalogueEntry> entries);

  // `text` is UTF-8; so is the result.
  std::string Translate(std::string_view text) const;

 private:
  // A piece of a source or translation: a literal text or one conversion.
  struct Piece {
    enum class Kind { kLiteral, kNumber, kText };
    Kind kind;
    std::string literal;
  };
  struct Message {
    std::vector<Piece> source;
    std::vector<Piece> translation;
  };

  static std::vector<Piece> Parse(std::string_view format);
  // The end of `message`'s source matched at `pos` of `text`, with its arguments; npos if none.
  static std::size_t Match(const std::vector<Piece>& pieces, std::size_t piece, std::string_view text, std::size_t pos,
                           std::vector<std::string_view>* args);
  static void Render(const std::vector<Piece>& pieces, const std::vector<std::string_view>& args, std::string* out);

  std::vector<Message> messages_;
  // The messages whose source starts with each byte, so that a place tries only those.
  std::array<std::vector<std::size_t>, 256> by_first_byte_;
};

}  // namespace morva

#endif  // MORVA_PLATFORM_MESSAGE_CATALOGUE_H_
