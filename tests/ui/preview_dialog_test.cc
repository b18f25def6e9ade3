// The preview dialog on a real temporary tree, through the main window: the preview on the engine's
// worker, what the dialog lists, the exclusion commands, the refusal to start without a target, and the
// run of what it showed changing the files on disk.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/job.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/modal_driver_support.h"
#include "ui/preview_dialog.h"
#include "ui/preview_table_model.h"

namespace morva {
namespace {

QStringList Names(const QDir& dir) { return dir.entryList(QDir::Files, QDir::Name); }

// The states of the records, by target name, as the dialog leaves them.
QMap<QString, int> States(PreviewDialog& dialog) {
  QMap<QString, int> states;
  PreviewTableModel& model = dialog.model();
  for (int row = 0; row < model.rowCount(); ++row) {
    const QString target = model.data(model.index(row, 1)).toString();
    states[target.section(QLatin1Char('/'), -1)] = model.RecordAt(row).state;
  }
  return states;
}

QString Counts(PreviewDialog& dialog) { return dialog.findChild<QLabel*>(QStringLiteral("countsLabel"))->text(); }

void Click(PreviewDialog& dialog, const char* name) {
  auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
  QVERIFY2(button != nullptr, name);
  QTest::mouseClick(button, Qt::LeftButton);
}

// Starts a preview from the main window of `harness` and waits until the command has ended: the preview
// on the worker, the dialog (which `driver` drives) and the run it starts. The window's job is the one
// of the settings file.
void PreviewFromTheWindow(UiHarness& harness) {
  MainWindow window(harness.context);
  QVERIFY(ShowAsMainWindow(harness, window));
  QSignalSpy finished(&window, &MainWindow::CommandFinished);
  window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
  QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
  harness.ui.set_main_window(nullptr);
}

// The settings file of `home` for a preview of `job` over `tree`, as the window loads it.
void WritePreviewJob(const QString& home, const QString& tree, Job& job) {
  UiHarness scratch(home);
  job.app.sw_set[AppSettings::kSetShowList] = false;
  job.app.pref = true;
  job.app.set_0 = 1;
  job.app.dirfil[0] = EnginePath(scratch, tree);
  WriteSettings(home, job);
}

}  // namespace

class PreviewDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // x1 would become y1, which exists: an error. x2 and x3 change; y1 and z need nothing.
  void ExcludesRowsAndRunsWhatIsLeft() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    const QDir dir(tree.path());
    for (const char* name : {"x1.txt", "x2.txt", "x3.txt", "y1.txt", "z.txt"}) Touch(dir.filePath(QString::fromLatin1(name)));
    Job job;
    job.settings.sw_fnm = static_cast<std::int16_t>(NameRule::kReplace);
    job.settings.fnm_ckn1.Assign("x");
    job.settings.fnm_ckn3.Assign("y");
    WritePreviewJob(home.path(), tree.path(), job);
    UiHarness harness(home.path());
    const AppSettings& app = harness.session.job.app;

