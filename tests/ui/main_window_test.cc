// The main window on a real program directory and real temporary trees, offscreen.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cstring>

#include "core/job.h"
#include "ui/job_pages.h"
#include "settings/settings_file.h"
#include "ui/gui_test_support.h"
#include "ui/list_panel.h"
#include "ui/main_window.h"
#include "ui/message_box_answerer.h"
#include "ui/modal_driver_support.h"
#include "ui/path_panel.h"
#include "ui/preview_dialog.h"
#include "ui/qt_text.h"
#include "ui/single_instance.h"

namespace morva {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsWithTheArgumentsGiven_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("mode");
    QTest::newRow("none: the stored list mode") << 0 << 2;
    QTest::newRow("one: the path panel with it") << 1 << 1;
    QTest::newRow("two: the list panel, sorted") << 2 << 2;
  }
  void StartsWithTheArgumentsGiven() {
    QFETCH(int, count);
    QFETCH(int, mode);
    QTemporaryDir home, tree;
    Touch(tree.filePath(QStringLiteral("b.txt")));
    Touch(tree.filePath(QStringLiteral("a.txt")));
    Job job = QuietJob();
    job.app.set_0 = 2;
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    const QStringList all = {tree.filePath(QStringLiteral("b.txt")), tree.filePath(QStringLiteral("a.txt"))};
    const QStringList arguments = count == 1 ? QStringList{tree.path()} : all.mid(0, count);
    MainWindow window(harness.context, arguments);
    harness.ui.set_main_window(&window);
    auto* stack = window.findChild<QStackedWidget*>(QStringLiteral("panelStack"));
    auto* mode_combo = window.findChild<QComboBox*>(QStringLiteral("targetModeCombo"));
    QCOMPARE(mode_combo->currentIndex(), mode - 1);
    QCOMPARE(stack->currentWidget(), mode == 1 ? static_cast<QWidget*>(window.path_panel()) : window.list_panel());
    if (count == 1) QCOMPARE(window.path_panel()->PathText(), tree.path());
    if (count == 2) {
      QCOMPARE(window.list_panel()->Texts(),
               (QStringList{all[1], all[0]}));
    }
    harness.ui.set_main_window(nullptr);
  }

  // A path given that cannot become a target (no code page 932 form) is not dropped without a word.
  void ArgumentsWithoutAnEngineFormAreReported() {
    QTemporaryDir home, tree;
    const QString plain = tree.filePath(QStringLiteral("a.txt"));
    const QString odd = tree.filePath(QString::fromUcs4(U"\U0001F600.txt"));
    Touch(plain);
    Touch(odd);
    WriteSettings(home.path(), QuietJob());
    UiHarness harness(home.path());
    MessageBoxAnswerer answerer;
    MainWindow window(harness.context, {plain, odd});
    harness.ui.set_main_window(&window);
    QTRY_COMPARE(answerer.texts(), QStringList{QStringLiteral("変換対象パスが不正です。\n") + tree.filePath("?.txt")});
    QCOMPARE(window.list_panel()->Texts(), QStringList{plain});
    harness.ui.set_main_window(nullptr);
  }

  void PathPanelEnableRules_data() {
    QTest::addColumn<QStringList>("clicks");
    // directories, itself, directories only, Exif only, ID3 only, the wildcard box
    QTest::addColumn<QList<bool>>("enabled");
    QTest::addColumn<QList<bool>>("checked");
    QTest::newRow("as stored") << QStringList{} << QList<bool>{1, 0, 0, 1, 1, 0} << QList<bool>{0, 0, 0, 0, 0};
    QTest::newRow("directories on") << QStringList{"directoriesCheck"} << QList<bool>{1, 1, 1, 0, 0, 0}
                                    << QList<bool>{1, 0, 0, 0, 0};
    QTest::newRow("directories off again clears both")
        << QStringList{"directoriesCheck", "itselfCheck", "directoriesOnlyCheck", "directoriesCheck"}
        << QList<bool>{1, 0, 0, 1, 1, 0} << QList<bool>{0, 0, 0, 0, 0};
    QTest::newRow("Exif only") << QStringList{"exifOnlyCheck"} << QList<bool>{0, 0, 0, 1, 0, 0}
                               << QList<bool>{0, 0, 0, 1, 0};
    QTest::newRow("ID3 only on and off") << QStringList{"id3OnlyCheck", "id3OnlyCheck"}
                                         << QList<bool>{1, 0, 0, 1, 1, 0} << QList<bool>{0, 0, 0, 0, 0};
    QTest::newRow("wildcard") << QStringList{"wildcardCheck"} << QList<bool>{1, 0, 0, 1, 1, 1}
                              << QList<bool>{0, 0, 0, 0, 0};
  }
  void PathPanelEnableRules() {
    QFETCH(QStringList, clicks);
    QFETCH(QList<bool>, enabled);
    QFETCH(QList<bool>, checked);
    QTemporaryDir home;
    WriteSettings(home.path(), QuietJob());
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    PathPanel* panel = window.path_panel();
    for (const QString& name : clicks) panel->findChild<QCheckBox*>(name)->click();
    const char* const boxes[] = {"directoriesCheck", "itselfCheck", "directoriesOnlyCheck", "exifOnlyCheck",
                                 "id3OnlyCheck"};
    for (int i = 0; i < 5; ++i) {
      auto* box = panel->findChild<QCheckBox*>(QString::fromLatin1(boxes[i]));
      QVERIFY2(box->isEnabled() == enabled[i], boxes[i]);
      QVERIFY2(box->isChecked() == checked[i], boxes[i]);
    }
    QCOMPARE(panel->findChild<QComboBox*>(QStringLiteral("wildcardCombo"))->isEnabled(), enabled[5]);
  }

  void HistoriesAfterCollection() {
    QTemporaryDir home;
    WriteSettings(home.path(), QuietJob());
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    auto* path_combo = window.path_panel()->findChild<QComboBox*>(QStringLiteral("pathCombo"));
    auto* wildcard_combo = window.path_panel()->findChild<QComboBox*>(QStringLiteral("wildcardCombo"));
    auto dir = [](int i) { return QStringLiteral("Z:\\history\\d%1").arg(i); };
    for (int i = 0; i < 17; ++i) {
      path_combo->setEditText(dir(i));
      window.CollectSettings();
    }
    const AppSettings& app = harness.session.job.app;
    QCOMPARE(ToQt(*harness.codec, *app.dirfil[0]), dir(16));
    QCOMPARE(ToQt(*harness.codec, *app.dirfil[15]), dir(1));  // the first path fell out
    path_combo->setEditText(dir(5));
    window.CollectSettings();
    QCOMPARE(ToQt(*harness.codec, *app.dirfil[0]), dir(5));
    QCOMPARE(ToQt(*harness.codec, *app.dirfil[1]), dir(16));
    QCOMPARE(ToQt(*harness.codec, *app.dirfil[15]), dir(1));  // moved to the front, not repeated
    QCOMPARE(path_combo->count(), 16);

    for (int i = 0; i < 8; ++i) {
      wildcard_combo->setEditText(QStringLiteral("*.e%1").arg(i));
      window.CollectSettings();
    }
    QStringList offered;
    for (int i = 0; i < wildcard_combo->count(); ++i) offered << wildcard_combo->itemText(i);
    QCOMPARE(offered, (QStringList{"*.e7", "*.e6", "*.e5", "*.e4", "*.e3", "*.e2", "*.e1"}));
    QCOMPARE(ToQt(*harness.codec, app.set_12.view()), QStringLiteral("*.e7\t*.e6\t*.e5\t*.e4\t*.e3\t*.e2\t*.e1\t*.e0"));
    wildcard_combo->setEditText(QStringLiteral("*.E3"));  // an old one in other letters is not kept twice
    window.CollectSettings();
    // The history is rebuilt from what the drop-down offered, so the oldest one is gone now.
    QCOMPARE(ToQt(*harness.codec, app.set_12.view()), QStringLiteral("*.E3\t*.e7\t*.e6\t*.e5\t*.e4\t*.e2\t*.e1"));

    // Typing stops where the record's 80 bytes end (two a kanji) and refuses a character without a code
    // page 932 form, so what the box shows is always what the run filters by.
    wildcard_combo->clearEditText();
    for (int i = 0; i < 45; ++i) wildcard_combo->lineEdit()->insert(QString(QChar(u'写')));  // as typed: validated
    wildcard_combo->lineEdit()->insert(QString::fromUcs4(U"\U0001F600"));
    QCOMPARE(wildcard_combo->currentText(), QString(40, QChar(u'写')));
    window.CollectSettings();
    QCOMPARE(ToQt(*harness.codec, app.set_11.view()), QString(40, QChar(u'写')));
  }

  void ListPanelKeepsOneOfEachEntry() {
    QTemporaryDir home, tree;
    WriteSettings(home.path(), QuietJob());
    Touch(tree.filePath(QStringLiteral("song.mp3")));
    Touch(tree.filePath(QStringLiteral("Two.txt")));
    Touch(tree.filePath(QStringLiteral("two.txt")));
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    ListPanel* list = window.list_panel();
    QVERIFY(list->AddEntry(tree.filePath(QStringLiteral("song.mp3"))));
    QVERIFY(!list->AddEntry(tree.filePath(QStringLiteral("song.mp3"))));
    QVERIFY(!list->AddEntry(tree.filePath(QStringLiteral("SONG.MP3"))));  // not another file
    QVERIFY(list->AddEntry(tree.filePath(QStringLiteral("two.txt"))));
    QVERIFY(list->AddEntry(tree.filePath(QStringLiteral("Two.txt"))));  // two files here

    // Several files dropped on the window go to the list, once each, and select the list mode.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(tree.filePath(QStringLiteral("song.mp3"))), QUrl::fromLocalFile(tree.path())});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    QCOMPARE(list->Texts().size(), 4);
    QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("targetModeCombo"))->currentIndex(), 1);
    QCOMPARE(list->Items().size(), std::size_t{4});
    // Collecting the window hands the list to the job, in list order.
    window.CollectSettings();
    QVERIFY(harness.session.job.app.list_items == list->Items());
    QCOMPARE(harness.session.job.app.list_items.size(), std::size_t{4});
  }

  void RunThenUndoChangeTheFiles() {
    QTemporaryDir home, tree;
    Touch(tree.filePath(QStringLiteral("alpha.txt")));
    Touch(tree.filePath(QStringLiteral("beta.txt")));
    Job job = QuietJob();
    job.app.pref = false;
    job.app.dirfil[0] = EnginePathOf(tree.path());
    SetUpperCaseJob(job.settings);
    WriteSettings(home.path(), job, "UNKNOWN_KEY = 1\n");
    {
      UiHarness harness(home.path());
      MainWindow window(harness.context);
      QVERIFY(ShowAsMainWindow(harness, window));
      auto* undo = window.findChild<QPushButton*>(QStringLiteral("undoButton"));
      auto* log = window.findChild<QPushButton*>(QStringLiteral("logButton"));
      QVERIFY(!undo->isEnabled());
      QVERIFY(!log->isEnabled());  // no log yet
      {
        MessageBoxAnswerer answerer;
        window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
        QTRY_VERIFY(!window.busy());
        QCOMPARE(answerer.texts().size(), 2);  // the confirmation and the summary
      }
      QCOMPARE(QDir(tree.path()).entryList(QDir::Files), (QStringList{"ALPHA.txt", "BETA.txt"}));
      QVERIFY(undo->isEnabled());
      QVERIFY(log->isEnabled());  // the log now starts with this run
      {
        MessageBoxAnswerer answerer;
        undo->click();
        QTRY_VERIFY(!window.busy());
        QCOMPARE(answerer.texts().size(), 2);  // the question and the undo's summary
      }
      QCOMPARE(QDir(tree.path()).entryList(QDir::Files), (QStringList{"alpha.txt", "beta.txt"}));
      QVERIFY(!undo->isEnabled());
      window.findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
      harness.ui.set_main_window(nullptr);
    }
    // A run opens the write gate: the settings are written anew at exit (without the line not understood).
    const QByteArray saved = ReadAll(QDir(home.path()).filePath(QStringLiteral("morva.dat")));
    QVERIFY(saved.startsWith("MORVA Settings Version "));
    QVERIFY(!saved.contains("UNKNOWN_KEY"));
  }

  // The whole way through the window: a preview, one row left out, the run of the rest, its undo.
  void PreviewRunsWhatIsLeftIn() {
    QTemporaryDir home, tree;
    Touch(tree.filePath(QStringLiteral("alpha.txt")));
    Touch(tree.filePath(QStringLiteral("beta.txt")));
    Job job = QuietJob();
    job.app.pref = true;
    job.app.dirfil[0] = EnginePathOf(tree.path());
    SetUpperCaseJob(job.settings);
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    {
      ModalDriver driver;
      int rows = 0;
      driver.OnModal<PreviewDialog>([&rows](PreviewDialog& dialog) {
        auto* view = dialog.findChild<QTableView*>(QStringLiteral("resultView"));
        rows = view->model()->rowCount();
        view->selectRow(1);  // beta.txt
        dialog.findChild<QPushButton*>(QStringLiteral("toggleButton"))->click();
        ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("startButton")));
      });
      driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes);
      driver.Answer(QStringLiteral("完全成功：1 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：1"), QMessageBox::Ok);
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
      QVERIFY(driver.done());
      QCOMPARE(rows, 2);
      QVERIFY2(driver.unexpected().isEmpty(), qPrintable(driver.unexpected().join(QStringLiteral(" / "))));
    }
    QCOMPARE(QDir(tree.path()).entryList(QDir::Files), (QStringList{"ALPHA.txt", "beta.txt"}));
    {
      MessageBoxAnswerer answerer;
      window.findChild<QPushButton*>(QStringLiteral("undoButton"))->click();
      QTRY_VERIFY(!window.busy());
    }
    QCOMPARE(QDir(tree.path()).entryList(QDir::Files), (QStringList{"alpha.txt", "beta.txt"}));
    harness.ui.set_main_window(nullptr);
  }

  void RefusedJobShowsTheSetting_data() {
    QTest::addColumn<bool>("path_given");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focused");
    QTest::newRow("no target path") << false << 3 << QStringLiteral("pathCombo");
    QTest::newRow("extensions of directories") << true << 0 << QStringLiteral("keepExtensionRadio");
  }
  void RefusedJobShowsTheSetting() {
    QFETCH(bool, path_given);
    QFETCH(int, tab);
    QFETCH(QString, focused);
    QTemporaryDir home, tree;
    Job job = QuietJob();
    if (path_given) job.app.dirfil[0] = EnginePathOf(tree.path());
    job.settings.sw_tab = 3;  // the deletion page is in front
    job.settings.sw_fnm = 1;
    job.settings.fnm_ipn_sel = ConversionSettings::kGeneralCase;
    job.settings.fnm_02 = 2;  // the extension only, while directories are targets too
    job.app.sw_set[AppSettings::kSetDirectories] = true;
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    harness.ui.set_main_window(&window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    {
      MessageBoxAnswerer answerer;
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
      QCOMPARE(answerer.texts().size(), 1);
    }
    QCOMPARE(window.findChild<QTabWidget*>(QStringLiteral("jobTabs"))->currentIndex(), tab);
    QWidget* focus = window.focusWidget();  // the window's focus, whether or not it is active yet
    QVERIFY(focus != nullptr);
    QVERIFY2(focus->objectName() == focused || focus->parentWidget()->objectName() == focused,
             qPrintable(focus->objectName()));
    harness.ui.set_main_window(nullptr);
  }

  // Date naming cannot name directories: the window asks to leave them out, clears their boxes on Yes,
  // and the run goes on with the files alone; on No nothing is run and the boxes stay.
  void ADateJobOnDirectoriesRunsWithoutThemAfterYes() {
    QTemporaryDir home, tree;
    Touch(tree.filePath(QStringLiteral("a.txt")));
    QVERIFY(QDir(tree.path()).mkdir(QStringLiteral("sub")));
    Job job = QuietJob();
    job.app.pref = false;
    job.app.dirfil[0] = EnginePathOf(tree.path());
    job.app.sw_set[AppSettings::kSetDirectories] = true;
    job.settings.sw_fnm = 5;  // date naming from the last write, extension kept
    job.settings.fnm_hdk0 = 2;
    job.settings.fnm_hdk_udt = 2;
    job.settings.fnm_hdk2 = 1;
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    auto* directories = window.findChild<QCheckBox*>(QStringLiteral("directoriesCheck"));
    QVERIFY(directories->isChecked());
    const QString question = QStringLiteral(
        "日時による名称変換を行う場合、「ディレクトリも対象」指定はできません。\n「ディレクトリも対象」指定を外しますか？");
    {
      MessageBoxAnswerer answerer(QMessageBox::No);
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
      QCOMPARE(answerer.texts(), QStringList{question});
    }
    QVERIFY(directories->isChecked());
    QVERIFY(harness.session.job.app.sw_set[AppSettings::kSetDirectories]);
    QCOMPARE(QDir(tree.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")});
    {
      MessageBoxAnswerer answerer;
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
      QCOMPARE(answerer.texts().size(), 3);  // the question, the confirmation and the summary
      QCOMPARE(answerer.texts().front(), question);
    }
    QVERIFY(!directories->isChecked());
    QVERIFY(!harness.session.job.app.sw_set[AppSettings::kSetDirectories]);
    QVERIFY(!QFile::exists(tree.filePath(QStringLiteral("a.txt"))));
    QCOMPARE(QDir(tree.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QStringLiteral("sub")});
    harness.ui.set_main_window(nullptr);
  }

  // The path box is what the run takes. When its text cannot become the target path (cleared, no code
  // page 932 form, too long), the run is refused; it never falls back on the last path of the history,
  // whose files the person no longer has in view.
  // The path box shows the history in host form while the settings keep the engine's; a run converts
  // the directory the box names, whether it is a history entry left as shown or a path typed in either
  // form.
  void PathBoxShowsHostPathsAndRunsTheOneItNames_data() {
    QTest::addColumn<QString>("typed");  // "engine", "host", or empty: the newest history entry as shown
    QTest::newRow("history entry as shown") << QString();
    QTest::newRow("engine path typed") << QStringLiteral("engine");
    QTest::newRow("host path typed") << QStringLiteral("host");
  }
  void PathBoxShowsHostPathsAndRunsTheOneItNames() {
    QFETCH(QString, typed);
    QTemporaryDir home, tree;
    const QString newest = tree.filePath(QStringLiteral("写真 アルバム"));
    const QString older = tree.filePath(QStringLiteral("古い"));
    QVERIFY(QDir(tree.path()).mkdir(QStringLiteral("写真 アルバム")) && QDir(tree.path()).mkdir(QStringLiteral("古い")));
    Touch(newest + QStringLiteral("/alpha.txt"));
    Touch(older + QStringLiteral("/beta.txt"));
    Job job = QuietJob();
    job.app.pref = false;
    job.app.dirfil[0] = EnginePathOf(newest);
    job.app.dirfil[1] = EnginePathOf(older);
    SetUpperCaseJob(job.settings);
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    auto* combo = window.path_panel()->findChild<QComboBox*>(QStringLiteral("pathCombo"));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), newest);
    QCOMPARE(combo->itemText(1), older);
    QCOMPARE(window.path_panel()->PathText(), newest);
    if (typed == QStringLiteral("engine")) combo->setEditText(ToQt(*harness.codec, EnginePathOf(older)));
    if (typed == QStringLiteral("host")) combo->setEditText(older);
    {
      MessageBoxAnswerer answerer;
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
      QCOMPARE(answerer.texts().size(), 2);  // the confirmation and the summary
    }
    const bool newest_run = typed.isEmpty();
    QCOMPARE(QDir(newest).entryList(QDir::Files), QStringList{newest_run ? "ALPHA.txt" : "alpha.txt"});
    QCOMPARE(QDir(older).entryList(QDir::Files), QStringList{newest_run ? "beta.txt" : "BETA.txt"});
    // The history keeps the engine's form; the box shows the host's again.
    const AppSettings& app = harness.session.job.app;
    QCOMPARE(*app.dirfil[0], EnginePathOf(newest_run ? newest : older));
    QCOMPARE(window.path_panel()->PathText(), newest_run ? newest : older);
    QCOMPARE(combo->itemText(0), newest_run ? newest : older);
    harness.ui.set_main_window(nullptr);
  }

  void PathThatCannotBeTakenIsNeverReplacedByTheLastOne_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString invalid = QStringLiteral("対象ディレクトリの指定が不正です。");
    QTest::newRow("cleared") << QString() << QStringLiteral("対象ディレクトリが指定されていません。");
    QTest::newRow("no code page 932 form") << QStringLiteral("/tmp/\U0001F600") << invalid;
    QTest::newRow("too long") << QStringLiteral("/tmp/") + QString(300, QLatin1Char('d')) << invalid;
  }
  void PathThatCannotBeTakenIsNeverReplacedByTheLastOne() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QTemporaryDir home, tree;
    Touch(tree.filePath(QStringLiteral("alpha.txt")));
    Job job = QuietJob();
    job.app.pref = false;
    job.app.dirfil[0] = EnginePathOf(tree.path());
    SetUpperCaseJob(job.settings);
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    window.findChild<PathPanel*>()->SetPathText(typed);
    {
      MessageBoxAnswerer answerer;
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
      QCOMPARE(answerer.texts(), QStringList{message});
    }
    QCOMPARE(QDir(tree.path()).entryList(QDir::Files), QStringList{QStringLiteral("alpha.txt")});
    harness.ui.set_main_window(nullptr);
  }

  // While a run walks its targets it keeps the window alive, but only its progress dialog takes input:
  // a click on the main window's buttons must not start a second run inside the first.
  void OnlyTheProgressDialogTakesInputDuringARun() {
    QTemporaryDir home, tree;
    QVERIFY(MakeNumberedFiles(tree.path(), 300));
    Job job = QuietJob();
    job.app.pref = false;
    job.app.dirfil[0] = EnginePathOf(tree.path());
    SetUpperCaseJob(job.settings);
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    auto* start = window.findChild<QPushButton*>(QStringLiteral("startButton"));
    bool clicked_during_run = false;
    ModalDriver driver;
    driver.Answer(QStringLiteral("変換を開始します。よろしいですか？"), QMessageBox::Yes)
        .Then(OpenProgressDialog,
              [&](QWidget*) {
                // Through the window system, as a person's click arrives.
                QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                                  start->mapTo(&window, start->rect().center()));
                clicked_during_run = true;
              })
        .Answer(QStringLiteral("完全成功：300"), QMessageBox::Ok);
    start->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), 30000);
    QVERIFY(driver.done());
    QVERIFY(clicked_during_run);
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(QDir(tree.path()).entryList({QStringLiteral("F*.txt")}, QDir::Files | QDir::CaseSensitive).size(), 300);
    harness.ui.set_main_window(nullptr);
  }

  void AllConversionsOffKeepsTheOptions() {
    QTemporaryDir home;
    Job job = QuietJob();
    job.settings.sw_tab = 1;
    job.settings.sw_fnm = 3;
    job.settings.fnm_ckn1.Assign("old");
    job.settings.sw_atr[0] = true;
    job.settings.sw_del[0] = true;
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("jobTabs"));
    const qint64 on_mark = tabs->tabIcon(0).cacheKey();
    QVERIFY(on_mark != tabs->tabIcon(2).cacheKey());  // the name job is on, the time job off
    window.findChild<QPushButton*>(QStringLiteral("clearAllButton"))->click();
    const ConversionSettings& settings = harness.session.job.settings;
    QCOMPARE(settings.sw_fnm, 0);
    QVERIFY(!settings.sw_atr[0] && !settings.sw_del[0]);
    QCOMPARE(std::string(settings.fnm_ckn1.view()), std::string("old"));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(window.job_page()->findChild<QComboBox*>(QStringLiteral("ruleCombo"))->currentIndex(), 0);
    for (int tab = 0; tab < 5; ++tab) QVERIFY(tabs->tabIcon(tab).cacheKey() != on_mark);
  }

  void StartAndExitLeaveTheSettingsAlone() {
    QTemporaryDir home, tree;
    Job job;  // the target list window shown, as by default
    job.app.dirfil[0] = EnginePathOf(tree.path());
    job.settings.sw_tab = 3;
    // A line this program does not know stays too: the file is not rewritten at all.
    WriteSettings(home.path(), job, "UNKNOWN_KEY = 1\n");
    const QString file = QDir(home.path()).filePath(QStringLiteral("morva.dat"));
    const QByteArray before = ReadAll(file);
    {
      UiHarness harness(home.path());
      MainWindow window(harness.context);
      QVERIFY(ShowAsMainWindow(harness, window));
      QCoreApplication::processEvents();  // the window system has placed both windows
      QVERIFY(window.target_list_window() != nullptr);
      QCOMPARE(window.findChild<QTabWidget*>(QStringLiteral("jobTabs"))->currentIndex(), 3);
      window.path_panel()->findChild<QCheckBox*>(QStringLiteral("recurseCheck"))->click();  // a change, no run
      window.findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
      QVERIFY(!window.write_gate().is_open());
      harness.ui.set_main_window(nullptr);
    }
    QCOMPARE(ReadAll(file), before);
  }

  // Enter in the path box takes the path, without pressing a button nobody sees as the default (it
  // opened the folder chooser); Escape, which closes dialogs, leaves the main window open; Tab reaches
  // the commands before the job page, and the start button has its mnemonic.
  void EnterAndEscapeKeepToTheirPlace() {
    QTemporaryDir home, tree;
    Job job = QuietJob();
    SetUpperCaseJob(job.settings);  // a name rule's page, with its many settings, is shown
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    auto* browse = window.path_panel()->findChild<QPushButton*>(QStringLiteral("browseFolderButton"));
    QSignalSpy browsed(browse, &QPushButton::clicked);
    QSignalSpy taken(window.path_panel(), &PathPanel::Changed);
    QLineEdit* path = window.path_panel()->findChild<QComboBox*>(QStringLiteral("pathCombo"))->lineEdit();
    ModalDriver driver;
    driver.Then([]() -> QWidget* { return QApplication::activeModalWidget(); }, [](QWidget* opened) { opened->close(); });
    path->setFocus();
    QTest::keyClicks(path, tree.path());
    taken.clear();
    QTest::keyClick(path, Qt::Key_Return);
    QCOMPARE(browsed.count(), 0);
    QVERIFY(!driver.done());  // no window opened
    QVERIFY(taken.count() > 0);
    QTest::keyClick(path, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(window.result(), 0);

    // Tab goes from the target panel to the commands before the job page, and Alt+S starts.
    auto* start = window.findChild<QPushButton*>(QStringLiteral("startButton"));
    path->setFocus();
    int presses = 0;
    for (; presses < 40 && QApplication::focusWidget() != start; ++presses) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QVERIFY2(presses <= 12, qPrintable(QString::number(presses)));
    QCOMPARE(QKeySequence::mnemonic(start->text()).toString(), QStringLiteral("Alt+S"));
    QTest::keyClick(&window, Qt::Key_3, Qt::AltModifier);
    QCOMPARE(window.findChild<QTabWidget*>(QStringLiteral("jobTabs"))->currentIndex(), 2);
    harness.ui.set_main_window(nullptr);
  }

  void SecondStartHandsOverToTheFirst() {
    QTemporaryDir sockets;
    const QString name = sockets.filePath(QStringLiteral("morva_mutex"));
    QTemporaryDir home;
    WriteSettings(home.path(), QuietJob());
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMinimized();
    QVERIFY(window.isMinimized());

    SingleInstance first(name);
    QCOMPARE(first.ClaimOrHandOver(), SingleInstance::Claim::kFirst);
    QObject::connect(&first, &SingleInstance::ActivationRequested, &window, &MainWindow::BringForward);
    QSignalSpy asked(&first, &SingleInstance::ActivationRequested);
    SingleInstance second(name);
    QCOMPARE(second.ClaimOrHandOver(), SingleInstance::Claim::kHandedOver);
    QVERIFY(asked.wait(5000));
    QVERIFY(!window.isMinimized());
  }

 private:
  static std::string EnginePathOf(const QString& host) {
    std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
    std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
    std::string engine;
    EnginePathFromQt(*codec, *fs, host, &engine);
    return engine;
  }
};

}  // namespace morva

QTEST_MAIN(morva::MainWindowTest)
#include "main_window_test.moc"
