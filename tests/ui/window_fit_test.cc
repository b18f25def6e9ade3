// The main window stays whole on the screen: at a first start (centred, beside the target list window),
// from a stored place near the screen's edge, and while the person goes through every page. ctest runs
// it on the default offscreen screen and on 1366x768 screens at scale factors 1 and 2.
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/job.h"
#include "ui/gui_test_support.h"
#include "ui/job_pages.h"
#include "ui/main_window.h"
#include "ui/screen_fit.h"
#include "ui/target_list_window.h"

namespace morva {
namespace {

QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

QRect Frame(const QWidget& window) { return window.geometry().marginsAdded(FrameMargins(window)); }

// Whole on the screen when it can be; otherwise its title bar and left edge are.
void VerifyOnScreen(const QWidget& window, const char* when) {
  const QRect frame = Frame(window);
  const QRect available = Available();
  const QString where = QStringLiteral("%1: frame %2,%3 %4x%5 on %6x%7")
                            .arg(QLatin1String(when))
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(available.width())
                            .arg(available.height());
  QVERIFY2(frame.top() >= available.top() && frame.left() >= available.left(), qPrintable(where));
  if (frame.width() <= available.width()) QVERIFY2(frame.right() <= available.right(), qPrintable(where));
  if (frame.height() <= available.height()) QVERIFY2(frame.bottom() <= available.bottom(), qPrintable(where));
}

}  // namespace

class WindowFitTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    qInfo("available screen geometry %dx%d", Available().width(), Available().height());
  }

  void StaysOnTheScreen_data() {
    QTest::addColumn<bool>("first_start");
    QTest::addColumn<int>("stored_x");
    QTest::addColumn<int>("stored_y");
    QTest::newRow("first start") << true << 0 << 0;
    QTest::newRow("stored near the bottom right") << false << -100 << -100;
    QTest::newRow("stored at the top left") << false << 0 << 0;
  }

  void StaysOnTheScreen() {
    QFETCH(bool, first_start);
    QFETCH(int, stored_x);
    QFETCH(int, stored_y);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    if (!first_start) {
      Job job;
      job.app.sw_set[AppSettings::kSetShowList] = false;
      // Negative: from the screen's right and bottom edges.
      job.app.winx = stored_x < 0 ? Available().right() + stored_x : stored_x;
      job.app.winy = stored_y < 0 ? Available().bottom() + stored_y : stored_y;
      WriteSettings(home.path(), job);
    }
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    VerifyOnScreen(window, "shown");

    if (TargetListWindow* list = window.target_list_window(); first_start && list != nullptr) {
      // Beside the main window, never over its controls, when the screen has the room.
      const int room = Available().width() - Frame(window).width();
      if (room >= list->minimumWidth()) {
        QVERIFY2(!Frame(*list).intersects(window.geometry()), "the target list window covers the main window");
      }
    }

    // Every page, the name rules' ones included: a taller page never pushes the bottom row off.
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("jobTabs"));
    for (int tab = tabs->count() - 1; tab >= 0; --tab) {
      tabs->setCurrentIndex(tab);
      QCoreApplication::processEvents();
      VerifyOnScreen(window, "page");
    }
    const int rules = window.job_page()->findChild<QComboBox*>(QStringLiteral("ruleCombo"))->count();
    for (int rule = 0; rule < rules; ++rule) {
      window.job_page()->findChild<QComboBox*>(QStringLiteral("ruleCombo"))->setCurrentIndex(rule);
      QCoreApplication::processEvents();
      VerifyOnScreen(window, qPrintable(QStringLiteral("name rule %1").arg(rule)));
    }
    harness.ui.set_main_window(nullptr);
  }
};

}  // namespace morva

QTEST_MAIN(morva::WindowFitTest)
#include "window_fit_test.moc"
