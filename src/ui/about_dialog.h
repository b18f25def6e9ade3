#ifndef MORVA_UI_ABOUT_DIALOG_H_
#define MORVA_UI_ABOUT_DIALOG_H_

class QWidget;

namespace morva {

struct UiContext;

// The modal about box ("バージョン").
void ShowAboutDialog(UiContext& context, QWidget* owner);

}  // namespace morva

#endif  // MORVA_UI_ABOUT_DIALOG_H_
