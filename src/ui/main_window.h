#ifndef MORVA_UI_MAIN_WINDOW_H_
#define MORVA_UI_MAIN_WINDOW_H_

#include <QDialog>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Ui {
class MainWindow;
}

namespace morva {

struct UiContext;

// The main window "MORVA": the target panel, the five job tabs and the commands.
class MainWindow : public QDialog {
  Q_OBJECT

 public:
  explicit MainWindow(UiContext& context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The calls the engine makes through the user-interface boundary (see UserInterface).
  void FocusSetting(int page_code, std::string_view key);
  std::vector<std::string> ListItems() const;
  void SetTargetPath(std::string_view path);
  void ClearDirectoryTargets();
  void RefreshTargetList();

 private:
  UiContext& context_;
  std::unique_ptr<Ui::MainWindow> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_MAIN_WINDOW_H_
