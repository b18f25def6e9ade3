// A termination signal while the main window's run works on the worker thread: the run stops between two
// targets, nothing more is asked or told, and the window can go at once. Its own program: once the signal
// has told every event loop to end, no later dialog of the process opens.
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/job.h"
#include "settings/settings_file.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/modal_driver_support.h"
#include "ui/termination_signals.h"

namespace morva {
namespace {

constexpr int kFiles = 3000;

}  // namespace

class WorkerTerminationTest : public QObject {
  Q_OBJECT

 private slots:
  void SignalDuringARunOnTheWorkerStopsItWithoutQuestions() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    QVERIFY(MakeNumberedFiles(tree.path(), kFiles));
    {
      UiHarness scratch(home.path());
      Job job;
      job.app.sw_set[AppSettings::kSetShowList] = false;
      job.app.pref = false;
      job.app.dirfil[0] = EnginePath(scratch, tree.path());
      SetUpperCaseJob(job.settings);
      QFile file(QDir(home.path()).filePath(QStringLiteral("morva.dat")));
      QVERIFY(file.open(QIODevice::WriteOnly));
      const std::string text = FormatSettingsText(job.settings, job.app);
      file.write(text.data(), static_cast<qint64>(text.size()));
    }
    UiHarness harness(home.path());
    auto window = std::make_unique<MainWindow>(harness.context);
    harness.ui.set_main_window(window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    // Wired as the program wires it.
    TerminationSignals termination;
    QVERIFY(termination.installed());
    QObject::connect(&termination, &TerminationSignals::Requested, &termination, [&harness] {
      harness.ui.RequestTermination();
      QCoreApplication::exit(0);
    });

    ModalDriver driver;
    driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
        .Then(OpenProgressDialog, [](QWidget*) { ::kill(::getpid(), SIGTERM); });
    window->findChild<QPushButton*>(QStringLiteral("startButton"))->click();
    QTRY_VERIFY(driver.done());
    // As main() does once its event loop has ended: the window goes, with the worker perhaps still at work.
    harness.ui.set_main_window(nullptr);
    window.reset();
    // The run's summary and any other box returned at once: nobody was asked anything more.
    QCOMPARE(driver.unexpected(), QStringList());
    const qsizetype renamed =
        QDir(tree.path()).entryList({QStringLiteral("F*.txt")}, QDir::Files | QDir::CaseSensitive, QDir::NoSort).size();
    QVERIFY2(renamed < kFiles / 2, qPrintable(QString::number(renamed)));
    QVERIFY(OpenProgressDialog() == nullptr);
  }
};

}  // namespace morva

QTEST_MAIN(morva::WorkerTerminationTest)
#include "worker_termination_test.moc"
