// The desktop program under an English locale: its window, the engine's messages and Qt's own buttons
// speak English, while the log it writes stays Japanese.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/job.h"
#include "core/preview_record.h"
#include "core/target_work.h"
#include "log/log_writer.h"
#include "platform/interface_language.h"
#include "platform/message_catalogue.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/message_box_answerer.h"
#include "ui/preview_table_model.h"
#include "ui/qt_text.h"
#include "ui/qt_translations.h"

namespace morva {

class EnglishWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void RunAndUndoSpeakEnglishAndLogJapanese() {
    QTemporaryDir home, tree;
    for (const char* name : {"alpha.txt", "beta.txt"}) {
      QFile file(QDir(tree.path()).filePath(QString::fromLatin1(name)));
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const InstalledTranslations translations = InstallTranslations(UiLanguage::kEnglish);
    QVERIFY(translations.has_program());
    const MessageCatalogue english(EnglishMessages());
    UiHarness harness(home.path(), &english);
    Job job;
    job.app.sw_set[AppSettings::kSetShowList] = false;
    job.app.pref = false;
    job.app.dirfil[0] = EnginePath(harness, tree.path());
    SetUpperCaseJob(job.settings);
    WriteSettings(home.path(), job);

    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    auto* start = window.findChild<QPushButton*>(QStringLiteral("startButton"));
    QCOMPARE(start->text(), QStringLiteral("▼&Start conversion"));
    {
      MessageBoxAnswerer answerer;
      start->click();
      QTRY_VERIFY(!window.busy());
      QCOMPARE(answerer.texts(),
               (QStringList{QStringLiteral("Start the conversion?"),
                            QStringLiteral("All files were converted.\n\nConverted: 2 / Partly converted: 0 / "
                                           "Unchanged: 0 / Failed: 0 / Total: 2")}));
    }
    QCOMPARE(QDir(tree.path()).entryList(QDir::Files), (QStringList{"ALPHA.txt", "BETA.txt"}));
    {
      MessageBoxAnswerer answerer;
      window.findChild<QPushButton*>(QStringLiteral("undoButton"))->click();
      QTRY_VERIFY(!window.busy());
      QCOMPARE(answerer.texts(),
               (QStringList{QStringLiteral("Undo the last conversion?"),
                            QStringLiteral("All files were restored.\n\nRestored: 2 / Partly restored: 0 / "
                                           "Failed: 0 / Total: 2")}));
    }
    // The log is a format: its texts are the engine's Japanese, whatever the window speaks.
    QFile log(QDir(home.path()).filePath(QString::fromLatin1(kLogFileName.data(), kLogFileName.size())));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString logged = ToQt(*harness.codec, log.readAll().toStdString());
    QVERIFY2(logged.contains(QStringLiteral("完全成功：2 / 一部成功：0 / 変換不要：0 / 完全失敗：0 / 総数：2")),
             qPrintable(logged));
    QVERIFY2(!logged.contains(QStringLiteral("Converted")), qPrintable(logged));
    harness.ui.set_main_window(nullptr);
  }

  // The preview's cells: the engine's reasons and descriptions are translated, names never are, even one
  // that reads like a reason.
  void PreviewCellsAreTranslatedButNames() {
    QTemporaryDir home;
    const MessageCatalogue english(EnglishMessages());
    UiHarness harness(home.path(), &english);
    const auto cp932 = [&](const QString& text) {
      std::string out;
      if (!FromQt(*harness.codec, text, &out)) QTest::qFail("no code page 932 form", __FILE__, __LINE__);
      return out;
    };
    std::vector<PreviewRecord> records(2);
    records[0].index = 0;
    records[0].state = kPreviewError;
    records[0].failure_word = kStepName;
    records[0].name_column = cp932(QStringLiteral("既に存在する名称への変換により失敗：ファイル削除失敗.txt"));
    records[0].mutable_column(PreviewColumn::kDeletion) = cp932(QStringLiteral("ファイル削除（ごみ箱使用）"));
    records[1].index = 1;
    records[1].state = kPreviewWillChange;
    records[1].name_column = cp932(QStringLiteral("ファイル削除失敗"));
    records[1].mutable_column(PreviewColumn::kDeletion) =
        cp932(QStringLiteral("ファイル削除（復元不可削除［レベル3］）"));
    const std::vector<std::string> targets = {"/a", "/b"};
    JobSwitches jobs;
    jobs.name = true;
    jobs.deletion = true;
    PreviewTableModel model(*harness.fs, *harness.codec, &english, records, targets, jobs);
    // Columns: number, target, new name, deletion.
    QCOMPARE(model.data(model.index(0, 2)).toString(),
             QStringLiteral("Failed, the name already exists: ファイル削除失敗.txt"));
    QCOMPARE(model.data(model.index(0, 3)).toString(), QStringLiteral("Delete (to the trash)"));
    QCOMPARE(model.data(model.index(1, 2)).toString(), QStringLiteral("ファイル削除失敗"));
    QCOMPARE(model.data(model.index(1, 3)).toString(), QStringLiteral("Delete (wipe, level 3)"));
  }

  // A refusal of the engine's checks, and a message the catalogue does not know (shown as it came).
  void RefusalsAreTranslated() {
    QTemporaryDir home;
    const MessageCatalogue english(EnglishMessages());
    UiHarness harness(home.path(), &english);
    std::string cp932;
    MessageBoxAnswerer answerer;
    QVERIFY(FromQt(*harness.codec, QStringLiteral("対象ディレクトリが指定されていません。"), &cp932));
    harness.ui.ShowWarning(cp932);
    QVERIFY(FromQt(*harness.codec, QStringLiteral("未知の文"), &cp932));
    harness.ui.ShowInformation(cp932);
    QCOMPARE(answerer.texts(),
             (QStringList{QStringLiteral("Enter the target directory."), QStringLiteral("未知の文")}));
  }
};

}  // namespace morva

QTEST_MAIN(morva::EnglishWindowTest)
#include "english_window_test.moc"
