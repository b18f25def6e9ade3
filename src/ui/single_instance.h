#ifndef MORVA_UI_SINGLE_INSTANCE_H_
#define MORVA_UI_SINGLE_INSTANCE_H_

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace morva {

// One running program per user: the first start listens on a local socket, a later start finds it,
// hands it the paths it was given (and asks it to come forward) and ends. The socket file of a program
// that was killed stays behind; since nobody answers on it, the next start removes it and takes over.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket's path for this user: "morva_mutex" in $XDG_RUNTIME_DIR when that is a directory of the
  // user's alone (CheckPrivateDirectory), else in the private directory the program makes for itself
  // ("morva" in the user's cache directory, MakePrivateDirectory). Never a predictable name in a
  // directory others can write, where another user could create the socket or its lock first. Empty,
  // with the reason in *error, when no such directory can be had.
  static QString DefaultSocketPath(QString* error);

  // `socket_path`: where the socket lives (its lock beside it, with ".lock" added); empty to run alone.
  explicit SingleInstance(QString socket_path, QObject* parent = nullptr);
  ~SingleInstance() override;

  // What Claim found.
  enum class Claim {
    kFirst,       // no other instance: this one now answers later starts
    kHandedOver,  // another instance runs and took `paths`: end without a window
  };
  // `paths`: this start's command-line paths, handed to a running instance. Relative host paths are
  // made absolute first against this process's working directory, which the running one does not share.
  Claim ClaimOrHandOver(const QStringList& paths = {});

 signals:
  // A later start asked this instance to restore and raise its window.
  void ActivationRequested();
  // A later start was given `paths` (as it was given them, relative ones made absolute); emitted before
  // ActivationRequested, and only when there were some.
  void PathsHandedOver(const QStringList& paths);

 private:
  void AcceptConnections();
  void TakeRequest(QLocalSocket* socket);

  QString socket_path_;
  QLocalServer* server_ = nullptr;
};

}  // namespace morva

#endif  // MORVA_UI_SINGLE_INSTANCE_H_
