#include "ui/handed_over_targets.h"

#include <QApplication>

#include "ui/main_window.h"

namespace morva {
namespace {

// A dialog is closed or a run ends by the person's hand: checking a few times a second is prompt
// enough and costs nothing while nothing waits.
constexpr int kRetryMilliseconds = 250;

}  // namespace

HandedOverTargets::HandedOverTargets(MainWindow& window) : QObject(&window), window_(window) {
  retry_.setInterval(kRetryMilliseconds);
  connect(&retry_, &QTimer::timeout, this, &HandedOverTargets::Deliver);
  connect(&window_, &MainWindow::CommandFinished, this, &HandedOverTargets::Deliver, Qt::QueuedConnection);
}

bool HandedOverTargets::WindowIsFree(const MainWindow& window) {
  // A modal dialog of the window (settings, preview, a question) reads or changes what the targets
  // are; the busy window has handed them to the engine.
  return !window.busy() && QApplication::activeModalWidget() == nullptr;
}

void HandedOverTargets::Take(const QStringList& paths) {
  pending_.push_back(paths);
  Deliver();
}

void HandedOverTargets::Deliver() {
  while (!pending_.empty() && WindowIsFree(window_)) {
    const QStringList paths = std::move(pending_.front());
    pending_.pop_front();
    window_.TakeTargets(paths);
  }
  if (pending_.empty()) {
    retry_.stop();
  } else if (!retry_.isActive()) {
    retry_.start();
  }
}

}  // namespace morva
