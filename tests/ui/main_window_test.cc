// The main window on a real program directory, offscreen.
#include <QTemporaryDir>
#include <QTest>

#include "ui/main_window.h"
#include "ui/gui_test_support.h"

namespace morva {

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void OpensWithItsCaption() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    UiHarness harness(home.path());
    QVERIFY(!harness.context.program_directory.empty());
    MainWindow window(harness.context);
    harness.ui.set_main_window(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("MORVA"));
    harness.ui.set_main_window(nullptr);
  }
};

}  // namespace morva

QTEST_MAIN(morva::MainWindowTest)
#include "main_window_test.moc"