    ModalDriver driver;
    driver
        .OnModal<PreviewDialog>([](PreviewDialog& dialog) {
          // Only the name job is on: the number, the target and the new name.
          const PreviewTableModel& model = dialog.model();
          QStringList titles;
          for (int c = 0; c < model.columnCount(); ++c) titles << model.headerData(c, Qt::Horizontal).toString();
          QCOMPARE(titles, (QStringList{"＃", "対象ファイル名", "変換後名称"}));
          QCOMPARE(model.rowCount(), 5);
          QCOMPARE(Counts(dialog), QStringLiteral("抽出総数：5　　　変換対象：2　　　成功/不要：4　　　変換失敗：1"));
          QCOMPARE(States(dialog), (QMap<QString, int>{{"x1.txt", 2}, {"x2.txt", 1}, {"x3.txt", 1}, {"y1.txt", 3}, {"z.txt", 3}}));
          QVERIFY(model.data(model.index(0, 2)).toString().startsWith(QStringLiteral("既に存在する名称への変換により失敗")));
          QCOMPARE(model.data(model.index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(0xC0, 0, 0));
          QCOMPARE(model.data(model.index(3, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0x80, 0));
          QVERIFY(!model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());

          // "エラー" excludes the error; "全て対象" unticks it and brings it back.
          Click(dialog, "errorCheck");
          QCOMPARE(States(dialog)["x1.txt"], -2);
          QCOMPARE(model.data(model.index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(0xA0, 0xA0, 0xA0));
          Click(dialog, "includeAllButton");
          QVERIFY(!dialog.findChild<QCheckBox*>(QStringLiteral("errorCheck"))->isChecked());
          QCOMPARE(States(dialog)["x1.txt"], 2);

          // Everything excluded and hidden: no row left, nothing to convert.
          Click(dialog, "hideExcludedCheck");
          Click(dialog, "excludeAllButton");
          QCOMPARE(model.rowCount(), 0);
          QCOMPARE(Counts(dialog), QStringLiteral("抽出総数：5　　　変換対象：0　　　成功/不要：4　　　変換失敗：1"));
          ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("startButton")));
        })
        .Answer(QStringLiteral("変換対象がありません。"), QMessageBox::Ok)
        .OnModal<PreviewDialog>([&dir](PreviewDialog& dialog) {
          // A file that appears while the dialog is open is not the preview's: the run leaves it alone.
          Touch(dir.filePath(QStringLiteral("x0.txt")));
          Click(dialog, "includeAllButton");
          QCOMPARE(dialog.model().rowCount(), 5);
          // x3 excluded by a double click, x1 by "エラー"; with excluded rows hidden, x3 leaves the list.
          auto* view = dialog.findChild<QTableView*>(QStringLiteral("resultView"));
          const QRect x3 = view->visualRect(dialog.model().index(2, 1));
          QVERIFY2(x3.isValid(), "x3 row not laid out");
          QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, x3.center());
          QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, x3.center());
          QCOMPARE(States(dialog).value("x3.txt", 0), 0);
          Click(dialog, "errorCheck");
          QCOMPARE(dialog.model().rowCount(), 3);
          QCOMPARE(States(dialog), (QMap<QString, int>{{"x2.txt", 1}, {"y1.txt", 3}, {"z.txt", 3}}));
          QCOMPARE(Counts(dialog), QStringLiteral("抽出総数：5　　　変換対象：1　　　成功/不要：4　　　変換失敗：1"));
          view->setColumnWidth(2, 222);
          ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("startButton")));
        })
        .Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
        .Answer(QStringLiteral("完全成功："), QMessageBox::Ok);

    PreviewFromTheWindow(harness);
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    // Only x2 was left to convert.
    QCOMPARE(Names(dir), (QStringList{"x0.txt", "x1.txt", "x3.txt", "y1.txt", "y2.txt", "z.txt"}));
    // The dialog's choices and the new name column's width stay for the next preview.
    QVERIFY(app.sw_pre[0]);
    QVERIFY(app.sw_pre[AppSettings::kPreExcludeFailures]);
    QVERIFY(!app.sw_pre[AppSettings::kPreExcludeNoChange]);
    QCOMPARE(app.prec[3], 222);
    QVERIFY(app.prew >= 600 && app.preh >= 240);
  }

  // People read host paths: every target, file or directory, is listed by its host path.
  void ListsTargetsByTheirHostPaths() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    const QDir dir(tree.filePath(QStringLiteral("写真 アルバム")));
    QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("写真 アルバム/秋")));
    Touch(dir.filePath(QStringLiteral("夏.txt")));
    Touch(dir.filePath(QStringLiteral("b.txt")));
    Job job;
    SetUpperCaseJob(job.settings);
    job.app.sw_set[AppSettings::kSetDirectories] = true;
    WritePreviewJob(home.path(), dir.path(), job);
    UiHarness harness(home.path());

    QStringList listed;
    ModalDriver driver;
    driver.OnModal<PreviewDialog>([&listed](PreviewDialog& dialog) {
      const PreviewTableModel& model = dialog.model();
      for (int row = 0; row < model.rowCount(); ++row) listed << model.data(model.index(row, 1)).toString();
      ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")));
    });
    PreviewFromTheWindow(harness);
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    listed.sort();
    QCOMPARE(listed, (QStringList{"[Dir] " + dir.filePath(QStringLiteral("秋")), "[File] " + dir.filePath(QStringLiteral("b.txt")),
                                  "[File] " + dir.filePath(QStringLiteral("夏.txt"))}));
  }

  // Cancel and the close box end the preview without touching a file.
  void CancelLeavesTheFilesAlone() {
    QTemporaryDir home, tree;
    QVERIFY(home.isValid() && tree.isValid());
    const QDir dir(tree.path());
    Touch(dir.filePath(QStringLiteral("a.txt")));
    Job job;
    SetUpperCaseJob(job.settings);
    WritePreviewJob(home.path(), tree.path(), job);
    UiHarness harness(home.path());

    ModalDriver driver;
    driver.OnModal<PreviewDialog>([](PreviewDialog& dialog) {
      QCOMPARE(dialog.model().data(dialog.model().index(0, 2)).toString(), QStringLiteral("A.txt"));
      // The dialog never gets smaller than its minimum.
      dialog.resize(500, 200);
      QCOMPARE(dialog.size(), QSize(600, 240));
      ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")));
    });
    PreviewFromTheWindow(harness);
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(Names(dir), QStringList{"a.txt"});
  }
};

}  // namespace morva

QTEST_MAIN(morva::PreviewDialogTest)
#include "preview_dialog_test.moc"
