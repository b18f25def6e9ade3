#include "cli/console_text.h"

namespace morva {

ConsoleText::ConsoleText(UiLanguage language) {
  if (language == UiLanguage::kEnglish) {
    messages_.emplace(EnglishMessages());
    labels_.emplace(EnglishLabels());
  }
}

std::string ConsoleText::Message(std::string_view japanese) const {
  return messages_ ? messages_->Translate(japanese) : std::string(japanese);
}

std::string ConsoleText::Label(std::string_view japanese) const {
  return labels_ ? labels_->Translate(japanese) : std::string(japanese);
}

}  // namespace morva
