// A termination signal (a logout's SIGTERM, Ctrl+C, a closed terminal) while a run is in progress: the
// run stops between two targets as a confirmed cancel stops it, no dialog is left waiting for an answer,
// and the files renamed are the ones counted. Its own program: once the signal has told every event
// loop to end, no later dialog of the process opens.
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "engine/conversion_run.h"
#include "ui/gui_test_support.h"
#include "ui/modal_driver_support.h"
#include "ui/termination_signals.h"

namespace morva {
namespace {

constexpr int kFiles = 300;

}  // namespace

class TerminationTest : public QObject {
  Q_OBJECT

 private slots:
  void SignalDuringARunStopsItWithoutQuestions() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    QVERIFY(MakeNumberedFiles(tree.path(), kFiles));
    QDir dir(tree.path());
    UiHarness harness(home.path());
    SetUpperCaseJob(harness.session.job.settings);
    harness.session.job.app.dirfil[0] = EnginePath(harness, tree.path());

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
    const ConversionResult result = Run(harness.session, nullptr, false);
    QVERIFY(driver.done());
    // The run's summary and any other box returned at once: nobody was asked anything more.
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(result.outcome, ConversionOutcome::kRunFinished);
    QVERIFY(result.cancelled);

    dir.refresh();
    const int renamed = dir.entryList({QStringLiteral("F*.txt")}, QDir::Files | QDir::CaseSensitive, QDir::NoSort).size();
    QCOMPARE(renamed, result.counters.full_success);
    QVERIFY2(renamed < kFiles / 2, qPrintable(QString::number(renamed)));
    QVERIFY(OpenProgressDialog() == nullptr);
  }
};

}  // namespace morva

QTEST_MAIN(morva::TerminationTest)
#include "termination_test.moc"
