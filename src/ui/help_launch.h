#ifndef MORVA_UI_HELP_LAUNCH_H_
#define MORVA_UI_HELP_LAUNCH_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/interface_language.h"

namespace morva {

class FileSystem;
struct UiContext;

// The help document's file names beside the executable: the Japanese one and its English version.
inline constexpr char kHelpFileName[] = "morva.html";
inline constexpr char kEnglishHelpFileName[] = "morva-en.html";

// The file name of the help document in `language`.
std::string_view HelpFileName(UiLanguage language);

// The message (UTF-8) for an opening of the help that ended in the document opener's result `result`
// (DocumentOpenFailureMessage for the help, "*.html"); empty for a success.
std::string HelpOpenFailureMessage(int result);

// The help document `file_name` (engine path) in the first of `directories` (engine paths) that holds
// it; when none does, the one in `program_directory`, so that its absence is reported for the place the
// program always looked.
std::string FindHelpDocument(FileSystem& fs, const std::vector<std::string>& directories,
                             const std::string& program_directory, std::string_view file_name);

// Opens the help document in the window's language, "morva.html" or "morva-en.html" (FindHelpDocument: beside the
// executable in a build tree, else in ../share/morva beside its bin directory, where an installation puts it) with the
// desktop's browser; a failure shows the program's message. Returns true when a viewer took it.
bool OpenHelp(UiContext& context);

// Shows the log with the desktop's viewer ("ログ表示"): a private copy in UTF-8 with host paths (ViewLog
// in the user's PrivateDirectory); a failure shows the program's message.
bool OpenLog(UiContext& context);

}  // namespace morva

#endif  // MORVA_UI_HELP_LAUNCH_H_
