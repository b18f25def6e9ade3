#include "ui/single_instance.h"

#include <cstdlib>
#include <string>

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include "platform/private_file.h"
#include "platform/status.h"

namespace morva {
namespace {

constexpr char kSocketName[] = "morva_mutex";
// The request a later start sends: this tag, then its paths. The tag keeps a request of another
// program or of another version from being read as paths.
constexpr quint32 kHandOverTag = 0x4d525631;  // "MRV1"
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
// A live first instance answers a connection at once from its event loop; a stale socket file refuses
// at once. The limit only bounds a first instance that is busy in a long run without pumping events.
constexpr int kConnectMilliseconds = 1000;
// How long a start waits for another start's claim to finish: that takes milliseconds; a holder that
// died leaves a lock that QLockFile recognises by its process id and takes over.
constexpr int kClaimLockMilliseconds = 5000;

QString FromHost(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// A path as the running instance must read it: a relative host path made absolute here. Engine forms
// ("Z:\x", "\\server\share") and quoted paths are absolute already or read as written.
QString AbsoluteArgument(const QString& argument) {
  const bool drive_form = argument.size() >= 2 && argument[1] == QLatin1Char(':') && argument[0].isLetter();
  if (argument.isEmpty() || drive_form || argument.startsWith(QLatin1Char('\\')) ||
      argument.startsWith(QLatin1Char('"')) || QDir::isAbsolutePath(argument)) {
    return argument;
  }
  return QDir::current().absoluteFilePath(argument);
}

}  // namespace

QString SingleInstance::DefaultSocketPath(QString* error) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  QString runtime_refused;
  if (runtime != nullptr && runtime[0] == '/') {
    const Status s = CheckPrivateDirectory(runtime);
    if (s.ok()) return FromHost(runtime) + QLatin1Char('/') + QLatin1String(kSocketName);
    runtime_refused = QString::fromStdString(s.ToString()) + QStringLiteral("; ");
  }
  // Without a runtime directory (a session that did not set one): the program's own private directory.
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  const std::string directory = ChoosePrivateDirectory("", cache != nullptr ? cache : "", home != nullptr ? home : "");
  if (directory.empty()) {
    *error = runtime_refused + QStringLiteral("neither XDG_RUNTIME_DIR nor HOME names a directory");
    return {};
  }
  if (const Status s = MakePrivateDirectory(directory); !s.ok()) {
    *error = runtime_refused + QString::fromStdString(s.ToString());
    return {};
  }
  return FromHost(directory) + QLatin1Char('/') + QLatin1String(kSocketName);
}

SingleInstance::SingleInstance(QString socket_path, QObject* parent)
    : QObject(parent), socket_path_(std::move(socket_path)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::ClaimOrHandOver(const QStringList& paths) {
  // Without a private place for the socket the program runs on its own: a later start runs too.
  if (socket_path_.isEmpty()) return Claim::kFirst;
  // Two starts at once would both find nobody listening, and the later one would remove the earlier
  // one's fresh socket and listen too: two programs on one settings file and log. The lock makes the
  // look and the listen one step. Without it (an unwritable directory) the claim goes on unguarded.
  QLockFile claim_lock(socket_path_ + QStringLiteral(".lock"));
  claim_lock.tryLock(kClaimLockMilliseconds);
  QLocalSocket probe;
  probe.connectToServer(socket_path_, QIODevice::WriteOnly);
  if (probe.waitForConnected(kConnectMilliseconds)) {
    QStringList absolute;
    for (const QString& path : paths) absolute << AbsoluteArgument(path);
    QDataStream out(&probe);
    out.setVersion(kStreamVersion);
    out << kHandOverTag << absolute;
    while (probe.bytesToWrite() > 0 && probe.waitForBytesWritten(kConnectMilliseconds)) {
    }
    probe.disconnectFromServer();
    if (probe.state() != QLocalSocket::UnconnectedState) probe.waitForDisconnected(kConnectMilliseconds);
    return Claim::kHandedOver;
  }
  // Nobody answered: whatever socket file is there was left by an instance that is gone.
  QLocalServer::removeServer(socket_path_);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
  // A failure to listen (a path too long for a socket) costs only the hand-over; the program still runs.
  server_->listen(socket_path_);
  return Claim::kFirst;
}

void SingleInstance::AcceptConnections() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // The request may already be buffered when the connection is taken, or arrive in parts later.
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { TakeRequest(socket); });
    if (socket->bytesAvailable() > 0) TakeRequest(socket);
  }
}

void SingleInstance::TakeRequest(QLocalSocket* socket) {
  QDataStream in(socket);
  in.setVersion(kStreamVersion);
  in.startTransaction();
  quint32 tag = 0;
  QStringList paths;
  in >> tag >> paths;
  if (!in.commitTransaction()) return;  // the rest is still on its way
  // One request a connection: whatever follows is not read.
  disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
  if (tag != kHandOverTag) return;
  if (!paths.isEmpty()) emit PathsHandedOver(paths);
  emit ActivationRequested();
}

}  // namespace morva
