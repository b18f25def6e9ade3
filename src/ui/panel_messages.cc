#include "ui/panel_messages.h"

#include <string>

#include "core/user_interface.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"

namespace morva {

void ShowPanelWarning(UiContext& context, const QString& text) {
  std::string cp932;
  // Every text passed here is the program's own and has a code page 932 form.
  if (FromQt(context.session.host.codec, text, &cp932)) context.session.host.ui.ShowWarning(cp932);
}

bool AskPanelQuestion(UiContext& context, const QString& text) {
  std::string cp932;
  return FromQt(context.session.host.codec, text, &cp932) && context.session.host.ui.AskYesNo(cp932);
}

}  // namespace morva
