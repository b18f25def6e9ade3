#ifndef MORVA_UI_OUTPUT_DIRECTORY_DIALOG_H_
#define MORVA_UI_OUTPUT_DIRECTORY_DIALOG_H_

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class OutputDirectoryDialog;
}

namespace morva {

struct UiContext;

// The copy conversion's output-directory dialog, starting from *directory (an engine path); true with
// the chosen engine path in *directory (and in CPDIR, with the overwrite choice in CPOVW), false when
// cancelled. A directory that does not exist is created, with its missing parents, when the person
// agrees.
bool AskCopyOutputDirectory(UiContext& context, QWidget* owner, std::string* directory);

// "MORVA - コピー変換用出力先ディレクトリの指定".
class OutputDirectoryDialog : public QDialog {
  Q_OBJECT

 public:
  OutputDirectoryDialog(UiContext& context, const std::string& directory, QWidget* parent = nullptr);
  ~OutputDirectoryDialog() override;

  // The confirmed directory (engine path), once accepted.
  const std::string& directory() const { return directory_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Confirm();

  UiContext& context_;
  std::unique_ptr<Ui::OutputDirectoryDialog> ui_;
  std::string directory_;
};

}  // namespace morva

#endif  // MORVA_UI_OUTPUT_DIRECTORY_DIALOG_H_
