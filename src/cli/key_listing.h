#ifndef MORVA_CLI_KEY_LISTING_H_
#define MORVA_CLI_KEY_LISTING_H_

#include <string>
#include <string_view>

#include "cli/console_ui.h"
#include "core/key_place.h"
#include "engine/session.h"

namespace morva {

// `keys`: one line per settings key, tab-separated: the key, its page (KeyPageName) and label in the
// window, the values it takes and its value in the job in force (empty for a key the job does not
// write). Page, label and values are in the console's language.
int ListSettingsKeys(Session& session, ConsoleUi& ui);

// The page of `key` as the listings name it (UTF-8): its place in the window, or "（ウィンドウの配置）"
// (window geometry) or "（旧版）" (read from files of earlier versions only) for a key the window does
// not show.
std::string_view KeyPageName(const KeyDescription& key);

// The value `key` has in the job in force, as the settings file writes it (code page 932); empty for a
// key the job does not write.
std::string JobKeyValue(const Session& session, std::string_view key);

// What the key table says `key` takes (UTF-8, "0 オフ、1 オン"); empty for a key it does not know.
std::string_view KeyValuesText(std::string_view key);

// `show`: the job in force as settings-file lines ("KEY = value"), each one an argument --set takes.
int ShowJobLines(Session& session, ConsoleUi& ui);

}  // namespace morva

#endif  // MORVA_CLI_KEY_LISTING_H_
