#include "ui/engine_worker.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace morva {

EngineWorker::EngineWorker(QObject* parent) : QObject(parent) {}

EngineWorker::~EngineWorker() {
  if (thread_.joinable()) thread_.join();
}

bool EngineWorker::Start(std::function<void()> call, std::function<void()> then) {
  if (thread_.joinable()) return false;
  then_ = std::move(then);
  thread_ = std::thread([this, call = std::move(call)] {
    call();
    // Queued to an object of the GUI thread: the result is handed over there, after everything the call
    // posted before it (its last progress, its dialogs closed).
    QMetaObject::invokeMethod(this, [this] { Collect(); }, Qt::QueuedConnection);
  });
  return true;
}

void EngineWorker::Collect() {
  if (!thread_.joinable()) return;
  thread_.join();
  std::function<void()> then = std::exchange(then_, nullptr);
  if (waiting_) return;
  if (then) then();
}

void EngineWorker::Wait() {
  waiting_ = true;
  while (thread_.joinable()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
  }
  waiting_ = false;
}

}  // namespace morva
