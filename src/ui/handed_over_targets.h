#ifndef MORVA_UI_HANDED_OVER_TARGETS_H_
#define MORVA_UI_HANDED_OVER_TARGETS_H_

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>

namespace morva {

class MainWindow;

// The paths later starts handed over (a file manager's "Open with"), given to the main window as its
// targets (MainWindow::TakeTargets) as soon as nothing holds it: no run or other engine command at work,
// no dialog or message box open. Until then they wait, in the order they came, and the window is
// checked again at short intervals.
class HandedOverTargets : public QObject {
  Q_OBJECT

 public:
  explicit HandedOverTargets(MainWindow& window);

  // Queues `paths` and gives them to the window now when it is free.
  void Take(const QStringList& paths);

  // Whether the window may take targets now.
  static bool WindowIsFree(const MainWindow& window);

 private:
  void Deliver();

  MainWindow& window_;
  std::deque<QStringList> pending_;
  QTimer retry_;
};

}  // namespace morva

#endif  // MORVA_UI_HANDED_OVER_TARGETS_H_
