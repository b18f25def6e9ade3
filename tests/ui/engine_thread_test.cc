// The main window runs the engine on its worker thread: the GUI thread keeps answering events through a
// long step, and the progress dialog's cancel button still stops a run. Real trees, offscreen.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "core/job.h"
#include "settings/settings_file.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/modal_driver_support.h"
#include "ui/run_selection_dialog.h"

namespace morva {
namespace {

constexpr qint64 kWipedFileBytes = qint64{256} << 20;
constexpr int kTickMs = 10;
constexpr int kLatencyLimitMs = 100;
constexpr int kRunTimeoutMs = 10 * 60 * 1000;
constexpr int kManyFiles = 3000;
constexpr qint64 kLargeLogBytes = qint64{200} << 20;

Job RunJob(UiHarness& scratch, const QString& tree) {
  Job job;
  job.app.sw_set[AppSettings::kSetShowList] = false;
  job.app.pref = false;
  job.app.dirfil[0] = EnginePath(scratch, tree);
  return job;
}

// How late each tick of a `kTickMs` timer comes while it runs, in milliseconds. A blocked event loop
// fires a timer once when it wakes: every tick that was due meanwhile counts, each as late as it was.
class LatencyProbe : public QObject {
 public:
  LatencyProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
      const qint64 now = clock_.elapsed();
      for (qint64 due = last_ + kTickMs; due <= now - kTickMs; due += kTickMs) lateness_.push_back(now - due);
      lateness_.push_back(std::max<qint64>(0, now - last_ - kTickMs));
      last_ = now;
    });
    clock_.start();
    timer_.start();
  }
  void Stop() { timer_.stop(); }
  std::size_t ticks() const { return lateness_.size(); }
  qint64 Percentile(double p) const {
    if (lateness_.empty()) return 0;
    std::vector<qint64> sorted = lateness_;
    std::sort(sorted.begin(), sorted.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1));
    return sorted[index];
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  std::vector<qint64> lateness_;
};

}  // namespace

class EngineThreadTest : public QObject {
  Q_OBJECT

