// morva-screenshots OUT_DIR: renders every window of the desktop program to PNG files in OUT_DIR, so a
// reviewer can look at each of them without a display (run offscreen by `make screenshots`).
// morva-screenshots --desktop FILE: the whole screen the platform gives at a first start.
#include <QApplication>
#include <QFont>
#include <QTest>
#include <cstdio>

#include "ui/screenshots.h"

namespace morva {

bool SaveShot(QWidget& widget, const QDir& out, const QString& name) {
  widget.show();
  if (!QTest::qWaitForWindowExposed(&widget)) return false;
  QCoreApplication::processEvents();
  const QString path = out.filePath(name + ".png");
  if (!widget.grab().save(path)) return false;
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace morva

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2 && !(argc == 3 && QByteArray(argv[1]) == "--desktop")) {
    std::fprintf(stderr, "usage: morva-screenshots OUT_DIR | --desktop FILE\n");
    return 2;
  }
  QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
  if (argc == 3) return morva::RenderDesktopShot(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "morva-screenshots: cannot make %s\n", argv[1]);
    return 1;
  }
  const bool main_ok = morva::RenderMainWindowShots(out);
  const bool dialogs_ok = morva::RenderDialogShots(out);
  const bool pages_ok = morva::RenderPageShots(out);
  return main_ok && dialogs_ok && pages_ok ? 0 : 1;
}
