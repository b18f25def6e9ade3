#ifndef MORVA_UI_HELP_LAUNCH_H_
#define MORVA_UI_HELP_LAUNCH_H_

namespace morva {

struct UiContext;

// Opens the help document "morva.html" beside the executable with the desktop's browser; a failure
// shows the program's message.
void OpenHelp(UiContext& context);

// Opens the log with the desktop's viewer ("ログ表示"); a failure shows the program's message.
void OpenLog(UiContext& context);

}  // namespace morva

#endif  // MORVA_UI_HELP_LAUNCH_H_
