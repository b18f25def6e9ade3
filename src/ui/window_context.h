#ifndef MORVA_UI_WINDOW_CONTEXT_H_
#define MORVA_UI_WINDOW_CONTEXT_H_

#include <string>

#include "engine/session.h"
#include "platform/interface_language.h"

namespace morva {

class MessageCatalogue;

// What every window of the desktop program works with: the session (services, job, log, undo, the last
// preview or run), the program directory (an engine path) where the settings file and the log live, and
// the language the windows speak with the translation of the engine's texts they show (null: they are
// shown in the engine's Japanese).
// One instance lives in main() for the whole program; windows hold a reference, never a copy.
struct UiContext {
  Session& session;
  std::string program_directory;
  const MessageCatalogue* translation = nullptr;
  UiLanguage language = UiLanguage::kJapanese;
};

}  // namespace morva

#endif  // MORVA_UI_WINDOW_CONTEXT_H_
