#ifndef MORVA_TESTS_UI_MESSAGE_BOX_ANSWERER_H_
#define MORVA_TESTS_UI_MESSAGE_BOX_ANSWERER_H_

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace morva {

// Answers every message box that opens while it lives: Yes to a question (or No when told so), OK to
// anything else, and keeps the texts in the order they came. It looks for the box from the event loop
// that the box itself runs, so it never waits a fixed time.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Yes) : answer_(answer) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
    timer_.start();
  }

  const QStringList& texts() const { return texts_; }

 private:
  void AnswerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    texts_ << box->text();
    QAbstractButton* button = box->button(answer_);
    if (button == nullptr) button = box->button(QMessageBox::Ok);
    if (button != nullptr) button->click();
  }

  QMessageBox::StandardButton answer_;
  QTimer timer_;
  QStringList texts_;
};

}  // namespace morva

#endif  // MORVA_TESTS_UI_MESSAGE_BOX_ANSWERER_H_
