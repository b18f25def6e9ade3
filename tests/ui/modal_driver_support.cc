#include "ui/modal_driver_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTest>

namespace morva {

ModalDriver::ModalDriver() {
  // Every pass of whichever event loop runs: the run's own processing included.
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &ModalDriver::Tick);
  timer_.start();
}

ModalDriver& ModalDriver::Then(Finder find, Action act) {
  steps_.push_back(Step{std::move(find), std::move(act)});
  return *this;
}

ModalDriver& ModalDriver::Answer(const QString& text, QMessageBox::StandardButton button) {
  return Then(
      [text]() -> QWidget* {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box != nullptr && box->text().contains(text) ? box : nullptr;
      },
      [this, button](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        box->setProperty("morva_seen", true);  // it stays up until the click arrives
        answered_.push_back(box->text());
        ClickLater(box->button(button));
      });
}

void ModalDriver::Tick() {
  if (acting_) return;
  if (QTest::currentTestFailed()) {
    // A failed check left its window open: close whatever is modal, so the test ends and reports.
    steps_.clear();
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      QMetaObject::invokeMethod(dialog, [dialog] { dialog->done(QDialog::Rejected); }, Qt::QueuedConnection);
    }
    return;
  }
  if (!steps_.empty()) {
    if (QWidget* window = steps_.front().find()) {
      const Action act = std::move(steps_.front().act);
      steps_.pop_front();
      acting_ = true;
      act(window);
      acting_ = false;
      return;
    }
  }
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box != nullptr && box->property("morva_seen").isNull()) {
    box->setProperty("morva_seen", true);
    if (every_box_ != QMessageBox::NoButton) {
      answered_.push_back(box->text());
      QAbstractButton* button = box->button(every_box_);
      ClickLater(button != nullptr ? button : box->button(QMessageBox::Ok));
      return;
    }
    unexpected_.push_back(box->text());
    QAbstractButton* escape = box->escapeButton();
    ClickLater(escape != nullptr ? escape : box->buttons().value(0));
  }
}

void ClickLater(QAbstractButton* button) {
  if (button != nullptr) QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

}  // namespace morva
