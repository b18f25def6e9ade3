// The option pages inside the main window, offscreen: what they load and collect, their enable rules,
// the job marks of the tabs, and a refused job bringing its page and control to the front.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

#include "core/job.h"
#include "engine/validation.h"
#include "settings/settings_file.h"
#include "ui/bracket_dialog.h"
#include "ui/gui_test_support.h"
#include "ui/job_pages.h"
#include "ui/main_window.h"
#include "ui/message_box_answerer.h"
#include "ui/qt_text.h"

namespace morva {
namespace {

// A program directory whose settings file holds `job`, the window over it and the harness under it.
struct Fixture {
  explicit Fixture(const Job& job) {
    QFile file(QDir(home.path()).filePath(QStringLiteral("morva.dat")));
    if (file.open(QIODevice::WriteOnly)) {
      const std::string text = FormatSettingsText(job.settings, job.app);
      file.write(text.data(), static_cast<qint64>(text.size()));
    }
    file.close();
    harness = std::make_unique<UiHarness>(home.path());
    window = std::make_unique<MainWindow>(harness->context);
    harness->ui.set_main_window(window.get());
  }
  ~Fixture() { harness->ui.set_main_window(nullptr); }

  template <typename T>
  T* Find(const char* name) const {
    T* widget = window->job_page()->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) QTest::qFail(name, __FILE__, __LINE__);
    return widget;
  }
  QTabWidget* tabs() const { return window->findChild<QTabWidget*>(QStringLiteral("jobTabs")); }
  ConversionSettings& settings() const { return harness->session.job.settings; }
  std::string Bytes(const QString& text) const {
    std::string bytes;
    FromQt(*harness->codec, text, &bytes);
    return bytes;
  }

  QTemporaryDir home;
  std::unique_ptr<UiHarness> harness;
  std::unique_ptr<MainWindow> window;
};

// "name" clicks a button, "name=N" picks entry N of a list.
void Act(Fixture& f, const QString& action) {
  const int equals = action.indexOf(QLatin1Char('='));
  if (equals < 0) {
    f.Find<QAbstractButton>(qPrintable(action))->click();
    return;
  }
  f.Find<QComboBox>(qPrintable(action.left(equals)))->setCurrentIndex(action.mid(equals + 1).toInt());
}

}  // namespace

class OptionPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void EnableRules_data() {
    QTest::addColumn<int>("code");  // 1-8 a name rule, 11-14 a job page
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");
    QTest::newRow("general as stored") << 1 << QStringList{} << QStringList{"caseCheck"}
                                       << QStringList{"caseModeCombo", "capitalGroup", "deletionGroup", "bracketModeCombo",
                                                      "bracketButton", "paddingCombo", "paddingLabel", "lastNumberCheck"};
    QTest::newRow("general: capitals after, brackets, padding")
        << 1 << QStringList{"caseCheck", "caseModeCombo=2", "deletionCheck", "bracketCheck", "paddingCheck"}
        << QStringList{"caseModeCombo", "capitalGroup", "deletionGroup", "bracketModeCombo", "bracketButton",
                       "paddingCombo", "paddingLabel", "lastNumberCheck"}
        << QStringList{};
    QTest::newRow("width: no kana") << 2 << QStringList{} << QStringList{"lettersCheck"}
                                    << QStringList{"kanaSymbolsCheck", "loneMarksCheck"};
    QTest::newRow("width: katakana to half width") << 2 << QStringList{"katakanaCheck"}
                                                   << QStringList{"kanaSymbolsCheck"} << QStringList{"loneMarksCheck"};
    QTest::newRow("width: hiragana to full width") << 2 << QStringList{"hiraganaCheck", "toFullRadio"}
                                                   << QStringList{"kanaSymbolsCheck", "loneMarksCheck"} << QStringList{};
    QTest::newRow("width: shared symbols off") << 2 << QStringList{"hiraganaCheck", "toFullRadio", "kanaSymbolsCheck"}
                                               << QStringList{"kanaSymbolsCheck"} << QStringList{"loneMarksCheck"};
    QTest::newRow("replacement by string")
        << 3 << QStringList{} << QStringList{"targetCombo", "targetLabel", "regexCheck", "presetGroup"}
        << QStringList{"fromCombo", "startCheck", "startEdit", "directionCombo", "allRadio", "countEdit",
                       "trailByteNote", "takeCharacterRadio"};
    QTest::newRow("replacement by position") << 3 << QStringList{"byPositionRadio"}
                                             << QStringList{"fromCombo", "startCheck", "allRadio", "leaveCharacterRadio"}
                                             << QStringList{"targetCombo", "presetGroup", "startEdit", "countEdit"};
    QTest::newRow("replacement: start byte and count")
        << 3 << QStringList{"byPositionRadio", "startCheck", "countRadio"} << QStringList{"startEdit", "countEdit"}
        << QStringList{"caseSensitiveCheck"};
    QTest::newRow("serial as stored") << 4 << QStringList{} << QStringList{"prefixEdit", "suffixEdit"}
                                      << QStringList{"orderCombo", "ascendingRadio", "lastNumberCheck"};
    QTest::newRow("serial: parent names, ordered by name")
        << 4 << QStringList{"prefixParentRadio", "suffixParentRadio", "orderCheck"}
        << QStringList{"orderCombo", "descendingRadio"} << QStringList{"prefixEdit", "suffixEdit", "lastNumberCheck"};
    QTest::newRow("serial: by the number in the name") << 4 << QStringList{"orderCheck", "orderCombo=4"}
                                                       << QStringList{"lastNumberCheck"} << QStringList{};
    QTest::newRow("date as stored") << 5 << QStringList{}
                                    << QStringList{"prefixEdit", "serialSeparatorEdit", "digitsCombo", "orderCheck"}
                                    << QStringList{"timeFormatCombo", "weekdayCombo", "separatorEdit", "orderCombo"};
    QTest::newRow("date: weekday, no serial")
        << 5 << QStringList{"weekdayCheck", "serialCheck", "prefixParentRadio"}
        << QStringList{"weekdayCombo", "separatorEdit", "separatorLabel"}
        << QStringList{"timeFormatCombo", "serialSeparatorEdit", "serialSeparatorLabel", "digitsCombo", "digitsLabel",
                       "perDirectoryCheck", "orderCheck", "prefixEdit"};
    QTest::newRow("date: ordered by the number in the name")
        << 5 << QStringList{"orderCheck", "orderCombo=4"} << QStringList{"orderCombo", "ascendingRadio", "lastNumberCheck"}
        << QStringList{};
    QTest::newRow("attributes") << 11 << QStringList{"readOnlyCheck"} << QStringList{"readOnlyOnRadio", "readOnlyOffRadio"}
                                << QStringList{"hiddenOnRadio", "archiveOffRadio", "systemOnRadio"};
    QTest::newRow("timestamps") << 12 << QStringList{"lastWriteCombo=1"}
                                << QStringList{"lastWriteDateEdit", "lastWriteTimeEdit", "lastWriteTimeLabel"}
                                << QStringList{"creationDateEdit", "accessTimeEdit", "creationDirectLabel"};
    QTest::newRow("ID3 conversion") << 14 << QStringList{"genreCombo=10"} << QStringList{"genreEdit", "genreDirectLabel"}
                                    << QStringList{"titleEdit", "commentDirectLabel"};
  }
  void EnableRules() {
    QFETCH(int, code);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    Fixture f(QuietJob());
    f.window->ShowJobPage(code, true);
    for (const QString& action : actions) Act(f, action);
    for (const QString& name : enabled) QVERIFY2(f.Find<QWidget>(qPrintable(name))->isEnabled(), qPrintable(name));
    for (const QString& name : disabled) QVERIFY2(!f.Find<QWidget>(qPrintable(name))->isEnabled(), qPrintable(name));
    // What the page shows now is what it shows again when it is made anew from the record.
    QStringList states;
    for (QAbstractButton* button : f.window->job_page()->findChildren<QAbstractButton*>()) {
      states << button->objectName() + QString::number(button->isChecked());
    }
    f.window->ShowJobPage(code, true);
    QStringList again;
    for (QAbstractButton* button : f.window->job_page()->findChildren<QAbstractButton*>()) {
      again << button->objectName() + QString::number(button->isChecked());
    }
    QCOMPARE(again, states);
  }

  void CaseModeKeepsTheCapitalTicks() {
    Job job = QuietJob();
    job.settings.sw_fnm = 1;
    job.settings.fnm_ipn_sel = ConversionSettings::kGeneralCase;
    job.settings.fnm_ipn2 = 3;
    job.settings.fnm_ipnf = ConversionSettings::kCapitalAfterSpace | ConversionSettings::kCapitalAfterOther;
    Fixture f(job);
    auto* mode = f.Find<QComboBox>("caseModeCombo");
    QVERIFY(f.Find<QCheckBox>("capitalSpaceCheck")->isEnabled());
    mode->setCurrentIndex(0);  // "大文字変換(abc→ABC)"
    for (const char* name : {"capitalSpaceCheck", "capitalDigitCheck", "capitalOtherCheck"}) {
      QVERIFY2(!f.Find<QCheckBox>(name)->isEnabled(), name);
    }
    f.window->CollectSettings();
    QCOMPARE(f.settings().fnm_ipnf, ConversionSettings::kCapitalAfterSpace | ConversionSettings::kCapitalAfterOther);
    mode->setCurrentIndex(2);
    QVERIFY(f.Find<QCheckBox>("capitalSpaceCheck")->isEnabled() && f.Find<QCheckBox>("capitalSpaceCheck")->isChecked());
    QVERIFY(!f.Find<QCheckBox>("capitalDigitCheck")->isChecked());
    QVERIFY(f.Find<QCheckBox>("capitalOtherCheck")->isChecked());
  }

  void EmptyingAnId3ElementEmptiesTheLaterOnes() {
    Job job = QuietJob();
    job.settings.sw_fnm = 6;
    job.settings.fnm_id31 = {1, 2, 3, 4};
    Fixture f(job);
    QVERIFY(f.Find<QComboBox>("element4Combo")->isEnabled());
    f.Find<QComboBox>("element2Combo")->setCurrentIndex(0);
    for (const char* name : {"element3Combo", "element4Combo"}) {
      QCOMPARE(f.Find<QComboBox>(name)->currentIndex(), 0);
      QVERIFY2(!f.Find<QComboBox>(name)->isEnabled(), name);
    }
    QVERIFY(f.Find<QComboBox>("element2Combo")->isEnabled());
    f.window->CollectSettings();
    QCOMPARE(f.settings().fnm_id31, (std::array<std::int16_t, 4>{1, 0, 0, 0}));
    f.Find<QComboBox>("element2Combo")->setCurrentIndex(7);
    QVERIFY(f.Find<QComboBox>("element3Combo")->isEnabled());
    QVERIFY(!f.Find<QComboBox>("element4Combo")->isEnabled());
  }

  void DeletionGreysWithoutUnticking() {
    Job job = QuietJob();
    job.settings.sw_tab = 3;
    job.settings.sw_del = {true, true, true};
    job.settings.del_01 = 3;
    Fixture f(job);
    QVERIFY(f.Find<QComboBox>("levelCombo")->isEnabled());
    f.Find<QCheckBox>("deleteCheck")->click();
    QVERIFY(!f.Find<QCheckBox>("noTrashCheck")->isEnabled() && f.Find<QCheckBox>("noTrashCheck")->isChecked());
    QVERIFY(!f.Find<QCheckBox>("wipeCheck")->isEnabled() && f.Find<QCheckBox>("wipeCheck")->isChecked());
    QVERIFY(!f.Find<QComboBox>("levelCombo")->isEnabled());
    f.window->CollectSettings();
    QCOMPARE(f.settings().sw_del, (std::array<bool, 3>{false, true, true}));
    QCOMPARE(f.settings().del_01, 3);
    f.Find<QCheckBox>("deleteCheck")->click();
    QVERIFY(f.Find<QComboBox>("levelCombo")->isEnabled());
  }

  // Options typed on one page stay through other pages and through switching every job off.
  void OptionsSurviveTabChangesAndAllOff() {
    Job job = QuietJob();
    job.settings.sw_fnm = 3;
    Fixture f(job);
    f.Find<QComboBox>("targetCombo")->setEditText(QStringLiteral("コピー"));
    f.Find<QLineEdit>("replacementEdit")->setText(QStringLiteral("写し"));
    f.tabs()->setCurrentIndex(1);
    f.Find<QCheckBox>("hiddenCheck")->click();
    f.Find<QRadioButton>("hiddenOffRadio")->click();
    f.tabs()->setCurrentIndex(4);
    f.Find<QComboBox>("albumCombo")->setCurrentIndex(10);
    f.Find<QLineEdit>("albumEdit")->setText(QStringLiteral("旅行"));
    QVERIFY(!f.Find<QCheckBox>("cp932TextCheck")->isChecked());  // Unicode unless asked
    f.Find<QCheckBox>("cp932TextCheck")->click();
    f.tabs()->setCurrentIndex(0);
    QCOMPARE(f.Find<QComboBox>("targetCombo")->currentText(), QStringLiteral("コピー"));
    f.tabs()->setCurrentIndex(1);
    QVERIFY(f.Find<QCheckBox>("hiddenCheck")->isChecked() && f.Find<QRadioButton>("hiddenOffRadio")->isChecked());
    f.tabs()->setCurrentIndex(4);
    QCOMPARE(f.Find<QLineEdit>("albumEdit")->text(), QStringLiteral("旅行"));
    QVERIFY(f.Find<QCheckBox>("cp932TextCheck")->isChecked());
    f.Find<QLineEdit>("albumEdit")->setText(QStringLiteral("旅行２"));  // typed on the page in front

    f.window->findChild<QPushButton*>(QStringLiteral("clearAllButton"))->click();
    const ConversionSettings& s = f.settings();
    QCOMPARE(s.sw_fnm, 0);
    QVERIFY(!s.sw_atr[1]);
    QCOMPARE(s.sw_id3[2], 0);
    QCOMPARE(s.fnm_ckn1.view(), f.Bytes(QStringLiteral("コピー")));
    QCOMPARE(s.fnm_ckn3.view(), f.Bytes(QStringLiteral("写し")));
    QCOMPARE((s.atr_onb & ConversionSettings::kAttributeHidden), 0);
    QCOMPARE(*s.id3_str[2], f.Bytes(QStringLiteral("旅行２")));
    QVERIFY(s.id3_enc);
    f.window->job_page()->findChild<QComboBox*>(QStringLiteral("ruleCombo"))->setCurrentIndex(3);
    QCOMPARE(f.Find<QLineEdit>("replacementEdit")->text(), QStringLiteral("写し"));
  }

  void TabMarksFollowTheSwitches() {
    Job job = QuietJob();
    job.settings.sw_tab = 1;
    Fixture f(job);
    const qint64 off = f.tabs()->tabIcon(1).cacheKey();
    QCOMPARE(f.tabs()->tabIcon(0).cacheKey(), off);
    f.Find<QCheckBox>("archiveCheck")->click();
    const qint64 on = f.tabs()->tabIcon(1).cacheKey();
    QVERIFY(on != off);
    f.Find<QCheckBox>("archiveCheck")->click();
    QCOMPARE(f.tabs()->tabIcon(1).cacheKey(), off);
    f.tabs()->setCurrentIndex(2);
    f.Find<QComboBox>("accessCombo")->setCurrentIndex(4);
    QCOMPARE(f.tabs()->tabIcon(2).cacheKey(), on);
    f.tabs()->setCurrentIndex(3);
    f.Find<QCheckBox>("deleteCheck")->click();
    QCOMPARE(f.tabs()->tabIcon(3).cacheKey(), on);
    f.tabs()->setCurrentIndex(4);
    f.Find<QComboBox>("yearCombo")->setCurrentIndex(1);
    QCOMPARE(f.tabs()->tabIcon(4).cacheKey(), on);
    f.tabs()->setCurrentIndex(0);
    f.window->job_page()->findChild<QComboBox*>(QStringLiteral("ruleCombo"))->setCurrentIndex(8);
    QCOMPARE(f.tabs()->tabIcon(0).cacheKey(), on);
  }

  // Limits are code page 932 bytes: 40 full-width letters fill an 80-byte box, a 41st does not go in.
  void BoxesTakeBytesNotCharacters() {
    Job job = QuietJob();
    job.settings.sw_fnm = 4;
    Fixture f(job);
    auto* prefix = f.Find<QLineEdit>("prefixEdit");
    for (int i = 0; i < 41; ++i) prefix->insert(QString(QChar(0x3042)));  // typed "あ", two bytes each
    QCOMPARE(prefix->text(), QString(40, QChar(0x3042)));
    auto* first = f.Find<QLineEdit>("firstEdit");
    first->clear();
    QTest::keyClicks(first, QStringLiteral("1234567"));
    QCOMPARE(first->text(), QStringLiteral("12345"));
    f.Find<QLineEdit>("suffixEdit")->insert(QString::fromUtf8("\xF0\x9F\x98\x80"));  // no code page 932 form
    QCOMPARE(f.Find<QLineEdit>("suffixEdit")->text(), QString());
    f.window->CollectSettings();
    QCOMPARE(f.settings().fnm_rnb1.size(), std::size_t{80});
    QCOMPARE(f.settings().fnm_rnb2.view(), std::string_view("12345"));
  }

  void BracketDialogKeepsAtLeastOnePair() {
    Job job = QuietJob();
    job.settings.sw_fnm = 1;
    job.settings.fnm_ipn_sel = ConversionSettings::kGeneralBrackets;
    Fixture f(job);
    BracketDialog dialog(f.harness->context, f.window.get());
    auto pair = [&dialog](int k) { return dialog.findChild<QCheckBox*>(QStringLiteral("pair%1Check").arg(k)); };
    QVERIFY(pair(16)->isChecked());
    for (int k = 1; k <= 16; ++k) pair(k)->setChecked(false);
    dialog.show();
    {
      MessageBoxAnswerer answerer;
      dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
      QCOMPARE(answerer.texts(), QStringList{"全ての括弧を対象としない設定にすることはできません。"});
    }
    QVERIFY(dialog.isVisible());
    QVERIFY(f.settings().sw_kakko[0]);
    pair(3)->setChecked(true);
    pair(15)->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    std::array<bool, 16> expected{};
    expected[2] = expected[14] = true;
    QCOMPARE(f.settings().sw_kakko, expected);
  }

  void StatementLosesItsLineBreaksWithOneNotice() {
    Job job = QuietJob();
    job.settings.sw_fnm = 7;
    Fixture f(job);
    auto* box = f.Find<QPlainTextEdit>("statementEdit");
    box->setPlainText(QStringLiteral("<FILE>\n_<SNUM>\r\n"));
    box->setPlainText(box->toPlainText() + QString(200, QLatin1Char('x')));  // over the limit: undone
    QCOMPARE(box->toPlainText(), QStringLiteral("<FILE>\n_<SNUM>\n"));  // the box keeps \r\n as one break
    {
      MessageBoxAnswerer answerer;
      f.window->CollectSettings();
      QCOMPARE(answerer.texts(), (QStringList{"変換制御文中に '\\n' または '\\r' を検出しました。この文字は削除されます。"}));
    }
    QCOMPARE(f.settings().fnm_usr1.view(), std::string_view("<FILE>_<SNUM>"));
    QCOMPARE(box->toPlainText(), QStringLiteral("<FILE>_<SNUM>"));
  }

  void CsvPathTakesOneDroppedFile() {
    QTemporaryDir tree;
    QFile(tree.filePath(QStringLiteral("置換.csv"))).open(QIODevice::WriteOnly);
    Job job = QuietJob();
    job.settings.sw_fnm = 8;
    Fixture f(job);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    auto* path = f.Find<QLineEdit>("pathEdit");
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(tree.filePath(QStringLiteral("置換.csv"))), QUrl::fromLocalFile(tree.path())});
    QDropEvent drop_two(QPointF(5, 5), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(path, &drop_two);
    QCOMPARE(path->text(), QString());
    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(tree.filePath(QStringLiteral("置換.csv")))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(path, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(path, &drop);
    QCOMPARE(path->text(), tree.filePath(QStringLiteral("置換.csv")));
    // The main window did not take it as a target.
    QCOMPARE(f.window->findChild<QComboBox*>(QStringLiteral("targetModeCombo"))->currentIndex(), 0);
  }

  // The pattern file box shows the host path of the stored file and takes a path typed in either form;
  // the record keeps the engine's form, which the job's validation loads. A stored path with bytes that
  // have no Unicode form is shown as it stands with escapes, never replacement characters, and, left as
  // it is, kept byte for byte.
  void CsvPathBoxShowsTheHostPathAndTakesEitherForm_data() {
    QTest::addColumn<QString>("stored");  // "file", "none" or "broken" (a code the code page leaves unassigned)
    QTest::addColumn<QString>("typed");   // "host", "engine", or empty: the box left as shown
    QTest::newRow("stored, left as shown") << "file" << "";
    QTest::newRow("host path typed") << "none" << "host";
    QTest::newRow("engine path typed") << "none" << "engine";
    QTest::newRow("stored with bytes no display can show") << "broken" << "";
  }
  void CsvPathBoxShowsTheHostPathAndTakesEitherForm() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkdir(QStringLiteral("置換 パターン")));
    const QString host = tree.filePath(QStringLiteral("置換 パターン/表.csv"));
    QFile csv(host);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("a\tb\n");
    csv.close();
    std::string engine;
    {
      UiHarness probe(tree.path());
      engine = EnginePath(probe, host);
    }
    const std::string broken = engine + "\x85\x40";  // no file of that name: only the box is looked at
    Job job = QuietJob();
    job.settings.sw_fnm = 8;
    if (stored == QStringLiteral("file")) QVERIFY(job.settings.fnm_csv_pth.Assign(engine));
    if (stored == QStringLiteral("broken")) QVERIFY(job.settings.fnm_csv_pth.Assign(broken));
    Fixture f(job);
    auto* path = f.Find<QLineEdit>("pathEdit");
    if (stored == QStringLiteral("file")) QCOMPARE(path->text(), host);
    if (stored == QStringLiteral("none")) QCOMPARE(path->text(), QString());
    // Without a host form, the engine's form as it stands.
    QString engine_shown = QStringLiteral("Z:") + host + QStringLiteral("\\x85\\x40");
    engine_shown.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (stored == QStringLiteral("broken")) QCOMPARE(path->text(), engine_shown);
    if (typed == QStringLiteral("host")) path->setText(host);
    if (typed == QStringLiteral("engine")) path->setText(ToQt(*f.harness->codec, engine));
    f.window->CollectSettings();
    if (stored == QStringLiteral("broken")) {
      QCOMPARE(f.settings().fnm_csv_pth.view(), std::string_view(broken));
      return;
    }
    QCOMPARE(f.settings().fnm_csv_pth.view(), std::string_view(engine));
    MessageBoxAnswerer answerer;
    QVERIFY(ValidateJob(f.harness->session, true).accepted());
    QCOMPARE(answerer.texts(), QStringList());
    QCOMPARE(f.harness->session.run.csv_patterns.size(), std::size_t{1});
  }

  // "変換設定保存" validates the job: a refusal shows the page and control at fault.
  void RefusalShowsThePageAndControl_data() {
    QTest::addColumn<int>("refusal");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("message");
    QTest::newRow("replacement target") << 0 << 0 << "targetCombo" << "置換対象文字列が指定されていません。";
    QTest::newRow("serial first number") << 1 << 0 << "firstEdit" << "連番の初回番号が指定されていません。";
    QTest::newRow("no bracket pair") << 2 << 0 << "bracketButton" << "括弧の処理の対象括弧が１つも指定されていません。";
    QTest::newRow("ID3 element") << 3 << 0 << "element1Combo" << "ID3情報要素が１つも指定されていません。";
    QTest::newRow("date prefix") << 4 << 0 << "prefixEdit" << "接頭文字に以下の文字は指定できません。";
    QTest::newRow("direct date") << 5 << 2 << "lastWriteDateEdit" << "日時直接指定の形式が不正です。";
    QTest::newRow("ID3 direct string") << 6 << 4 << "albumEdit" << "「文字列直接指定」での文字列が指定されていません。";
    QTest::newRow("deletion with another job") << 7 << 3 << "deleteCheck" << "ファイル削除と他の変換機能は同時に指定できません。";
  }
  void RefusalShowsThePageAndControl() {
    QFETCH(int, refusal);
    QFETCH(int, tab);
    QFETCH(QString, focused);
    QFETCH(QString, message);
    // Set in the file and again in the record: a value the file reader refuses (no bracket pair, a
    // date that does not exist) can only be in the record.
    auto refuse = [refusal](ConversionSettings& s) {
      switch (refusal) {
        case 0: s.sw_fnm = 3; break;
        case 1: s.sw_fnm = 4; s.fnm_rnb2.Clear(); break;
        case 2: s.sw_fnm = 1; s.fnm_ipn_sel = ConversionSettings::kGeneralBrackets; s.sw_kakko.fill(false); break;
        case 3: s.sw_fnm = 6; break;
        case 4: s.sw_fnm = 5; s.fnm_hdk1.Assign("a:b"); break;
        case 5: s.sw_dtt[1] = 1; s.dtt_date[1].Assign("2023/02/29"); break;
        case 6: s.sw_id3[2] = 10; break;
        case 7: s.sw_del[0] = true; s.sw_atr[0] = true; break;
      }
    };
    Job job = QuietJob();
    job.settings.sw_tab = 1;  // another page in front
    refuse(job.settings);
    Fixture f(job);
    refuse(f.settings());
    f.window->show();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    {
      MessageBoxAnswerer answerer;
      f.window->findChild<QPushButton*>(QStringLiteral("savePresetButton"))->click();
      QCOMPARE(answerer.texts().size(), 1);
      QVERIFY2(answerer.texts().front().startsWith(message), qPrintable(answerer.texts().front()));
    }
    QCOMPARE(f.tabs()->currentIndex(), tab);
    QWidget* focus = f.window->focusWidget();
    QVERIFY(focus != nullptr);
    QVERIFY2(focus->objectName() == focused || focus->parentWidget()->objectName() == focused,
             qPrintable(focus->objectName()));
  }
};

}  // namespace morva

QTEST_MAIN(morva::OptionPagesTest)
#include "option_pages_test.moc"
