// The progress dialog's cancel during a real run: the question, and what each answer does to the run
// and to the files on disk.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "engine/conversion_run.h"
#include "ui/gui_test_support.h"
#include "ui/modal_driver_support.h"

namespace morva {
namespace {

constexpr int kFiles = 300;

}  // namespace

class ProgressDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // The notice of a wait for the log needs no answer: it shows while the engine waits and goes once the
  // engine carries on (a modal box would have kept the wait from starting until someone clicked it).
  void WaitNoticeShowsWithoutAnAnswer() {
    QTemporaryDir home;
    UiHarness harness(home.path());
    harness.ui.ShowWaitNotice(std::string("busy"));
    const auto shown = [] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) return true;
      }
      return false;
    };
    QVERIFY(shown());
    QVERIFY(!harness.ui.PollCancel());
    QVERIFY(!shown());
  }

  void CancelAsksAndStopsOnYes_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("Yes stops the run at the next target") << true;
    QTest::newRow("No lets the run go on") << false;
  }

  void CancelAsksAndStopsOnYes() {
    QFETCH(bool, confirm);
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    QVERIFY(MakeNumberedFiles(tree.path(), kFiles));
    QDir dir(tree.path());
    UiHarness harness(home.path());
    SetUpperCaseJob(harness.session.job.settings);
    harness.session.job.app.dirfil[0] = EnginePath(harness, tree.path());

    ModalDriver driver;
    driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
        .Then(OpenProgressDialog,
              [](QWidget* dialog) {
                QCOMPARE(dialog->windowTitle().left(12), QStringLiteral("MORVA - 変換状況"));
                ClickLater(dialog->findChild<QPushButton*>(QStringLiteral("cancelButton")));
              })
        .Answer(QStringLiteral("キャンセルしてもよろしいですか？"), confirm ? QMessageBox::Yes : QMessageBox::No)
        .Answer(QStringLiteral("完全成功："), QMessageBox::Ok);
    const ConversionResult result = Run(harness.session, nullptr, false);
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(result.outcome, ConversionOutcome::kRunFinished);
    QCOMPARE(result.cancelled, confirm);

    dir.refresh();
    const int renamed = dir.entryList({QStringLiteral("F*.txt")}, QDir::Files | QDir::CaseSensitive, QDir::NoSort).size();
    QCOMPARE(renamed, result.counters.full_success);
    if (confirm) {
      // The cancel took effect within the targets its question held up, long before the end.
      QVERIFY2(renamed < kFiles / 2, qPrintable(QString::number(renamed)));
      QVERIFY(result.counters.processed < kFiles / 2);
    } else {
      QCOMPARE(renamed, kFiles);
    }
    QVERIFY(OpenProgressDialog() == nullptr);
  }
};

}  // namespace morva

QTEST_MAIN(morva::ProgressDialogTest)
#include "progress_dialog_test.moc"
