#ifndef MORVA_TESTS_UI_MESSAGE_BOX_ANSWERER_H_
#define MORVA_TESTS_UI_MESSAGE_BOX_ANSWERER_H_

#include <QMessageBox>
#include <QStringList>

#include "ui/modal_driver_support.h"

namespace morva {

// Answers every message box that opens while it lives: Yes to a question (or the answer given), OK to
// anything else, and keeps the texts in the order they came.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Yes) { driver_.AnswerEveryBox(answer); }

  const QStringList& texts() const { return driver_.answered(); }

 private:
  ModalDriver driver_;
};

}  // namespace morva

#endif  // MORVA_TESTS_UI_MESSAGE_BOX_ANSWERER_H_
