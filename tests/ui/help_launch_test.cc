// Opening the help: the document beside the program handed to the desktop's opener, and each way the
// opener can fail turned into the program's message.
#include "ui/help_launch.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "platform/document_opener.h"
#include "platform/message_catalogue.h"
#include "ui/gui_test_support.h"
#include "ui/main_window.h"
#include "ui/modal_driver_support.h"
#include "ui/qt_text.h"

namespace morva {
namespace {

// Whether another process holds the lock on `path` (a non-blocking flock of our own fails).
bool LockedElsewhere(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return locked;
}

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

  // Under an English locale the English document is opened, and a failure is told in English.
  void OpensTheDocumentOfTheWindowsLanguage() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const MessageCatalogue english(EnglishMessages());
    UiHarness harness(home.path(), &english);
    harness.context.translation = &english;
    harness.context.language = UiLanguage::kEnglish;
    FixedOpener opener(kDocumentNotFound);
    harness.session.host.document_opener = &opener;
    ModalDriver driver;
    driver.Answer(QStringLiteral("The help file was not found."), QMessageBox::Ok);
    QVERIFY(!OpenHelp(harness.context));
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(opener.paths, std::vector<std::string>{harness.context.program_directory + "\\morva-en.html"});
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
    QCOMPARE(FindHelpDocument(*harness.fs, directories, harness.context.program_directory, kHelpFileName), fallback);
    const auto write = [&](const QString& relative) {
      QFile file(root.path() + QLatin1Char('/') + relative);
      return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
    };
    QVERIFY(write(QStringLiteral("share/morva/morva.html")));
    QCOMPARE(FindHelpDocument(*harness.fs, directories, harness.context.program_directory, kHelpFileName),
             engine(QStringLiteral("share/morva/morva.html")));
    QVERIFY(write(QStringLiteral("bin/morva.html")));
    QCOMPARE(FindHelpDocument(*harness.fs, directories, harness.context.program_directory, kHelpFileName),
             engine(QStringLiteral("bin/morva.html")));
  }

  // "ログ表示" reads the log on the worker: while another process's run holds the log, the window
  // answers at once, and the viewer gets the log once it is let go.
  void LogViewWaitsOffTheWindow() {
    QTemporaryDir home, runtime;
    QVERIFY(home.isValid() && runtime.isValid());
    QVERIFY(::chmod(QFile::encodeName(runtime.path()).constData(), 0700) == 0);
    const QByteArray runtime_before = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    {
      QFile log(QDir(home.path()).filePath(QStringLiteral("mvlogs.txt")));
      QVERIFY(log.open(QIODevice::WriteOnly) && log.write("x\n") == 2);
    }
    const QString journal = QDir(home.path()).filePath(QStringLiteral("mvlogs.jnl"));
    QProcess holder;
    holder.start(QStringLiteral("flock"), {journal, QStringLiteral("sleep"), QStringLiteral("3")});
    QVERIFY(holder.waitForStarted());
    QTRY_VERIFY(LockedElsewhere(journal));

    UiHarness harness(home.path());
    FixedOpener opener(kDocumentOpened + 1);
    harness.session.host.document_opener = &opener;
    MainWindow window(harness.context);
    harness.ui.set_main_window(&window);
    window.show();
    QElapsedTimer clock;
    clock.start();
    emit window.findChild<QPushButton*>(QStringLiteral("logButton"))->clicked();
    QVERIFY2(clock.elapsed() < 1000, "the window waited for the log");
    QVERIFY(window.busy());
    QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), 15000);
    QCOMPARE(opener.paths.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(opener.paths.front()).endsWith(QStringLiteral("mvlogs.txt")));
    harness.ui.set_main_window(nullptr);
    holder.waitForFinished();
    if (runtime_before.isNull()) {
      qunsetenv("XDG_RUNTIME_DIR");
    } else {
      qputenv("XDG_RUNTIME_DIR", runtime_before);
    }
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
