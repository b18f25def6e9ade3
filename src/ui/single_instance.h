#ifndef MORVA_UI_SINGLE_INSTANCE_H_
#define MORVA_UI_SINGLE_INSTANCE_H_

#include <QObject>
#include <QString>

class QLocalServer;

namespace morva {

// One running program per user: the first start listens on a local socket, a later start finds it,
// asks it to bring its window forward and ends. The socket file of a program that was killed stays
// behind; since nobody answers on it, the next start removes it and takes over.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket name for this user: "morva_mutex" and the user id, so that two users never meet.
  static QString DefaultName();

  explicit SingleInstance(QString name, QObject* parent = nullptr);
  ~SingleInstance() override;

  // What Claim found.
  enum class Claim {
    kFirst,       // no other instance: this one now answers later starts
    kHandedOver,  // another instance runs and was asked to come forward: end without a window
  };
  Claim ClaimOrHandOver();

 signals:
  // A later start asked this instance to restore and raise its window.
  void ActivationRequested();

 private:
  void AcceptConnections();

  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace morva

#endif  // MORVA_UI_SINGLE_INSTANCE_H_
