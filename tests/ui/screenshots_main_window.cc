// The main window with each target panel, the target list window and the output-directory dialog, for
// morva-screenshots.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include "ui/gui_test_support.h"
#include "ui/list_panel.h"
#include "ui/main_window.h"
#include "ui/output_directory_dialog.h"
#include "ui/qt_text.h"
#include "ui/screenshots.h"
#include "ui/target_list_window.h"

namespace morva {
namespace {

// A small tree of photos, songs and a folder to show.
bool MakeTree(const QTemporaryDir& tree) {
  const char* const names[] = {"IMG_0001.jpg", "IMG_0002.jpg", "夏休み.mp3", "メモ.txt", "readme.txt"};
  for (const char* name : names) {
    QFile file(tree.filePath(QString::fromUtf8(name)));
    if (!file.open(QIODevice::WriteOnly)) return false;
  }
  return QDir(tree.path()).mkdir(QStringLiteral("アルバム"));
}

}  // namespace

bool RenderMainWindowShots(const QDir& out) {
  QTemporaryDir home, tree;
  if (!home.isValid() || !tree.isValid() || !MakeTree(tree)) return false;
  bool ok = true;
  {
    UiHarness harness(home.path());
    MainWindow window(harness.context, {tree.path()});
    harness.ui.set_main_window(&window);
    window.findChild<QCheckBox*>(QStringLiteral("directoriesCheck"))->click();
    window.RefreshTargetList();
    ok = SaveShot(window, out, QStringLiteral("main_window")) && ok;
    if (TargetListWindow* list = window.target_list_window()) {
      ok = SaveShot(*list, out, QStringLiteral("target_list_window")) && ok;
    } else {
      ok = false;
    }
    window.findChild<QComboBox*>(QStringLiteral("targetModeCombo"))->setCurrentIndex(1);
    window.list_panel()->AddEntries({ToQt(*harness.codec, EnginePath(harness, tree.filePath(QStringLiteral("IMG_0001.jpg")))),
                                     ToQt(*harness.codec, EnginePath(harness, tree.filePath(QString::fromUtf8("夏休み.mp3")))),
                                     ToQt(*harness.codec, EnginePath(harness, tree.filePath(QString::fromUtf8("アルバム"))))});
    ok = SaveShot(window, out, QStringLiteral("main_window_list_panel")) && ok;

    OutputDirectoryDialog dialog(harness.context, EnginePath(harness, tree.filePath(QStringLiteral("copies"))), &window);
    ok = SaveShot(dialog, out, QStringLiteral("output_directory_dialog")) && ok;
    harness.ui.set_main_window(nullptr);
  }
  return ok;
}

}  // namespace morva
