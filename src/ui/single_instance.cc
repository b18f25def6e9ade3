#include "ui/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace morva {
namespace {

constexpr char kRaiseRequest[] = "raise\n";
// A live first instance answers a connection at once from its event loop; a stale socket file refuses
// at once. The limit only bounds a first instance that is busy in a long run without pumping events.
constexpr int kConnectMilliseconds = 1000;
// How long a start waits for another start's claim to finish: that takes milliseconds; a holder that
// died leaves a lock that QLockFile recognises by its process id and takes over.
constexpr int kClaimLockMilliseconds = 5000;

}  // namespace

QString SingleInstance::DefaultName() {
  return QStringLiteral("morva_mutex-%1").arg(static_cast<qulonglong>(::getuid()));
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::ClaimOrHandOver() {
  // Two starts at once would both find nobody listening, and the later one would remove the earlier
  // one's fresh socket and listen too: two programs on one settings file and log. The lock makes the
  // look and the listen one step; it sits beside the socket, which QLocalServer puts in the temporary
  // directory. Without it (an unwritable directory) the claim goes on unguarded, as before.
  QLockFile claim_lock(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")));
  claim_lock.tryLock(kClaimLockMilliseconds);
  QLocalSocket probe;
  probe.connectToServer(name_, QIODevice::WriteOnly);
  if (probe.waitForConnected(kConnectMilliseconds)) {
    probe.write(kRaiseRequest);
    probe.waitForBytesWritten(kConnectMilliseconds);
    probe.disconnectFromServer();
    return Claim::kHandedOver;
  }
  // Nobody answered: whatever socket file is there was left by an instance that is gone.
  QLocalServer::removeServer(name_);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
  // A failure to listen (no writable runtime directory) costs only the hand-over; the program still runs.
  server_->listen(name_);
  return Claim::kFirst;
}

void SingleInstance::AcceptConnections() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // The request may already be buffered when the connection is taken, or arrive later.
    auto take_request = [this, socket] {
      if (socket->readAll().contains('\n')) emit ActivationRequested();
    };
    connect(socket, &QLocalSocket::readyRead, this, take_request);
    if (socket->bytesAvailable() > 0) take_request();
  }
}

}  // namespace morva
