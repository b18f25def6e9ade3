#ifndef MORVA_UI_ABOUT_DIALOG_H_
#define MORVA_UI_ABOUT_DIALOG_H_

#include <QDialog>
#include <memory>

class QWidget;

namespace Ui {
class AboutDialog;
}

namespace morva {

struct UiContext;

// The about box "MORVA - バージョン情報": the application icon, the product name, the version and a line
// about this build. The project has no public web address yet, so the box links to none: a link to an
// address nobody owns would send the person to whoever registers it.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* owner);
  ~AboutDialog() override;

 private:
  std::unique_ptr<Ui::AboutDialog> ui_;
};

// The modal about box ("バージョン").
void ShowAboutDialog(UiContext& context, QWidget* owner);

}  // namespace morva

#endif  // MORVA_UI_ABOUT_DIALOG_H_
