// One program per user: a later start hands its paths to the running window, which takes them as its
// targets once nothing holds it; the socket lives where no other user can reach it or create it first.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <cstring>

#include "core/job.h"
#include "ui/gui_test_support.h"
#include "ui/handed_over_targets.h"
#include "ui/list_panel.h"
#include "ui/main_window.h"
#include "ui/path_panel.h"
#include "ui/single_instance.h"

namespace morva {
namespace {

// Sets an environment variable for one scope (unset when `value` is null) and puts it back after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = QByteArray(old);
    if (value != nullptr) {
      setenv(name, value->constData(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_.has_value()) {
      setenv(name_, old_->constData(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<QByteArray> old_;
};

mode_t ModeOf(const QString& path) {
  struct stat st {};
  return lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  // The socket goes to $XDG_RUNTIME_DIR only when that is the user's alone; otherwise to the program's
  // own private directory, made 0700; one that another user made, or that others may enter, is refused.
  void SocketOnlyInAPrivateDirectory_data() {
    QTest::addColumn<QString>("runtime");  // relative to the temporary root; "-" for unset
    QTest::addColumn<QString>("expected");  // the socket's directory, relative; "-" for none
    QTest::newRow("private runtime directory") << "run" << "run";
    QTest::newRow("runtime directory open to others") << "open-run" << "cache/morva";
    QTest::newRow("runtime directory of another user") << "their-run" << "cache/morva";
    QTest::newRow("runtime directory is a link") << "link-run" << "cache/morva";
    QTest::newRow("no runtime directory") << "-" << "cache/morva";
    QTest::newRow("no runtime directory, cache made open by another") << "-" << "-";
  }
  void SocketOnlyInAPrivateDirectory() {
    QFETCH(QString, runtime);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString base = root.path();
    QVERIFY(QDir(base).mkpath(QStringLiteral("run")) && QDir(base).mkpath(QStringLiteral("open-run")) &&
            QDir(base).mkpath(QStringLiteral("their-run")) && QDir(base).mkpath(QStringLiteral("cache")));
    QVERIFY(chmod(QFile::encodeName(base + QStringLiteral("/run")).constData(), 0700) == 0);
    QVERIFY(chmod(QFile::encodeName(base + QStringLiteral("/open-run")).constData(), 0755) == 0);
    QVERIFY(chmod(QFile::encodeName(base + QStringLiteral("/their-run")).constData(), 0700) == 0);
    if (geteuid() == 0) {
      QVERIFY(chown(QFile::encodeName(base + QStringLiteral("/their-run")).constData(), 12345, 12345) == 0);
    } else if (QString::fromLatin1(QTest::currentDataTag()) == QLatin1String("runtime directory of another user")) {
      QSKIP("only root can give a directory to another user");
    }
    QVERIFY(QFile::link(base + QStringLiteral("/run"), base + QStringLiteral("/link-run")));
    if (QString::fromLatin1(QTest::currentDataTag()).contains(QLatin1String("made open by another"))) {
      QVERIFY(QDir(base).mkpath(QStringLiteral("cache/morva")));
      QVERIFY(chmod(QFile::encodeName(base + QStringLiteral("/cache/morva")).constData(), 0777) == 0);
    }

    const QByteArray runtime_value = QFile::encodeName(base + QLatin1Char('/') + runtime);
    const QByteArray cache_value = QFile::encodeName(base + QStringLiteral("/cache"));
    const ScopedEnv runtime_env("XDG_RUNTIME_DIR", runtime == QLatin1String("-") ? nullptr : &runtime_value);
    const ScopedEnv cache_env("XDG_CACHE_HOME", &cache_value);
    QString error;
    const QString path = SingleInstance::DefaultSocketPath(&error);
    if (expected == QLatin1String("-")) {
      QCOMPARE(path, QString());
      QVERIFY(!error.isEmpty());
      return;
    }
    QCOMPARE(path, base + QLatin1Char('/') + expected + QStringLiteral("/morva_mutex"));
    QCOMPARE(ModeOf(QFileInfo(path).path()), mode_t{0700});
  }

  // Several paths replace the list, one becomes the target path; a relative one is read against the
  // later start's directory, not the running program's.
  void LaterStartsPathsBecomeTheTargets() {
    QTemporaryDir home, tree, sockets;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) Touch(tree.filePath(QString::fromLatin1(name)));
    WriteSettings(home.path(), QuietJob());
    UiHarness harness(home.path());
    MainWindow window(harness.context, {tree.filePath(QStringLiteral("c.txt")), tree.filePath(QStringLiteral("b.txt"))});
    harness.ui.set_main_window(&window);
    HandedOverTargets handed_over(window);
    const QString socket = sockets.filePath(QStringLiteral("morva_mutex"));
    SingleInstance first(socket);
    QCOMPARE(first.ClaimOrHandOver(), SingleInstance::Claim::kFirst);
    QObject::connect(&first, &SingleInstance::PathsHandedOver, &handed_over, &HandedOverTargets::Take);
    QSignalSpy raised(&first, &SingleInstance::ActivationRequested);
    auto* mode_combo = window.findChild<QComboBox*>(QStringLiteral("targetModeCombo"));

    SingleInstance second(socket);
    const QStringList two = {tree.filePath(QStringLiteral("b.txt")), tree.filePath(QStringLiteral("a.txt"))};
    QCOMPARE(second.ClaimOrHandOver(two), SingleInstance::Claim::kHandedOver);
    QVERIFY(raised.wait(5000));
    QCOMPARE(window.list_panel()->Texts(), (QStringList{two[1], two[0]}));
    QCOMPARE(mode_combo->currentIndex(), 1);

    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tree.path()));
    SingleInstance third(socket);
    const SingleInstance::Claim claim = third.ClaimOrHandOver({QStringLiteral("c.txt")});
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(claim, SingleInstance::Claim::kHandedOver);
    QVERIFY(raised.wait(5000));
    QCOMPARE(window.path_panel()->PathText(), tree.filePath(QStringLiteral("c.txt")));
    QCOMPARE(mode_combo->currentIndex(), 0);
    harness.ui.set_main_window(nullptr);
  }

  // While a dialog holds the window the paths wait, in order, and are taken when it closes.
  void PathsWaitWhileADialogIsOpen() {
    QTemporaryDir home, tree, sockets;
    Touch(tree.filePath(QStringLiteral("a.txt")));
    Touch(tree.filePath(QStringLiteral("b.txt")));
    WriteSettings(home.path(), QuietJob());
    UiHarness harness(home.path());
    MainWindow window(harness.context);
    harness.ui.set_main_window(&window);
    window.show();
    HandedOverTargets handed_over(window);
    const QString socket = sockets.filePath(QStringLiteral("morva_mutex"));
    SingleInstance first(socket);
    QCOMPARE(first.ClaimOrHandOver(), SingleInstance::Claim::kFirst);
    QObject::connect(&first, &SingleInstance::PathsHandedOver, &handed_over, &HandedOverTargets::Take);
    QSignalSpy handed(&first, &SingleInstance::PathsHandedOver);

    QDialog dialog(&window);
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QString a = tree.filePath(QStringLiteral("a.txt"));
    const QString b = tree.filePath(QStringLiteral("b.txt"));
    SingleInstance second(socket);
    QCOMPARE(second.ClaimOrHandOver({a}), SingleInstance::Claim::kHandedOver);
    QVERIFY(handed.wait(5000));
    SingleInstance third(socket);
    QCOMPARE(third.ClaimOrHandOver({b}), SingleInstance::Claim::kHandedOver);
    QVERIFY(handed.wait(5000));
    QTest::qWait(600);  // longer than the window is checked again
    QVERIFY(window.path_panel()->PathText() != a && window.path_panel()->PathText() != b);

    dialog.accept();
    // Both, in the order they came: the last one stays.
    QTRY_COMPARE(window.path_panel()->PathText(), b);
    harness.ui.set_main_window(nullptr);
  }

  // A killed first instance leaves a socket file nobody listens on: the next start takes over.
  void StaleSocketDoesNotStopAStart() {
    QTemporaryDir sockets;
    const QString socket = sockets.filePath(QStringLiteral("morva_mutex"));
    const QByteArray path = QFile::encodeName(socket);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    QVERIFY(QFile::exists(socket));

    SingleInstance started(socket);
    QCOMPARE(started.ClaimOrHandOver(), SingleInstance::Claim::kFirst);
    SingleInstance later(socket);
    QCOMPARE(later.ClaimOrHandOver(), SingleInstance::Claim::kHandedOver);
  }
};

}  // namespace morva

QTEST_MAIN(morva::SingleInstanceTest)
#include "single_instance_test.moc"
