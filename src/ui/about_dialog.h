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

// The about box "MORVA - バージョン情報": the application icon, the product name, the version, a line
// about this build and the project's web address as a link that opens in the desktop's browser.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* owner);
  ~AboutDialog() override;

  // The address the link opens.
  static QString WebAddress();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class LinkLook { kFresh, kHovered, kVisited };
  void ShowLink(LinkLook look);

  std::unique_ptr<Ui::AboutDialog> ui_;
  bool visited_ = false;
};

// The modal about box ("バージョン").
void ShowAboutDialog(UiContext& context, QWidget* owner);

}  // namespace morva

#endif  // MORVA_UI_ABOUT_DIALOG_H_
