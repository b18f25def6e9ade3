#ifndef MORVA_UI_PANEL_MESSAGES_H_
#define MORVA_UI_PANEL_MESSAGES_H_

#include <QString>

namespace morva {

struct UiContext;

// The windows' own messages go through the same user interface as the engine's, so that they look
// alike (caption "MORVA") and a test answers both the same way.
void ShowPanelWarning(UiContext& context, const QString& text);
bool AskPanelQuestion(UiContext& context, const QString& text);

}  // namespace morva

#endif  // MORVA_UI_PANEL_MESSAGES_H_
