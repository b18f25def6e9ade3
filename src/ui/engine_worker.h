#ifndef MORVA_UI_ENGINE_WORKER_H_
#define MORVA_UI_ENGINE_WORKER_H_

#include <QObject>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

namespace morva {

// Runs one engine call at a time on a thread of its own, so that a long step (a wipe, a scan of a big
// log) never holds up the window. The engine reaches the person through QtUserInterface, which carries
// its calls over to the GUI thread. Lives on the GUI thread; every method is called there.
class EngineWorker : public QObject {
  Q_OBJECT

 public:
  explicit EngineWorker(QObject* parent = nullptr);
  // Joins a call still running: call Wait first when one may be waiting for the GUI thread.
  ~EngineWorker() override;

  EngineWorker(const EngineWorker&) = delete;
  EngineWorker& operator=(const EngineWorker&) = delete;

  // Starts `call` on the worker thread and returns; once it has ended, `then` runs on the GUI thread with
  // its result (through the event loop, never from inside Run). False, with nothing started, while
  // another call is running.
  template <typename Result>
  bool Run(std::function<Result()> call, std::function<void(Result)> then) {
    auto result = std::make_shared<Result>();
    return Start([call = std::move(call), result] { *result = call(); },
                 [then = std::move(then), result] { then(std::move(*result)); });
  }

  // True from Run until the call's `then` has begun.
  bool busy() const { return thread_.joinable(); }

  // Waits for the call in progress to end, serving meanwhile the GUI thread's events except the person's
  // input (the call may be waiting there for a dialog of its own). Its `then` is dropped: for a window
  // that goes away.
  void Wait();

 private:
  bool Start(std::function<void()> call, std::function<void()> then);
  // On the GUI thread, queued by the worker thread as its last act.
  void Collect();

  std::thread thread_;
  std::function<void()> then_;
  bool waiting_ = false;
};

}  // namespace morva

#endif  // MORVA_UI_ENGINE_WORKER_H_
