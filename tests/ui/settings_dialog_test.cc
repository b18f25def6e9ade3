// The settings dialog, offscreen: its checks, its enable rules, and what OK does through the main window.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/job.h"
#include "settings/settings_file.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/message_box_answerer.h"
#include "ui/modal_driver_support.h"
#include "ui/qt_text.h"
#include "ui/settings_dialog.h"
#include "ui/target_list_model.h"
#include "ui/target_list_window.h"

namespace morva {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* widget = parent.findChild<T*>(QString::fromLatin1(name));
  if (widget == nullptr) QTest::qFail(name, __FILE__, __LINE__);
  return widget;
}

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void PaddingSize_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");  // empty: stored
    QTest::newRow("empty") << "" << "ID3v2情報付加時のパディングサイズが指定されていません。";
    QTest::newRow("2049") << "2049" << "ID3v2情報付加時のパディングサイズは0～2048の範囲で指定してください。";
    QTest::newRow("-1") << "-1" << "ID3v2情報付加時のパディングサイズは0～2048の範囲で指定してください。";
    QTest::newRow("not a number") << "1k" << "ID3v2情報付加時のパディングサイズは0～2048の範囲で指定してください。";
    QTest::newRow("2048") << "2048" << "";
    QTest::newRow("0") << "0" << "";
  }
  void PaddingSize() {
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QTemporaryDir home;
    UiHarness harness(home.path());
    AppSettings& app = harness.session.job.app;
    SettingsDialog dialog(harness.context, nullptr);
    Child<QCheckBox>(dialog, "noLogCheck")->click();
    Child<QLineEdit>(dialog, "paddingEdit")->setText(typed);
    dialog.show();
    MessageBoxAnswerer answerer;
    Child<QPushButton>(dialog, "okButton")->click();
    if (refusal.isEmpty()) {
      QVERIFY(answerer.texts().isEmpty());
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(app.opt_3, typed.toInt());
      QVERIFY(app.sw_opt[AppSettings::kOptNoLog]);
    } else {
      QCOMPARE(answerer.texts(), QStringList{refusal});
      QVERIFY(dialog.isVisible());  // the dialog stays, nothing stored
      QCOMPARE(app.opt_3, 256);
      QVERIFY(!app.sw_opt[AppSettings::kOptNoLog]);
    }
  }

  void LogOptionsGreyWithoutChanging() {
    QTemporaryDir home;
    UiHarness harness(home.path());
    AppSettings& app = harness.session.job.app;
    app.opt_1 = 25;
    app.sw_opt[AppSettings::kOptLogUndo] = true;
    SettingsDialog dialog(harness.context, nullptr);
    auto* history = Child<QComboBox>(dialog, "historyCombo");
    QCOMPARE(history->currentText(), QStringLiteral("25"));
    QVERIFY(Child<QCheckBox>(dialog, "logUndoCheck")->isEnabled());
    Child<QCheckBox>(dialog, "noLogCheck")->click();
    for (const char* name : {"logAllCheck", "logUndoCheck", "historyGroup", "historyCombo"}) {
      QVERIFY2(!Child<QWidget>(dialog, name)->isEnabled(), name);
    }
    QCOMPARE(history->currentText(), QStringLiteral("25"));
    QVERIFY(Child<QCheckBox>(dialog, "logUndoCheck")->isChecked());
    Child<QCheckBox>(dialog, "noLogCheck")->click();
    Child<QCheckBox>(dialog, "logAllCheck")->click();  // off: undo logging goes grey, still ticked
    QVERIFY(Child<QComboBox>(dialog, "historyCombo")->isEnabled());
    QVERIFY(!Child<QCheckBox>(dialog, "logUndoCheck")->isEnabled());
    Child<QPushButton>(dialog, "okButton")->click();
    QCOMPARE(app.opt_1, 25);
    QVERIFY(!app.sw_opt[AppSettings::kOptLogAll]);
    QVERIFY(app.sw_opt[AppSettings::kOptLogUndo]);
  }

  void CancelChangesNothing() {
    QTemporaryDir home;
    UiHarness harness(home.path());
    const AppSettings before = harness.session.job.app;
    SettingsDialog dialog(harness.context, nullptr);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->click();
    Child<QComboBox>(dialog, "exifItemCombo")->setCurrentIndex(0);
    Child<QPushButton>(dialog, "cancelButton")->click();
    QCOMPARE(harness.session.job.app.sw_opt, before.sw_opt);
    QCOMPARE(harness.session.job.app.opt_2, before.opt_2);
  }

  // OK from the main window: the log keeps the new number of runs, the list its new columns, and the
  // settings file is written at exit.
  void OkTrimsTheLogAndRebuildsTheList() {
    QTemporaryDir home, tree;
    QFile(tree.filePath(QStringLiteral("a.txt"))).open(QIODevice::WriteOnly);
    Job job;
    job.app.pref = false;
    std::string engine;
    {
      UiHarness probe(home.path());
      engine = EnginePath(probe, tree.path());
    }
    job.app.dirfil[0] = engine;
    job.settings.sw_fnm = 1;
    job.settings.fnm_ipn_sel = ConversionSettings::kGeneralCase;
    job.settings.fnm_ipn2 = 1;
    WriteSettings(home.path(), job);
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    QVERIFY(ShowAsMainWindow(harness, window));
    for (int run = 0; run < 2; ++run) {
      MessageBoxAnswerer answerer;
      window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
      QTRY_VERIFY(!window.busy());
    }
    const QString log = QDir(home.path()).filePath(QStringLiteral("mvlogs.txt"));
    auto runs = [&log] {
      QFile file(log);
      return file.open(QIODevice::ReadOnly) ? file.readAll().count(Cp932Header()) : -1;
    };
    QCOMPARE(runs(), 2);
    TargetListWindow* list = window.target_list_window();
    QVERIFY(list != nullptr);
    QVERIFY(!list->model().columns().empty());
    const std::size_t columns = list->model().columns().size();

    ModalDriver driver;
    driver.OnModal<SettingsDialog>([](SettingsDialog& dialog) {
      Child<QComboBox>(dialog, "historyCombo")->setCurrentIndex(0);  // keep 1 run
      Child<QCheckBox>(dialog, "columnCreationCheck")->click();
      ClickLater(Child<QPushButton>(dialog, "okButton"));
    });
    ClickLater(window.findChild<QPushButton*>(QStringLiteral("settingsButton")));
    QTRY_VERIFY_WITH_TIMEOUT(driver.done(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, 5000);
    QCOMPARE(list->model().columns().size(), columns + 1);
    QCOMPARE(harness.session.job.app.opt_1, 1);
    QVERIFY(window.write_gate().is_open());
    harness.ui.set_main_window(nullptr);
  }

 private:
  static QByteArray Cp932Header() {
    std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
    std::string bytes;
    FromQt(*codec, QStringLiteral(" - 変換実行開始 ■"), &bytes);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
};

}  // namespace morva

QTEST_MAIN(morva::SettingsDialogTest)
#include "settings_dialog_test.moc"
