#include "ui/main_window.h"

#include "ui/window_context.h"
#include "ui_main_window.h"

namespace morva {

MainWindow::MainWindow(UiContext& context, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::MainWindow>()) {
  ui_->setupUi(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::FocusSetting(int, std::string_view) {}
std::vector<std::string> MainWindow::ListItems() const { return {}; }
void MainWindow::SetTargetPath(std::string_view) {}
void MainWindow::ClearDirectoryTargets() {}
void MainWindow::RefreshTargetList() {}

}  // namespace morva
