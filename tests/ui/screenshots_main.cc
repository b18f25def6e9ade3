// morva-screenshots OUT_DIR: renders every window of the desktop program to PNG files in OUT_DIR, so a
// reviewer can look at each of them without a display (run offscreen by `make screenshots`).
// morva-screenshots --desktop FILE: the whole screen the platform gives at a first start.
// morva-screenshots --english OUT_DIR: the main window and the job pages in English, as an English locale
// shows them.
#include <QApplication>
#include <QFont>
#include <QTest>
#include <cstdio>

#include "platform/interface_language.h"
#include "ui/qt_translations.h"
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
  const bool english = argc == 3 && QByteArray(argv[1]) == "--english";
  if (argc != 2 && !(argc == 3 && QByteArray(argv[1]) == "--desktop") && !english) {
    std::fprintf(stderr, "usage: morva-screenshots OUT_DIR | --desktop FILE | --english OUT_DIR\n");
    return 2;
  }
  QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
  if (argc == 3 && !english) return morva::RenderDesktopShot(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  QDir out(QString::fromLocal8Bit(argv[argc - 1]));
  if (!out.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "morva-screenshots: cannot make %s\n", argv[argc - 1]);
    return 1;
  }
  if (english) {
    const morva::InstalledTranslations translations = morva::InstallTranslations(morva::UiLanguage::kEnglish);
    if (!translations.has_program()) {
      std::fprintf(stderr, "morva-screenshots: the English translation is not among the resources\n");
      return 1;
    }
    const bool main_english = morva::RenderMainWindowShots(out);
    return morva::RenderPageShots(out) && main_english ? 0 : 1;
  }
  const bool main_ok = morva::RenderMainWindowShots(out);
  const bool dialogs_ok = morva::RenderDialogShots(out);
  const bool pages_ok = morva::RenderPageShots(out);
  return main_ok && dialogs_ok && pages_ok ? 0 : 1;
}
