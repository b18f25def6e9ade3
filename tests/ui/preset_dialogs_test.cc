// The preset dialogs driven from the pages and the main window, offscreen, on a real program directory:
// what they store, ask and refuse, and the files they leave, read back byte for byte.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/job.h"
#include "settings/preset_file.h"
#include "settings/settings_file.h"
#include "ui/gui_test_support.h"
#include "ui/job_pages.h"
#include "ui/main_window.h"
#include "ui/modal_driver_support.h"
#include "ui/preset_load_dialog.h"
#include "ui/preset_save_dialog.h"
#include "ui/qt_text.h"

namespace morva {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Cp932(const QString& text) {
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::string bytes;
  FromQt(*codec, text, &bytes);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A window over a program directory holding `job` as its settings file and any preset files written
// before the window starts (it reads them at start-up).
struct Fixture {
  explicit Fixture(const Job& job, const std::function<void(const QDir&)>& before_start = {}) {
    const QDir dir(home.path());
    const std::string text = FormatSettingsText(job.settings, job.app);
    WriteAll(dir.filePath(QStringLiteral("morva.dat")), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    if (before_start) before_start(dir);
    harness = std::make_unique<UiHarness>(home.path());
    window = std::make_unique<MainWindow>(harness->context);
    harness->ui.set_main_window(window.get());
  }
  ~Fixture() { harness->ui.set_main_window(nullptr); }

  QString File(const char* name) const { return QDir(home.path()).filePath(QString::fromLatin1(name)); }
  QPushButton* PageButton(const char* name) const {
    return window->job_page()->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  Presets& presets() const { return harness->session.job.presets; }

  QTemporaryDir home;
  std::unique_ptr<UiHarness> harness;
  std::unique_ptr<MainWindow> window;
};

Job QuietJob(int rule) {
  Job job;
  job.app.sw_set[AppSettings::kSetShowList] = false;
  job.settings.sw_fnm = static_cast<std::int16_t>(rule);
  return job;
}

// The save dialog's step: the name typed and OK pressed.
std::function<void(PresetSaveDialog&)> TypeName(const QString& name) {
  return [name](PresetSaveDialog& dialog) {
    dialog.findChild<QComboBox*>(QStringLiteral("nameCombo"))->setEditText(name);
    ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("okButton")));
  };
}

// Runs `start` (which opens a modal dialog) under `driver` and checks that every step was taken.
void Drive(ModalDriver& driver, QPushButton* start) {
  ClickLater(start);
  QTRY_VERIFY_WITH_TIMEOUT(driver.done(), 5000);
  QCoreApplication::processEvents();
  QVERIFY2(driver.unexpected().isEmpty(), qPrintable(driver.unexpected().join(QLatin1Char('|'))));
}

}  // namespace

class PresetDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // Statements saved from their page: the file as written, sorted names, the overwrite question.
  void StatementsSavedSortedAndOverwritten() {
    Fixture f(QuietJob(7));
    auto* box = f.window->job_page()->findChild<QPlainTextEdit*>(QStringLiteral("statementEdit"));
    const QList<std::pair<QString, QString>> saves = {
        {"b", "<FILE>_b"}, {"abc", "<FILE>_abc\n\n"}, {"ABC", "<SNUM>"}};
    for (const auto& [name, statement] : saves) {
      box->setPlainText(statement);
      ModalDriver driver;
      driver.OnModal<PresetSaveDialog>(TypeName(name));
      Drive(driver, f.PageButton("savePresetButton"));
    }
    QCOMPARE(box->toPlainText(), QStringLiteral("<SNUM>"));
    const QByteArray header = Cp932(QStringLiteral("MORVA - 変換制御文保存ファイル Version 6.1b \n\n"));
    QCOMPARE(ReadAll(f.File("morvascr.dat")), header + "<abc> <FILE>_abc\n<ABC> <SNUM>\n<b> <FILE>_b\n");

    // The same name again: No keeps the dialog open, Yes replaces that preset.
    box->setPlainText(QStringLiteral("<FILE>_new"));
    ModalDriver driver;
    driver.OnModal<PresetSaveDialog>(TypeName(QStringLiteral("ABC")))
        .Answer(QStringLiteral("既に同じ名称のものが保存されています。上書きしますか？"), QMessageBox::No)
        .OnModal<PresetSaveDialog>([](PresetSaveDialog& dialog) {
          ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("okButton")));
        })
        .Answer(QStringLiteral("既に同じ名称のものが保存されています。上書きしますか？"), QMessageBox::Yes);
    Drive(driver, f.PageButton("savePresetButton"));
    QCOMPARE(ReadAll(f.File("morvascr.dat")), header + "<abc> <FILE>_abc\n<ABC> <FILE>_new\n<b> <FILE>_b\n");
    QCOMPARE(f.presets().statement.last_name, std::string("ABC"));

    // What the file holds reads back as the table in memory.
    PresetTable read(PresetKind::kStatement);
    const QByteArray bytes = ReadAll(f.File("morvascr.dat"));
    QVERIFY(ParsePresetText(*f.harness->codec, std::string_view(bytes.constData(), bytes.size()), &read));
    for (std::size_t i = 0; i < kPresetSlotCount; ++i) {
      QCOMPARE(read.entries[i].name, f.presets().statement.entries[i].name);
      QCOMPARE(read.entries[i].text, f.presets().statement.entries[i].text);
    }
  }

  void ReplacementChecksBeforeSaving_data() {
    QTest::addColumn<int>("target_bytes");
    QTest::addColumn<int>("replacement_bytes");
    QTest::addColumn<QString>("refusal");  // empty: the save dialog opens and stores it
    QTest::newRow("no target") << 0 << 5 << "対象文字列が指定されていません。";
    QTest::newRow("no replacement") << 5 << 0 << "置換文字列が指定されていません。";
    QTest::newRow("199 bytes together") << 100 << 99 << "";
    QTest::newRow("200 bytes together") << 100 << 100
                                        << "保存する場合、対象文字列と置換文字列の合計は199バイト以下で指定してください。";
  }
  void ReplacementChecksBeforeSaving() {
    QFETCH(int, target_bytes);
    QFETCH(int, replacement_bytes);
    QFETCH(QString, refusal);
    Fixture f(QuietJob(3));
    // Full-width letters count two bytes each.
    const QString target = QString(target_bytes / 2, QChar(0x30A2)) + QString(target_bytes % 2, QLatin1Char('a'));
    f.window->job_page()->findChild<QComboBox*>(QStringLiteral("targetCombo"))->setEditText(target);
    f.window->job_page()->findChild<QLineEdit*>(QStringLiteral("replacementEdit"))
        ->setText(QString(replacement_bytes, QLatin1Char('r')));
    ModalDriver driver;
    if (refusal.isEmpty()) {
      driver.OnModal<PresetSaveDialog>(TypeName(QStringLiteral("置換1")));
    } else {
      driver.Answer(refusal, QMessageBox::Ok);
    }
    Drive(driver, f.PageButton("savePresetButton"));
    const PresetSlot& slot = f.presets().replacement.entries[0];
    QCOMPARE(slot.free(), !refusal.isEmpty());
    if (refusal.isEmpty()) {
      QCOMPARE(slot.text.size(), std::size_t{200});
      QCOMPARE(ReadAll(f.File("morvarpl.dat")),
               Cp932(QStringLiteral("MORVA - 文字列置換設定保存ファイル Version 6.1b \n\n<置換1> ") + target + "\t" +
                     QString(replacement_bytes, QLatin1Char('r')) + "\n"));
    } else {
      QVERIFY(!QFile::exists(f.File("morvarpl.dat")));
    }
  }

  void FortyFirstSaveIsRefused() {
    Fixture f(QuietJob(3));
    PresetTable& table = f.presets().replacement;
    for (std::size_t i = 0; i < kPresetSlotCount; ++i) {
      table.entries[i].name = "r" + std::to_string(i);
      table.entries[i].text = "a\tb";
    }
    f.window->job_page()->findChild<QComboBox*>(QStringLiteral("targetCombo"))->setEditText(QStringLiteral("x"));
    f.window->job_page()->findChild<QLineEdit*>(QStringLiteral("replacementEdit"))->setText(QStringLiteral("y"));
    ModalDriver driver;
    driver.OnModal<PresetSaveDialog>(TypeName(QStringLiteral("r40")))
        .Answer(QStringLiteral("既に保存可能最大数（40）分保存されているため、新規に登録することができません。\n"
                               "新規に登録したい場合は、不要なものを削除してから再保存してください。"),
                QMessageBox::Ok)
        .OnModal<PresetSaveDialog>([](PresetSaveDialog& dialog) { dialog.reject(); });
    Drive(driver, f.PageButton("savePresetButton"));
    QCOMPARE(table.Find("r40"), -1);
    QVERIFY(!QFile::exists(f.File("morvarpl.dat")));
  }

  void NamesTheFileCannotHoldAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("empty") << "" << "保存名称が指定されていません。";
    QTest::newRow("angle brackets") << "a<b" << "保存名称に '<' と '>' は使用できません。";
  }
  void NamesTheFileCannotHoldAreRefused() {
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    Fixture f(QuietJob(7));
    f.window->job_page()->findChild<QPlainTextEdit*>(QStringLiteral("statementEdit"))->setPlainText(QStringLiteral("<FILE>"));
    ModalDriver driver;
    driver.OnModal<PresetSaveDialog>(TypeName(name))
        .Answer(refusal, QMessageBox::Ok)
        .OnModal<PresetSaveDialog>([](PresetSaveDialog& dialog) { dialog.reject(); });
    Drive(driver, f.PageButton("savePresetButton"));
    QVERIFY(f.presets().statement.entries[0].free());
  }

  // A whole job saved from the main window reads back as the job; loading it replaces the window's job
  // and pages; deleting it rewrites the file.
  void JobPresetSavedLoadedAndDeleted() {
    Job job = QuietJob(3);
    job.settings.fnm_ckn1.Assign("IMG_");
    job.settings.sw_dtt[0] = 4;
    job.settings.sw_tab = 2;
    Fixture f(job, [](const QDir& dir) {
      // A hand-edited file from an earlier session: a comment and one entry.
      WriteAll(dir.filePath(QStringLiteral("morvaset.dat")),
               Cp932(QStringLiteral("MORVA - 変換設定保存ファイル Version 6.1b \n\n# mine\n<old>\nSW_TAB = 1\nSW_ATR = 1000\n")));
    });
    QCOMPARE(f.presets().job.entries[0].name, std::string("old"));  // read at start-up
    ModalDriver save;
    save.OnModal<PresetSaveDialog>([](PresetSaveDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QStringLiteral("MORVA - 変換設定保存"));
      TypeName(QStringLiteral("photos"))(dialog);
    });
    Drive(save, f.window->findChild<QPushButton*>(QStringLiteral("savePresetButton")));
    const int slot = f.presets().job.Find("photos");
    QCOMPARE(slot, 1);  // "old" sorts first
    std::string keys;
    f.harness->session.job.settings.WriteKeys(&keys);
    const QByteArray file = ReadAll(f.File("morvaset.dat"));
    QVERIFY(file.startsWith(Cp932(QStringLiteral("MORVA - 変換設定保存ファイル Version 6.1b \n\n<old>\n"))));
    QVERIFY(file.endsWith(QByteArray("<photos>\n") + QByteArray(keys.data(), static_cast<qsizetype>(keys.size()))));

    // Load "old": attributes on, the attribute page in front, the job's other options its own.
    auto* tabs = f.window->findChild<QTabWidget*>(QStringLiteral("jobTabs"));
    const qint64 off = tabs->tabIcon(3).cacheKey();  // deletion is off before and after
    ModalDriver load;
    load.OnModal<PresetLoadDialog>([](PresetLoadDialog& dialog) {
      auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("presetTable"));
      QCOMPARE(table->rowCount(), 40);
      QCOMPARE(table->item(0, 0)->text(), QStringLiteral("old"));
      QCOMPARE(table->item(1, 0)->text(), QStringLiteral("photos"));
      auto* load_button = dialog.findChild<QPushButton*>(QStringLiteral("loadButton"));
      table->selectRow(2);  // a free slot
      QVERIFY(!load_button->isEnabled());
      table->selectRow(0);
      QVERIFY(load_button->isEnabled());
      ClickLater(load_button);
    });
    Drive(load, f.window->findChild<QPushButton*>(QStringLiteral("loadPresetButton")));
    const ConversionSettings& now = f.harness->session.job.settings;
    QVERIFY(now.sw_atr[0]);
    QCOMPARE(now.sw_dtt[0], 0);
    QVERIFY(now.fnm_ckn1.empty());
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(f.window->job_page()->findChild<QWidget*>(QStringLiteral("readOnlyCheck")) != nullptr);
    QVERIFY(tabs->tabIcon(1).cacheKey() != off);  // attributes on
    QCOMPARE(tabs->tabIcon(2).cacheKey(), off);   // times off
    QCOMPARE(f.presets().job.last_name, std::string("old"));
    // The preset itself is not the job: changing the job leaves it alone.
    f.window->job_page()->findChild<QAbstractButton*>(QStringLiteral("hiddenCheck"))->click();
    f.window->CollectSettings();
    QVERIFY(!f.presets().job.entries[0].job->sw_atr[1]);

    ModalDriver remove;
    remove.OnModal<PresetLoadDialog>([](PresetLoadDialog& dialog) {
          auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("presetTable"));
          table->selectRow(1);
          ClickLater(dialog.findChild<QPushButton*>(QStringLiteral("deleteButton")));
        })
        .Answer(QStringLiteral("削除します。よろしいですか？"), QMessageBox::Yes);
    Drive(remove, f.window->findChild<QPushButton*>(QStringLiteral("loadPresetButton")));
    QCOMPARE(f.presets().job.Find("photos"), -1);
    QVERIFY(f.harness->session.job.settings.sw_atr[1]);  // deleting loads nothing
    PresetTable read(PresetKind::kJob);
    const QByteArray rewritten = ReadAll(f.File("morvaset.dat"));
    QVERIFY(ParsePresetText(*f.harness->codec, std::string_view(rewritten.constData(), rewritten.size()), &read));
    QCOMPARE(read.entries[0].name, std::string("old"));
    QVERIFY(read.entries[1].free());
    QVERIFY(!rewritten.contains("# mine"));  // the file is the table's, written anew
  }

  void StatementLoadedIntoItsBox() {
    Fixture f(QuietJob(7), [](const QDir& dir) {
      WriteAll(dir.filePath(QStringLiteral("morvascr.dat")),
               Cp932(QStringLiteral("MORVA - 変換制御文保存ファイル Version 6.1b \n\n<z> <FILE>_z\n<日付> <DATE>\n")));
    });
    ModalDriver driver;
    driver.OnModal<PresetLoadDialog>([](PresetLoadDialog& dialog) {
      auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("presetTable"));
      QCOMPARE(table->item(0, 0)->text(), QStringLiteral("z"));  // "z" before the double-byte name
      QCOMPARE(table->item(1, 1)->text(), QStringLiteral("<DATE>"));
      table->selectRow(1);
      emit table->cellDoubleClicked(1, 0);
    });
    Drive(driver, f.PageButton("loadPresetButton"));
    QCOMPARE(f.window->job_page()->findChild<QPlainTextEdit*>(QStringLiteral("statementEdit"))->toPlainText(),
             QStringLiteral("<DATE>"));
  }
};

}  // namespace morva

QTEST_MAIN(morva::PresetDialogsTest)
#include "preset_dialogs_test.moc"
