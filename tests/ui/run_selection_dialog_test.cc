// Undo from the log through the run selection: runs of a real log listed with 不可 / 済み / 未, the
// chosen run's lines, the refusals and the question, and the undo putting the files back on disk.
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "engine/conversion_run.h"
#include "ui/gui_test_support.h"
#include "ui/modal_driver_support.h"
#include "ui/run_selection_dialog.h"

namespace morva {
namespace {

QStringList Names(const QString& path) { return QDir(path).entryList(QDir::Files, QDir::Name); }

// Each run's undo column, oldest first.
QStringList States(RunSelectionDialog& dialog) {
  auto* runs = dialog.findChild<QTreeWidget*>(QStringLiteral("runList"));
  QStringList states;
  for (int i = 0; i < runs->topLevelItemCount(); ++i) states << runs->topLevelItem(i)->text(1);
  return states;
}

void SelectRun(RunSelectionDialog& dialog, int row) {
  auto* runs = dialog.findChild<QTreeWidget*>(QStringLiteral("runList"));
  runs->setCurrentItem(runs->topLevelItem(row));
}

QPushButton* UndoButton(RunSelectionDialog& dialog) {
  return dialog.findChild<QPushButton*>(QStringLiteral("undoButton"));
}

// Runs the job held in `harness` for real, answering its question and its summary.
void Run(UiHarness& harness) {
  ModalDriver driver;
  driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
      .Answer(QStringLiteral("完全成功："), QMessageBox::Ok);
  const ConversionResult result = Run(harness.session, nullptr, false);
  QVERIFY(driver.done());
  QCOMPARE(result.outcome, ConversionOutcome::kRunFinished);
}

}  // namespace

class RunSelectionDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void ListsRunsAndUndoesTheChosenOne() {
    QTemporaryDir home, renamed, deleted;
    QVERIFY(home.isValid() && renamed.isValid() && deleted.isValid());
    Touch(QDir(renamed.path()).filePath(QStringLiteral("a.txt")));
    Touch(QDir(renamed.path()).filePath(QStringLiteral("b.txt")));
    Touch(QDir(deleted.path()).filePath(QStringLiteral("c.txt")));
    UiHarness harness(home.path());
    ConversionSettings& job = harness.session.job.settings;
    AppSettings& app = harness.session.job.app;

    // A permanent deletion, which no undo can bring back, then an upper-case rename.
    job.sw_del = {true, true, false};
    app.dirfil[0] = EnginePath(harness, deleted.path());
    Run(harness);
    QCOMPARE(Names(deleted.path()), QStringList());
    job.sw_del = {false, false, false};
    job.sw_fnm = static_cast<std::int16_t>(NameRule::kGeneral);
    job.fnm_ipn_sel = ConversionSettings::kGeneralCase;
    job.fnm_ipn2 = 1;
    app.dirfil[0] = EnginePath(harness, renamed.path());
    Run(harness);
    QCOMPARE(Names(renamed.path()), (QStringList{"A.txt", "B.txt"}));

    ModalDriver driver;
    driver
        .OnModal<RunSelectionDialog>([](RunSelectionDialog& dialog) {
          QCOMPARE(States(dialog), (QStringList{"不可", "未"}));
          // The time stamps and states show whole in this font, whatever widths the settings hold.
          auto* runs = dialog.findChild<QTreeWidget*>(QStringLiteral("runList"));
          for (int column = 0; column < 2; ++column) {
            const int text = runs->fontMetrics().horizontalAdvance(runs->topLevelItem(0)->text(column));
            QVERIFY2(runs->columnWidth(column) > text, qPrintable(QString::number(column)));
          }
          // The newest run is chosen first. The deletion cannot be undone, and the dialog stays.
          QVERIFY(UndoButton(dialog)->isEnabled());
          SelectRun(dialog, 0);
          ClickLater(UndoButton(dialog));
        })
        .Answer(QStringLiteral("指定のログからは元に戻すことができません。"), QMessageBox::Ok)
        .OnModal<RunSelectionDialog>([](RunSelectionDialog& dialog) {
          SelectRun(dialog, 1);
          auto* lines = dialog.findChild<QListWidget*>(QStringLiteral("logLines"));
          QVERIFY(lines->count() > 3);
          QVERIFY(lines->item(0)->text().startsWith(QStringLiteral("■ MORVA - Version 6 - 変換実行開始")));
          QVERIFY(lines->item(lines->count() - 1)->text().startsWith(QStringLiteral("完全成功：2")));
          ClickLater(UndoButton(dialog));
        })
        // No keeps the dialog open; the note says the last run's own undo would be lost.
        .Answer(QStringLiteral("\n　・実行すると「元に戻す」ことはできなくなります。"), QMessageBox::No)
        .OnModal<RunSelectionDialog>([](RunSelectionDialog& dialog) { ClickLater(UndoButton(dialog)); })
        .Answer(QStringLiteral("指定の変換結果ログから元に戻します。よろしいですか？"), QMessageBox::Yes)
        .Answer(QStringLiteral("完全成功："), QMessageBox::Ok);
    QVERIFY(UndoFromLogDialog(harness.context, nullptr));
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(Names(renamed.path()), (QStringList{"a.txt", "b.txt"}));

    // The run undone shows 済み; cancel undoes nothing. The list's width stays for the next time.
    ModalDriver again;
    again.OnModal<RunSelectionDialog>([](RunSelectionDialog& dialog) {
      QCOMPARE(States(dialog), (QStringList{"不可", "済み"}));
      dialog.findChild<QTreeWidget*>(QStringLiteral("runList"))->setColumnWidth(2, 211);
      ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")));
    });
    QVERIFY(!UndoFromLogDialog(harness.context, nullptr));
    QVERIFY(again.done());
    QCOMPARE(again.unexpected(), QStringList());
    QCOMPARE(app.lulc[2], 211);
    QCOMPARE(Names(renamed.path()), (QStringList{"a.txt", "b.txt"}));
  }

  void WithoutALogSaysSo() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    UiHarness harness(home.path());
    ModalDriver driver;
    driver.Answer(QStringLiteral("ログが見つかりませんでした。"), QMessageBox::Ok);
    QVERIFY(!UndoFromLogDialog(harness.context, nullptr));
    QVERIFY(driver.done());
  }
};

}  // namespace morva

QTEST_MAIN(morva::RunSelectionDialogTest)
#include "run_selection_dialog_test.moc"
