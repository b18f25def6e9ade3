#ifndef MORVA_CLI_CONSOLE_TEXT_H_
#define MORVA_CLI_CONSOLE_TEXT_H_

#include <optional>
#include <string>
#include <string_view>

#include "platform/interface_language.h"
#include "platform/message_catalogue.h"

namespace morva {

// What the console says, in the language of the person's locale. The program's texts are Japanese: the
// engine's messages, and the words of the console's listings and of the settings keys. In Japanese they
// are shown as they stand; in English through the catalogues. Every text here is UTF-8.
class ConsoleText {
 public:
  explicit ConsoleText(UiLanguage language);

  // A message of the engine, translated piece by piece with its numbers and paths kept (see
  // MessageCatalogue::Translate).
  std::string Message(std::string_view japanese) const;
  // A word or label of the console's own or of a settings key's place, through the catalogue of whole
  // labels (which holds no piece of a message).
  std::string Label(std::string_view japanese) const;

 private:
  std::optional<MessageCatalogue> messages_;
  std::optional<MessageCatalogue> labels_;
};

}  // namespace morva

#endif  // MORVA_CLI_CONSOLE_TEXT_H_
