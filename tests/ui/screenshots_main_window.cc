// The main window and its panels, for morva-screenshots.
#include <QTemporaryDir>

#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/screenshots.h"

namespace morva {

bool RenderMainWindowShots(const QDir& out) {
  QTemporaryDir home;
  if (!home.isValid()) return false;
  UiHarness harness(home.path());
  MainWindow window(harness.context);
  harness.ui.set_main_window(&window);
  const bool ok = SaveShot(window, out, QStringLiteral("main_window"));
  harness.ui.set_main_window(nullptr);
  return ok;
}

}  // namespace morva
