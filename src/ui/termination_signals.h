#ifndef MORVA_UI_TERMINATION_SIGNALS_H_
#define MORVA_UI_TERMINATION_SIGNALS_H_

#include <QObject>

class QSocketNotifier;

namespace morva {

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the terminal that started the program, a closed
// terminal) as a Qt signal from the event loop, so that the program ends the way its close box ends
// it: the settings are saved and a run in progress stops between two targets. Without this the
// default action kills the process with the settings of the session unsaved.
class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers. One object at a time per process: the handlers write to its pipe.
  explicit TerminationSignals(QObject* parent = nullptr);
  // Gives the three signals back their default action.
  ~TerminationSignals() override;

  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // False when the pipe could not be made; the signals then keep their default action.
  bool installed() const { return notifier_ != nullptr; }

 signals:
  // One of the signals arrived; emitted from the event loop, once per burst of signals.
  void Requested();

 private:
  void Drain();

  int read_fd_ = -1;
  int write_fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace morva

#endif  // MORVA_UI_TERMINATION_SIGNALS_H_
