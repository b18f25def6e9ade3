// The screen as a person meets the desktop program at its first start: the main window and the target
// list window placed by the program on whatever screen the platform gives (make screenshots renders a
// 1366x768 laptop screen at scale factors 1 and 2), with a job whose tabs carry their marks.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "core/job.h"
#include "settings/settings_file.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/screen_fit.h"
#include "ui/screenshots.h"

namespace morva {

bool RenderDesktopShot(const QString& path) {
  QTemporaryDir home, tree;
  if (!home.isValid() || !tree.isValid()) return false;
  for (const char* name : {"IMG_0001.jpg", "IMG_0002.jpg", "夏休み.mp3"}) {
    QFile file(tree.filePath(QString::fromUtf8(name)));
    if (!file.open(QIODevice::WriteOnly)) return false;
  }
  {
    // A name job and an attribute job, whose tabs are marked as on; no window positions, as at a first
    // start.
    Job job;
    SetUpperCaseJob(job.settings);
    job.settings.sw_atr[0] = true;
    job.settings.atr_onb = 1;
    QFile file(QDir(home.path()).filePath(QStringLiteral("morva.dat")));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QList<QByteArray> lines = QByteArray::fromStdString(FormatSettingsText(job.settings, job.app)).split('\n');
    for (const QByteArray& line : lines) {
      if (line.startsWith("WINX") || line.startsWith("WINY") || line.startsWith("TREX") || line.startsWith("TREY")) continue;
      file.write(line + '\n');
    }
  }
  UiHarness harness(home.path());
  MainWindow window(harness.context, {tree.path()});
  harness.ui.set_main_window(&window);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return false;
  QCoreApplication::processEvents();

  const QScreen* screen = window.screen();
  const qreal ratio = screen->devicePixelRatio();
  QImage image(screen->geometry().size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(QColor(0x3b, 0x4a, 0x5a));
  QPainter painter(&image);
  // The windows as a window manager would frame them: a title bar and a border.
  for (QWidget* shown : QApplication::topLevelWidgets()) {
    if (!shown->isVisible() || shown->isHidden()) continue;
    const QRect frame = shown->geometry().marginsAdded(FrameMargins(*shown));
    painter.fillRect(frame, QColor(0x2d, 0x2d, 0x2d));
    painter.setPen(Qt::white);
    painter.drawText(frame.adjusted(8, 0, 0, 0).topLeft() + QPoint(0, FrameMargins(*shown).top() - 6),
                     shown->windowTitle());
    painter.drawPixmap(shown->geometry().topLeft(), shown->grab());
  }
  painter.end();
  harness.ui.set_main_window(nullptr);
  if (!image.save(path)) return false;
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace morva
