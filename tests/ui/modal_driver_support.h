#ifndef MORVA_TESTS_UI_MODAL_DRIVER_SUPPORT_H_
#define MORVA_TESTS_UI_MODAL_DRIVER_SUPPORT_H_

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QAbstractButton;

namespace morva {

// Plays the person's part while the code under test runs its own event loops (modal dialogs, message
// boxes, the run's event processing): each step waits for its window to appear and then acts on it, in
// order. A message box that no step expects is answered with its escape button and noted, so a test
// fails instead of hanging.
class ModalDriver : public QObject {
 public:
  // Finds the step's window among those open now; null while it has not appeared.
  using Finder = std::function<QWidget*()>;
  using Action = std::function<void(QWidget*)>;

  ModalDriver();

  // The next step: when `find` gives a window, `act` is called with it once.
  ModalDriver& Then(Finder find, Action act);
  // The next step: the message box whose text contains `text`, answered with `button`.
  ModalDriver& Answer(const QString& text, QMessageBox::StandardButton button);
  // The next step: the active modal dialog of type T, handed to `act`.
  template <typename T>
  ModalDriver& OnModal(std::function<void(T&)> act) {
    return Then([]() -> QWidget* { return qobject_cast<T*>(QApplication::activeModalWidget()); },
                [act](QWidget* w) { act(*static_cast<T*>(w)); });
  }

  // Every message box no step expects is answered with `button` (OK where it has none) and counted as
  // answered, not as unexpected: for tests that only care what was said.
  ModalDriver& AnswerEveryBox(QMessageBox::StandardButton button) {
    every_box_ = button;
    return *this;
  }

  bool done() const { return steps_.empty(); }
  // The texts of the message boxes no step expected.
  const QStringList& unexpected() const { return unexpected_; }
  // The texts of every message box a step answered, in order.
  const QStringList& answered() const { return answered_; }

 private:
  void Tick();

  struct Step {
    Finder find;
    Action act;
  };
  std::deque<Step> steps_;
  QTimer timer_;
  QStringList unexpected_;
  QStringList answered_;
  bool acting_ = false;
  QMessageBox::StandardButton every_box_ = QMessageBox::NoButton;
};

// Clicks `button` from the event loop rather than now: a click that opens a modal window would otherwise
// keep the step that made it from returning.
void ClickLater(QAbstractButton* button);

}  // namespace morva

#endif  // MORVA_TESTS_UI_MODAL_DRIVER_SUPPORT_H_
