// Opening the help: the document beside the program handed to the desktop's opener, and each way the
// opener can fail turned into the program's message.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/document_opener.h"
#include "ui/gui_test_support.h"
#include "ui/help_launch.h"
#include "ui/qt_text.h"
#include "ui/modal_driver_support.h"

namespace morva {
namespace {

// Answers every request with `result` and remembers the paths it was given.
class FixedOpener final : public DocumentOpener {
 public:
  explicit FixedOpener(int result) : result_(result) {}
  int Open(std::string_view engine_path) override {
    paths.emplace_back(engine_path);
    return result_;
  }
  std::vector<std::string> paths;

 private:
  int result_;
};

}  // namespace

class HelpLaunchTest : public QObject {
  Q_OBJECT

 private slots:
  void MapsTheOpenersResult_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("opened") << kDocumentOpened + 10 << QString();
    QTest::newRow("no resources") << kDocumentNoResources << "メモリまたはリソースが不足しているため失敗しました。";
    QTest::newRow("not found") << kDocumentNotFound << "ヘルプファイルが見つかりませんでした。";
    QTest::newRow("path not found") << 3 << "ヘルプファイルが見つかりませんでした。";
    QTest::newRow("bad viewer") << kDocumentBadViewer << "ヘルプを表示するプログラム xdg-open を実行できません。";
    QTest::newRow("viewer missing")
        << kDocumentViewerMissing
        << "ヘルプを表示するプログラム xdg-open が見つかりません。xdg-utils パッケージをインストールしてください。";
    QTest::newRow("no association")
        << kDocumentNoAssociation << "ヘルプファイル（*.html）に関連付けがされていないため、ヘルプを表示できません。";
    QTest::newRow("other") << kDocumentFailed << "ヘルプの表示に失敗しました。";
  }

  void MapsTheOpenersResult() {
    QFETCH(int, result);
    QFETCH(QString, message);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    UiHarness harness(home.path());
    FixedOpener opener(result);
    harness.session.host.document_opener = &opener;
    ModalDriver driver;
    if (!message.isEmpty()) driver.Answer(message, QMessageBox::Ok);
    QCOMPARE(OpenHelp(harness.context), message.isEmpty());
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(opener.paths, std::vector<std::string>{harness.context.program_directory + "\\morva.html"});
  }

  // The document beside the executable (a build tree), else in share/morva beside its bin directory (an
  // installation), else where the program directory is, so that its absence is reported there.
  void FindsTheDocumentBesideOrInstalled() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    UiHarness harness(root.path());
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")) && QDir(root.path()).mkpath(QStringLiteral("share/morva")));
    const auto engine = [&](const QString& relative) {
      std::string path;
      EnginePathFromQt(*harness.codec, *harness.fs, root.path() + QLatin1Char('/') + relative, &path);
      return path;
    };
    const std::vector<std::string> directories = {engine(QStringLiteral("bin")), engine(QStringLiteral("share/morva"))};
    const std::string fallback = harness.context.program_directory + "\\morva.html";
    QCOMPARE(FindHelpDocument(*harness.fs, directories, harness.context.program_directory), fallback);
    const auto write = [&](const QString& relative) {
      QFile file(root.path() + QLatin1Char('/') + relative);
      return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
    };
    QVERIFY(write(QStringLiteral("share/morva/morva.html")));
    QCOMPARE(FindHelpDocument(*harness.fs, directories, harness.context.program_directory),
             engine(QStringLiteral("share/morva/morva.html")));
    QVERIFY(write(QStringLiteral("bin/morva.html")));
    QCOMPARE(FindHelpDocument(*harness.fs, directories, harness.context.program_directory),
             engine(QStringLiteral("bin/morva.html")));
  }

  // Without the host's opener the help goes through Qt; a missing document is said so before that.
  void MissingDocumentWithoutOpener() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    UiHarness harness(home.path());
    ModalDriver driver;
    driver.Answer(QStringLiteral("ヘルプファイルが見つかりませんでした。"), QMessageBox::Ok);
    QVERIFY(!OpenHelp(harness.context));
    QVERIFY(driver.done());
  }
};

}  // namespace morva

QTEST_MAIN(morva::HelpLaunchTest)
#include "help_launch_test.moc"
