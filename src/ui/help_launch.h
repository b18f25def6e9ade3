#ifndef MORVA_UI_HELP_LAUNCH_H_
#define MORVA_UI_HELP_LAUNCH_H_

#include <string>

namespace morva {

struct UiContext;

// The help document's file name beside the executable.
inline constexpr char kHelpFileName[] = "morva.html";

// The message (UTF-8) for an opening of the help that ended in the document opener's result `result`;
// empty for a success.
std::string HelpOpenFailureMessage(int result);

// Opens the help document "morva.html" beside the executable with the desktop's browser; a failure
// shows the program's message. Returns true when a viewer took it.
bool OpenHelp(UiContext& context);

// Opens the log with the desktop's viewer ("ログ表示"); a failure shows the program's message.
bool OpenLog(UiContext& context);

}  // namespace morva

#endif  // MORVA_UI_HELP_LAUNCH_H_