 private slots:
  // One target whose deletion takes seconds: a level-3 wipe of a large file. Before the engine had its
  // own thread the window answered nothing until the file was done.
  void WindowAnswersDuringALongWipe() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    const QString big = tree.filePath(QStringLiteral("big.bin"));
    {
      QFile file(big);
      QVERIFY(file.open(QIODevice::WriteOnly));
      QVERIFY(file.resize(kWipedFileBytes));
    }
    {
      UiHarness scratch(home.path());
      Job job = RunJob(scratch, tree.path());
      job.settings.sw_del = {true, true, true};  // delete, past the recycle bin, wiped first
      job.settings.del_01 = 3;
      WriteSettings(home.path(), job);
    }
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));

    ModalDriver driver;
    driver.AnswerEveryBox(QMessageBox::Yes);
    LatencyProbe probe;
    QElapsedTimer run_clock;
    run_clock.start();
    window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), kRunTimeoutMs);
    probe.Stop();
    const qint64 p99 = probe.Percentile(0.99);
    qInfo("level-3 wipe of %lld MB: %lld ms, %zu ticks, event latency p50 %lld ms, p99 %lld ms, max %lld ms",
          static_cast<long long>(kWipedFileBytes >> 20), static_cast<long long>(run_clock.elapsed()), probe.ticks(),
          static_cast<long long>(probe.Percentile(0.5)), static_cast<long long>(p99),
          static_cast<long long>(probe.Percentile(1.0)));
    QVERIFY(!QFile::exists(big));
    QCOMPARE(driver.unexpected(), QStringList());
    QVERIFY2(probe.ticks() >= 20, "the wipe was too short to measure anything");
    QVERIFY2(p99 < kLatencyLimitMs, qPrintable(QString::number(p99)));
    harness.ui.set_main_window(nullptr);
  }

  // The cancel button of the progress dialog, confirmed, stops the run on the worker at its next target:
  // the files renamed are those the summary counts, and not all of them.
  void CancelButtonStopsARunOnTheWorker() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    QVERIFY(MakeNumberedFiles(tree.path(), kManyFiles));
    {
      UiHarness scratch(home.path());
      Job job = RunJob(scratch, tree.path());
      SetUpperCaseJob(job.settings);
      WriteSettings(home.path(), job);
    }
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    auto* start = window.findChild<QPushButton*>(QStringLiteral("startButton"));

    bool controls_off = false;
    ModalDriver driver;
    driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
        .Then(OpenProgressDialog,
              [&](QWidget* dialog) {
                controls_off = window.busy() && !start->isEnabled();
                ClickLater(dialog->findChild<QPushButton*>(QStringLiteral("cancelButton")));
              })
        .Answer(QStringLiteral("キャンセルしてもよろしいですか？"), QMessageBox::Yes)
        .Answer(QStringLiteral("完全成功："), QMessageBox::Ok);
    start->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), kRunTimeoutMs);
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    QVERIFY(controls_off);
    QVERIFY(start->isEnabled());

    const QRegularExpressionMatch counted =
        QRegularExpression(QStringLiteral("完全成功：(\\d+)")).match(driver.answered().last());
    QVERIFY(counted.hasMatch());
    const qsizetype renamed =
        QDir(tree.path()).entryList({QStringLiteral("F*.txt")}, QDir::Files | QDir::CaseSensitive, QDir::NoSort).size();
    QCOMPARE(renamed, counted.captured(1).toLongLong());
    // Stopped before the end: how far it got before the click arrived depends on the machine's load.
    QVERIFY2(renamed < kManyFiles, qPrintable(QString::number(renamed)));
    QVERIFY(OpenProgressDialog() == nullptr);
    harness.ui.set_main_window(nullptr);
  }

  // The undo from the log through the window: the scan of the log and the undo on the worker, the choice
  // of the run between them on the GUI thread.
  void UndoFromTheLogThroughTheWindow() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    QVERIFY(MakeNumberedFiles(tree.path(), 3));
    {
      UiHarness scratch(home.path());
      Job job = RunJob(scratch, tree.path());
      SetUpperCaseJob(job.settings);
      WriteSettings(home.path(), job);
    }
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    const QStringList before = QDir(tree.path()).entryList(QDir::Files);
    {
      ModalDriver driver;
      driver.AnswerEveryBox(QMessageBox::Yes);
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
    }
    QCOMPARE(QDir(tree.path()).entryList(QDir::Files), (QStringList{"F000.txt", "F001.txt", "F002.txt"}));
    ModalDriver driver;
    driver.AnswerEveryBox(QMessageBox::Yes);
    driver.OnModal<RunSelectionDialog>([](RunSelectionDialog& dialog) {
      ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("undoButton")));
    });
    auto* undo_from_log = window.findChild<QPushButton*>(QStringLiteral("undoFromLogButton"));
    QVERIFY(undo_from_log->isEnabled());
    undo_from_log->click();
    QTRY_VERIFY(driver.done());
    QTRY_VERIFY(!window.busy());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(QDir(tree.path()).entryList(QDir::Files), before);
    harness.ui.set_main_window(nullptr);
  }

  // A log of 200 MB, which the undo from the log reads through before it lists the runs: the scan runs on
  // the worker, and the window answers meanwhile.
  void WindowAnswersDuringAScanOfALargeLog() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    QVERIFY(MakeNumberedFiles(tree.path(), kManyFiles));
    {
      UiHarness scratch(home.path());
      Job job = RunJob(scratch, tree.path());
      SetUpperCaseJob(job.settings);
      job.app.sw_opt[AppSettings::kOptNoLog] = false;
      WriteSettings(home.path(), job);
    }
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    {
      ModalDriver driver;
      driver.AnswerEveryBox(QMessageBox::Yes);
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), kRunTimeoutMs);
    }
    // The one run's block, over and over: a log as a long-used program leaves it.
    QFile log(QDir(home.path()).filePath(QStringLiteral("mvlogs.txt")));
    QVERIFY(log.open(QIODevice::ReadWrite));
    const QByteArray block = log.readAll();
    QVERIFY(!block.isEmpty());
    while (log.size() < kLargeLogBytes) QVERIFY(log.write(block) == block.size());
    log.close();

    // Measured from the click to the list of runs, which the scan fills: the scan and nothing else.
    LatencyProbe probe;
    QElapsedTimer clock;
    clock.start();
    ModalDriver driver;
    driver.OnModal<RunSelectionDialog>([&probe](RunSelectionDialog& dialog) {
      probe.Stop();
      dialog.reject();
    });
    window.findChild<QPushButton*>(QStringLiteral("undoFromLogButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), kRunTimeoutMs);
    const qint64 p99 = probe.Percentile(0.99);
    qInfo("scan of a log of %lld MB: %lld ms, %zu ticks, event latency p50 %lld ms, p99 %lld ms, max %lld ms",
          static_cast<long long>(kLargeLogBytes >> 20), static_cast<long long>(clock.elapsed()), probe.ticks(),
          static_cast<long long>(probe.Percentile(0.5)), static_cast<long long>(p99),
          static_cast<long long>(probe.Percentile(1.0)));
    QVERIFY(driver.done());
    QVERIFY2(p99 < kLatencyLimitMs, qPrintable(QString::number(p99)));
    harness.ui.set_main_window(nullptr);
  }

  // Closing the window while a run works cancels the run; the window closes once the worker has stopped,
  // and only then are the settings saved.
  void CloseDuringARunCancelsItAndClosesAfter() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    QVERIFY(MakeNumberedFiles(tree.path(), kManyFiles));
    {
      UiHarness scratch(home.path());
      Job job = RunJob(scratch, tree.path());
      SetUpperCaseJob(job.settings);
      WriteSettings(home.path(), job);
    }
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    bool busy_while_shown = true;
    connect(&window, &QDialog::finished, this, [&] { busy_while_shown = window.busy(); });

    ModalDriver driver;
    driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
        .Then(OpenProgressDialog, [&](QWidget*) { window.close(); })
        .Answer(QStringLiteral("完全成功："), QMessageBox::Ok);
    window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), kRunTimeoutMs);
    QVERIFY(!window.busy());
    QVERIFY(!busy_while_shown);
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    const qsizetype renamed =
        QDir(tree.path()).entryList({QStringLiteral("F*.txt")}, QDir::Files | QDir::CaseSensitive, QDir::NoSort).size();
    // Stopped before the end: how far it got before the click arrived depends on the machine's load.
    QVERIFY2(renamed < kManyFiles, qPrintable(QString::number(renamed)));
    QVERIFY(window.write_gate().is_open());  // a run happened: the settings were written at the close
    harness.ui.set_main_window(nullptr);
  }
};

}  // namespace morva

QTEST_MAIN(morva::EngineThreadTest)
#include "engine_thread_test.moc"
